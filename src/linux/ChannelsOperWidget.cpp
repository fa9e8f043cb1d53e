#include "ChannelsOperWidget.h"

#include <QEvent>
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
    deleteChannelsBt->setObjectName(QStringLiteral("deleteChannelsFromCellBt"));
    deleteChannelsBt->setProperty("lumo_deleteChannelsFromCell", true);
    retranslate();

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

void ChannelsOperWidget::retranslate()
{
    setChannelsBt->setToolTip(tr("Set channels to cell"));
    deleteChannelsBt->setToolTip(tr("Delete channels from cell"));
}

void ChannelsOperWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
