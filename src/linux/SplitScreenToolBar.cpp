#include "SplitScreenToolBar.h"
#include "ui_SplitScreenToolBar.h"

#include <QEvent>

namespace LUMO_DIGITALMATRIX_MODULE {

SplitScreenToolBar::SplitScreenToolBar(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::SplitScreenToolBar)
{
    ui->setupUi(this);
    resize(100, 20);
    // The split buttons always stay as they are: nobody can reach the toggle.
    ui->_hideLeftPanelBtn->hide();
    connect(ui->_hideLeftPanelBtn, &QPushButton::clicked, this,
            &SplitScreenToolBar::slotHidePanelBtClicked);
    connect(ui->oneSpliterBt, &QPushButton::clicked, this,
            &SplitScreenToolBar::slotOneSpliterBtClicked);
    connect(ui->fourSpliterBt, &QPushButton::clicked, this,
            &SplitScreenToolBar::slotFourSpliterBtClicked);
    connect(ui->nineSpliterBt, &QPushButton::clicked, this,
            &SplitScreenToolBar::slotNineSpliterBtClicked);
    connect(ui->sixteenSpliterBt, &QPushButton::clicked, this,
            &SplitScreenToolBar::slotSixteenSpliterBtClicked);
}

SplitScreenToolBar::~SplitScreenToolBar() = default;

QPushButton *SplitScreenToolBar::splitButton(int num) const
{
    switch (num) {
    case 1:
        return ui->oneSpliterBt;
    case 4:
        return ui->fourSpliterBt;
    case 9:
        return ui->nineSpliterBt;
    case 16:
        return ui->sixteenSpliterBt;
    default:
        return nullptr;
    }
}

void SplitScreenToolBar::setSplitButtonVisible(int num, bool visible)
{
    if (QPushButton *button = splitButton(num))
        button->setVisible(visible);
}

void SplitScreenToolBar::slotHidePanelBtClicked(bool show)
{
    for (int num : {1, 4, 9, 16})
        splitButton(num)->setVisible(show);
}

void SplitScreenToolBar::slotOneSpliterBtClicked()
{
    emit signalSplitScreenNum(1);
}

void SplitScreenToolBar::slotFourSpliterBtClicked()
{
    emit signalSplitScreenNum(4);
}

void SplitScreenToolBar::slotNineSpliterBtClicked()
{
    emit signalSplitScreenNum(9);
}

void SplitScreenToolBar::slotSixteenSpliterBtClicked()
{
    emit signalSplitScreenNum(16);
}

void SplitScreenToolBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
