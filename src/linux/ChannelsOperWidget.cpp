#include "ChannelsOperWidget.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVariant>

namespace LUMO_DIGITALMATRIX_MODULE {

ChannelsOperWidget::ChannelsOperWidget(QWidget *parent)
    : QWidget(parent)
    , setChannelsBt(new QPushButton(this))
    , deleteChannelsBt(new QPushButton(this))
{
    setChannelsBt->setObjectName(QStringLiteral("setChannelsToCellBt"));
    setChannelsBt->setProperty("lumo_addChannelsToCell", true);
    setChannelsBt->setToolTip(tr("Set channels to cell"));
    deleteChannelsBt->setObjectName(QStringLiteral("deleteChannelsFromCellBt"));
    deleteChannelsBt->setProperty("lumo_deleteChannelsFromCell", true);
    deleteChannelsBt->setToolTip(tr("Delete channels from cell"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(6);
    layout->addStretch(1);
    layout->addWidget(setChannelsBt);
    layout->addWidget(deleteChannelsBt);
    layout->addStretch(1);

    connect(setChannelsBt, &QPushButton::clicked, this,
            &ChannelsOperWidget::signalSetChannelsToCellBtClicked);
    connect(deleteChannelsBt, &QPushButton::clicked, this,
            &ChannelsOperWidget::signalDeleteChannelsFromCellBtClicked);
}

ChannelsOperWidget::~ChannelsOperWidget() = default;

} // namespace LUMO_DIGITALMATRIX_MODULE
