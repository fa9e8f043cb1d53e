#include "SetChannelSource.h"
#include "ui_SetChannelSource.h"

#include <QEvent>

#include "DigitalMatrixConfigSignals.h"
#include "MatrixGroupTree.h"
#include "MatrixViewTree.h"

namespace LUMO_DIGITALMATRIX_MODULE {

SetChannelSource::SetChannelSource(QWidget *parent)
    : COMMONUSELIB::MoveableDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , ui(new Ui::SetChannelSource)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(490, 460);
    ui->_titleLabel->setProperty("childWidgetTitleLabel", true);
    ui->_closeBtn->setProperty("closebutton", true);
    ui->_groupBtn->setProperty("faketabbutton", true);
    ui->_viewBtn->setProperty("faketabbutton", true);
    ui->_setBtn->setProperty("blueButton", true);

    connect(ui->_closeBtn, &QPushButton::clicked, this, &QDialog::close);
    connect(this, &SetChannelSource::sigViewSetSource, ui->_viewWdt,
            &MatrixViewTree::slotSetSource);
    connect(this, &SetChannelSource::sigGroupSetSource, ui->_groupWdt,
            &MatrixGroupTree::slotSetSource);
    connect(ui->_viewWdt, &MatrixViewTree::sigSpliteButtonClicked, this,
            &SetChannelSource::sigSpliteButtonClicked);
    // The matrix reports a window's sources again when it is selected or they change.
    connect(DigitalMatrixConfigSignals::instance(), &DigitalMatrixConfigSignals::signalGroupRes,
            ui->_groupWdt, &MatrixGroupTree::slotGroupRes);
    connect(ui->_groupWdt, &MatrixGroupTree::sigSetGroupFinished, this, &QDialog::close);
    connect(ui->_groupWdt, &MatrixGroupTree::sigSetGroupFinished, this,
            &SetChannelSource::sigSetGroupFinished);
    connect(ui->_viewWdt, &MatrixViewTree::sigSetViewFinished, this, &QDialog::close);
    connect(ui->_viewWdt, &MatrixViewTree::sigSetViewFinished, this,
            &SetChannelSource::sigSetViewFinished);

    // The group page comes first; the view page is offered when there is a view to set.
    const bool offerViews = ui->_viewWdt->viewCount() > 0;
    ui->_tabWdt->setVisible(offerViews);
    ui->_viewBtn->setVisible(offerViews);
    ui->_viewWdt->hide();
    ui->_viewBtn->setEnabled(true);
    ui->_groupBtn->setEnabled(false);
    ui->_groupWdt->show();
}

SetChannelSource::~SetChannelSource() = default;

void SetChannelSource::setMonitor(int monitorIndex)
{
    monitor = monitorIndex;
    ui->_groupWdt->setMonitor(monitorIndex);
    ui->_viewWdt->setMonitor(monitorIndex);
}

MatrixGroupTree *SetChannelSource::groupTree() const
{
    return ui->_groupWdt;
}

MatrixViewTree *SetChannelSource::viewTree() const
{
    return ui->_viewWdt;
}

void SetChannelSource::done(int result)
{
    // Sources already sent are reported even when the dialog closes before their report left.
    ui->_groupWdt->finishPending();
    COMMONUSELIB::MoveableDialog::done(result);
}

void SetChannelSource::on__groupBtn_clicked(bool)
{
    ui->_viewBtn->setEnabled(true);
    ui->_groupBtn->setEnabled(false);
    ui->_viewWdt->hide();
    ui->_groupWdt->show();
}

void SetChannelSource::on__viewBtn_clicked(bool)
{
    ui->_viewBtn->setEnabled(false);
    ui->_groupBtn->setEnabled(true);
    ui->_groupWdt->hide();
    ui->_viewWdt->show();
}

void SetChannelSource::on__setBtn_clicked()
{
    if (ui->_viewWdt->isHidden())
        emit sigGroupSetSource();
    else
        emit sigViewSetSource();
}

void SetChannelSource::changeEvent(QEvent *event)
{
    COMMONUSELIB::MoveableDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
