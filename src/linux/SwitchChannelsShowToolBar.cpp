#include "SwitchChannelsShowToolBar.h"
#include "ui_SwitchChannelsShowToolBar.h"

#include <QEvent>
#include <QButtonGroup>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
constexpr int PageButtonSide = 14;
} // namespace

SwitchChannelsShowToolBar::SwitchChannelsShowToolBar(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::SwitchChannelsShowToolBar)
{
    ui->setupUi(this);
    resize(100, 14);
    pageLayout = ui->pageLayout;
    pageGroup = new QButtonGroup(this);
    pageGroup->setExclusive(true);
    ui->_hideLeftPanelBtn->hide();
    connect(ui->_hideLeftPanelBtn, &QPushButton::clicked, this,
            &SwitchChannelsShowToolBar::slotHidePanelBtClicked);
    connect(pageGroup, &QButtonGroup::idClicked, this,
            &SwitchChannelsShowToolBar::slotGroupButtonClicked);
}

SwitchChannelsShowToolBar::~SwitchChannelsShowToolBar() = default;

void SwitchChannelsShowToolBar::setPageCount(int count)
{
    const QList<QAbstractButton *> old = pageGroup->buttons();
    for (QAbstractButton *button : old) {
        pageGroup->removeButton(button);
        pageLayout->removeWidget(button);
        button->hide();
        button->deleteLater();
    }
    if (count <= 1) {
        ui->_hideLeftPanelBtn->hide();
        return;
    }
    count = qMin(count, int(MaxPageButtons));
    ui->_hideLeftPanelBtn->show();
    for (int id = count - 1; id >= 0; --id) {
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("pageBt%1").arg(id));
        button->setCheckable(true);
        button->setFixedSize(PageButtonSide, PageButtonSide);
        button->setFocusPolicy(Qt::NoFocus);
        button->setProperty("lumo_channelSwitchPageBt", true);
        button->setToolTip(QString::number(id + 1));
        pageGroup->addButton(button, id);
        pageLayout->insertWidget(1, button);
    }
}

void SwitchChannelsShowToolBar::setCurrentPage(int page)
{
    if (page < 0)
        return;
    QAbstractButton *button = pageGroup->button(page);
    if (!button)
        return;
    button->setChecked(true);
    curPage = page;
}

int SwitchChannelsShowToolBar::pageButtonCount() const
{
    return pageGroup->buttons().size();
}

QPushButton *SwitchChannelsShowToolBar::pageButton(int page) const
{
    return qobject_cast<QPushButton *>(pageGroup->button(page));
}

QPushButton *SwitchChannelsShowToolBar::toggleButton() const
{
    return ui->_hideLeftPanelBtn;
}

void SwitchChannelsShowToolBar::slotHidePanelBtClicked(bool hide)
{
    const QList<QAbstractButton *> buttons = pageGroup->buttons();
    for (QAbstractButton *button : buttons)
        button->setVisible(!hide);
}

void SwitchChannelsShowToolBar::slotGroupButtonClicked(int id)
{
    if (id == curPage)
        return;
    emit signalCurSwitchPageNumChanged(id);
    curPage = id;
}

void SwitchChannelsShowToolBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
