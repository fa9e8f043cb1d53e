#include "ServerOperWidget.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariant>

namespace COMMONUSELIB {

ServerOperWidget::ServerOperWidget(QWidget *parent)
    : QWidget(parent)
{
    m_connectBt = new QPushButton(this);
    m_connectBt->setObjectName(QStringLiteral("connectServerBt"));
    m_connectBt->setCheckable(true);
    m_connectBt->setProperty("connectStatus", true);
    m_editBt = new QPushButton(tr("Edit"), this);
    m_editBt->setObjectName(QStringLiteral("editServerBt"));
    m_editBt->setToolTip(tr("Edit server"));
    m_editBt->setProperty("lumo_editServerBt", true);
    m_deleteBt = new QPushButton(tr("Delete"), this);
    m_deleteBt->setObjectName(QStringLiteral("deleteServerBt"));
    m_deleteBt->setToolTip(tr("Delete server"));
    m_deleteBt->setProperty("lumo_deleteServerBt", true);
    for (QPushButton *button : {m_connectBt, m_editBt, m_deleteBt})
        button->setMinimumHeight(26);

    m_connectHint = new QLabel(this);
    m_connectHint->setObjectName(QStringLiteral("connectHintLabel"));
    m_connectHint->setProperty("lumo_grayYaHei", true);
    m_otherHint = new QLabel(this);
    m_otherHint->setObjectName(QStringLiteral("otherHintLabel"));
    m_otherHint->setProperty("lumo_grayYaHei", true);
    for (QLabel *label : {m_connectHint, m_otherHint}) {
        label->setTextFormat(Qt::PlainText);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

    auto *hints = new QVBoxLayout;
    hints->setSpacing(2);
    hints->addWidget(m_connectHint);
    hints->addWidget(m_otherHint);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(6);
    layout->addWidget(m_connectBt);
    layout->addWidget(m_editBt);
    layout->addWidget(m_deleteBt);
    layout->addSpacing(8);
    layout->addLayout(hints, 1);

    connect(m_connectBt, &QPushButton::toggled, this, &ServerOperWidget::updateConnectText);
    connect(m_connectBt, &QPushButton::clicked, this,
            &ServerOperWidget::signalConnectServerBtClicked);
    connect(m_editBt, &QPushButton::clicked, this, &ServerOperWidget::signalEditServerBtClicked);
    connect(m_deleteBt, &QPushButton::clicked, this,
            &ServerOperWidget::signalDeleteServerBtClicked);
    updateConnectText();
}

ServerOperWidget::~ServerOperWidget() = default;

void ServerOperWidget::setServerConnectOk(bool ok)
{
    m_connectBt->setChecked(ok); // emits toggled only, never clicked
    updateConnectText();
}

bool ServerOperWidget::isServerConnectOK() const
{
    return m_connectBt->isChecked();
}

void ServerOperWidget::setConnectServerHint(const QString &text)
{
    m_connectHint->setText(text);
    m_connectHint->setToolTip(text);
}

void ServerOperWidget::setOtherHint(const QString &text)
{
    m_otherHint->setText(text);
    m_otherHint->setToolTip(text);
}

QString ServerOperWidget::connectServerHint() const
{
    return m_connectHint->text();
}

QString ServerOperWidget::otherHint() const
{
    return m_otherHint->text();
}

QStringList ServerOperWidget::getServerStatus() const
{
    return {isServerConnectOK() ? QStringLiteral("1") : QStringLiteral("0"), connectServerHint(),
            otherHint()};
}

void ServerOperWidget::setServerStatus(const QStringList &status)
{
    setServerConnectOk(status.value(0) == QLatin1String("1"));
    setConnectServerHint(status.value(1));
    setOtherHint(status.value(2));
}

QString ServerOperWidget::generateServerDescribe(const QString &name, const QString &ip, int port)
{
    return QStringLiteral("%1 (%2:%3)").arg(name, ip, QString::number(port));
}

void ServerOperWidget::setServerDescribe(const QString &text)
{
    setOtherHint(text);
}

void ServerOperWidget::updateConnectText()
{
    const bool connected = m_connectBt->isChecked();
    m_connectBt->setText(connected ? tr("Disconnect") : tr("Connect"));
    m_connectBt->setToolTip(connected ? tr("Disconnect server") : tr("Connect server"));
}

void ServerOperWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    m_editBt->setText(tr("Edit"));
    m_editBt->setToolTip(tr("Edit server"));
    m_deleteBt->setText(tr("Delete"));
    m_deleteBt->setToolTip(tr("Delete server"));
    updateConnectText();
}

} // namespace COMMONUSELIB
