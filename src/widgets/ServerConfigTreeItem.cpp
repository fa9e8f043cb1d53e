#include "ServerConfigTreeItem.h"

namespace LUMO_DIGITALMATRIX_MODULE {

ServerConfigTreeItem::ServerConfigTreeItem(QTreeWidget *parent, const QStringList &texts)
    : QTreeWidgetItem(parent, texts, Type)
{ }

ServerConfigTreeItem::ServerConfigTreeItem(QTreeWidgetItem *parent, const QStringList &texts)
    : QTreeWidgetItem(parent, texts, Type)
{ }

ServerConfigTreeItem::~ServerConfigTreeItem() = default;

int ServerConfigTreeItem::itemKind() const
{
    return m_itemKind;
}

void ServerConfigTreeItem::setItemKind(int kind)
{
    m_itemKind = kind;
}

QString ServerConfigTreeItem::deviceText1() const
{
    return m_deviceText1;
}

void ServerConfigTreeItem::setDeviceText1(const QString &text)
{
    m_deviceText1 = text;
}

QString ServerConfigTreeItem::channelName() const
{
    return m_channelName;
}

void ServerConfigTreeItem::setChannelName(const QString &name)
{
    m_channelName = name;
}

QString ServerConfigTreeItem::channelGuid() const
{
    return m_channelGuid;
}

void ServerConfigTreeItem::setChannelGuid(const QString &guid)
{
    m_channelGuid = guid;
}

QString ServerConfigTreeItem::account() const
{
    return m_account;
}

void ServerConfigTreeItem::setAccount(const QString &account)
{
    m_account = account;
}

QString ServerConfigTreeItem::password() const
{
    return m_password;
}

void ServerConfigTreeItem::setPassword(const QString &password)
{
    m_password = password;
}

QString ServerConfigTreeItem::deviceText5() const
{
    return m_deviceText5;
}

void ServerConfigTreeItem::setDeviceText5(const QString &text)
{
    m_deviceText5 = text;
}

QString ServerConfigTreeItem::ipAddress() const
{
    return m_ipAddress;
}

void ServerConfigTreeItem::setIpAddress(const QString &address)
{
    m_ipAddress = address;
}

int ServerConfigTreeItem::channelNo() const
{
    return m_channelNo;
}

void ServerConfigTreeItem::setChannelNo(int channelNo)
{
    m_channelNo = channelNo;
}

int ServerConfigTreeItem::deviceNumber() const
{
    return m_deviceNumber;
}

void ServerConfigTreeItem::setDeviceNumber(int number)
{
    m_deviceNumber = number;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
