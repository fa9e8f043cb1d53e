#include "ElidingLabel.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace LUMO_DIGITALMATRIX_MODULE {

ElidingLabel::ElidingLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Preferred, sizePolicy().verticalPolicy());
}

QSize ElidingLabel::minimumSizeHint() const
{
    return QSize(0, QLabel::minimumSizeHint().height());
}

QString ElidingLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidingLabel::paintEvent(QPaintEvent *)
{
    const QString shown = shownText();
    setToolTip(shown == text() ? QString() : text());
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    drawFrame(&painter);
    style()->drawItemText(&painter, contentsRect(), int(alignment()), option.palette, isEnabled(),
                          shown, foregroundRole());
}

} // namespace LUMO_DIGITALMATRIX_MODULE
