#include "TableCheckHeaderView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace COMMONUSELIB {

TableCheckHeaderView::TableCheckHeaderView(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
}

TableCheckHeaderView::~TableCheckHeaderView() = default;

void TableCheckHeaderView::setCheckState(Qt::CheckState state)
{
    if (state == m_state)
        return;
    m_state = state;
    viewport()->update();
}

QRect TableCheckHeaderView::boxRectIn(const QRect &section) const
{
    QStyleOptionButton option;
    const QRect box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    QRect placed(QPoint(0, 0), box.size());
    placed.moveCenter(section.center());
    return placed;
}

QRect TableCheckHeaderView::checkBoxRect() const
{
    if (count() == 0 || isSectionHidden(0))
        return QRect();
    const QRect section(sectionViewportPosition(0), 0, sectionSize(0), height());
    return boxRectIn(section);
}

void TableCheckHeaderView::paintSection(QPainter *painter, const QRect &rect,
                                        int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (logicalIndex != 0)
        return;
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = boxRectIn(rect);
    option.state |= m_state == Qt::Checked    ? QStyle::State_On
            : m_state == Qt::PartiallyChecked ? QStyle::State_NoChange
                                              : QStyle::State_Off;
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, painter, this);
}

void TableCheckHeaderView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && logicalIndexAt(event->pos()) == 0) {
        emit checkAllClicked(m_state != Qt::Checked);
        event->accept();
        return;
    }
    QHeaderView::mousePressEvent(event);
}

} // namespace COMMONUSELIB
