#include "ServerSelWidget.h"

#include <QEvent>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVariant>

namespace COMMONUSELIB {

ServerSelWidget::ServerSelWidget(QWidget *parent)
    : QWidget(parent)
{
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(2);

    // Checks are kept in step with m_currentId by hand (see syncChecks), so the group
    // is not exclusive: an exclusive group could not show "nothing selected".
    m_group = new QButtonGroup(this);
    m_group->setExclusive(false);

    m_addButton = new QToolButton(this);
    m_addButton->setObjectName(QStringLiteral("addServerBt"));
    m_addButton->setText(QStringLiteral("+"));
    m_addButton->setToolTip(tr("Add server"));
    m_addButton->setProperty("lumo_addServerBt", true);
    m_addButton->setMinimumSize(28, 28);
    connect(m_addButton, &QToolButton::clicked, this, &ServerSelWidget::signalAddServerBtClicked);

    m_layout->addWidget(m_addButton);
    m_layout->addStretch(1);
}

ServerSelWidget::~ServerSelWidget() = default;

bool ServerSelWidget::addServer(const QString &id, const QString &name)
{
    if (id.isEmpty())
        return false;
    if (getServerIndex(id) >= 0) {
        updateServerName(id, name);
        return false;
    }
    auto *button = new QPushButton(name, this);
    button->setObjectName(QStringLiteral("serverBt"));
    button->setProperty("serverId", id);
    button->setProperty("lumo_serverSelBt", true);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(name);
    button->setMinimumHeight(28);
    m_group->addButton(button);
    connect(button, &QPushButton::clicked, this,
            [this, button] { select(button->property("serverId").toString(), false); });
    m_layout->insertWidget(m_servers.size(), button);
    m_servers.append({id, button});
    return true;
}

bool ServerSelWidget::deleteServer(const QString &id)
{
    const int index = getServerIndex(id);
    if (index < 0)
        return false;
    QPushButton *button = m_servers.takeAt(index).button;
    m_group->removeButton(button);
    m_layout->removeWidget(button);
    button->hide();
    button->deleteLater();
    if (id == m_currentId)
        select(QString(), true);
    return true;
}

bool ServerSelWidget::updateServerName(const QString &id, const QString &name)
{
    const int index = getServerIndex(id);
    if (index < 0)
        return false;
    m_servers[index].button->setText(name);
    m_servers[index].button->setToolTip(name);
    return true;
}

void ServerSelWidget::clearServers()
{
    while (!m_servers.isEmpty())
        deleteServer(m_servers.constLast().id);
}

int ServerSelWidget::getServerIndex(const QString &id) const
{
    if (id.isEmpty())
        return -1;
    for (int i = 0; i < m_servers.size(); ++i) {
        if (m_servers.at(i).id == id)
            return i;
    }
    return -1;
}

QString ServerSelWidget::serverIdAt(int index) const
{
    return index >= 0 && index < m_servers.size() ? m_servers.at(index).id : QString();
}

QString ServerSelWidget::serverName(const QString &id) const
{
    const int index = getServerIndex(id);
    return index >= 0 ? m_servers.at(index).button->text() : QString();
}

void ServerSelWidget::setCurSelServerBtToFirst()
{
    if (!m_servers.isEmpty())
        select(m_servers.constFirst().id, false);
}

void ServerSelWidget::setCurSelServerBtToLast()
{
    if (!m_servers.isEmpty())
        select(m_servers.constLast().id, false);
}

bool ServerSelWidget::setCurrentServer(const QString &id)
{
    if (!id.isEmpty() && getServerIndex(id) < 0)
        return false;
    select(id, false);
    return true;
}

QAbstractButton *ServerSelWidget::addButton() const
{
    return m_addButton;
}

QAbstractButton *ServerSelWidget::serverButton(const QString &id) const
{
    const int index = getServerIndex(id);
    return index >= 0 ? m_servers.at(index).button : nullptr;
}

void ServerSelWidget::select(const QString &id, bool previousDeleted)
{
    const QString previous = m_currentId;
    m_currentId = id;
    syncChecks();
    if (previous != id || previousDeleted)
        emit signalServerSelChanged(previousDeleted ? QString() : previous, id);
}

void ServerSelWidget::syncChecks()
{
    for (const Entry &entry : qAsConst(m_servers))
        entry.button->setChecked(entry.id == m_currentId);
}

void ServerSelWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        m_addButton->setToolTip(tr("Add server"));
}

} // namespace COMMONUSELIB
