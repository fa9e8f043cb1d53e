#include "LumoTableHeader.h"

#include <QCheckBox>
#include <QEvent>
#include <QResizeEvent>

#include <algorithm>

namespace LUMO_DIGITALMATRIX_MODULE {
namespace private_impl {

namespace {
const int kCheckColumnWidth = 65;
const int kCheckBoxWidth = 100;
const int kMiddleColumnWidth = 40;
} // namespace

LumoTableHeader::LumoTableHeader(Qt::Orientation orientation, QWidget *parent, bool withCheckBox)
    : QHeaderView(orientation, parent)
    , m_hasCheckBox(withCheckBox)
{
    if (m_hasCheckBox) {
        m_checkBox = new QCheckBox(tr("All"), this);
        m_checkState = false;
    }
}

LumoTableHeader::~LumoTableHeader() = default;

QCheckBox *LumoTableHeader::checkBox() const
{
    return m_checkBox;
}

bool LumoTableHeader::hasCheckBox() const
{
    return m_hasCheckBox;
}

bool LumoTableHeader::checkState() const
{
    return m_checkState;
}

void LumoTableHeader::setCheckState(bool checked)
{
    m_checkState = checked;
}

void LumoTableHeader::resizeEvent(QResizeEvent *event)
{
    QHeaderView::resizeEvent(event);
    layoutSections();
}

void LumoTableHeader::paintEvent(QPaintEvent *event)
{
    QHeaderView::paintEvent(event);
    // The first section moves when the table scrolls; keep the box over it.
    placeCheckBox();
}

void LumoTableHeader::placeCheckBox()
{
    if (!m_checkBox)
        return;
    m_checkBox->setGeometry(sectionViewportPosition(0), 0, kCheckBoxWidth, height());
}

void LumoTableHeader::layoutSections()
{
    // A header narrower than its fixed parts leaves the proportional sections empty rather than
    // giving them a negative size.
    const int w = width();
    if (!m_hasCheckBox) {
        resizeSection(0, std::max(0, (3 * w - 120) / 5));
        resizeSection(1, kMiddleColumnWidth);
        resizeSection(2, std::max(0, (2 * w - 80) / 5));
        setSectionResizeMode(QHeaderView::Fixed);
        return;
    }

    placeCheckBox();
    setSectionResizeMode(QHeaderView::Fixed);
    const int n = count();
    if (n <= 0)
        return;
    if (n == 1) {
        // Nothing to share the rest with: the one section takes the whole width.
        resizeSection(0, w);
        return;
    }
    resizeSection(0, kCheckColumnWidth);
    const int rest = std::max(0, w - kCheckColumnWidth);
    const int each = rest / (n - 1);
    for (int i = 1; i < n; ++i)
        resizeSection(i, each);
    // The last section takes what the integer division left over, so the sections fill the width.
    resizeSection(n - 1, rest - (n - 2) * each);
}

void LumoTableHeader::changeEvent(QEvent *event)
{
    QHeaderView::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && m_checkBox)
        m_checkBox->setText(tr("All"));
}

} // namespace private_impl

} // namespace LUMO_DIGITALMATRIX_MODULE
