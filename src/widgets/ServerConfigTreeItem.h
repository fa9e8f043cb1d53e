#pragma once

#include "digitalmatrix_export.h"

#include <QString>
#include <QTreeWidgetItem>

namespace LUMO_DIGITALMATRIX_MODULE {

// One area (group) or channel of the group tree, with what a channel record for the matrix needs.
class DIGITALMATRIX_EXPORT ServerConfigTreeItem : public QTreeWidgetItem
{
public:
    enum ItemKind { AreaItem = 0, ChannelItem = 1 };
    enum { Type = QTreeWidgetItem::UserType + 1 };

    ServerConfigTreeItem(QTreeWidget *parent, const QStringList &texts);
    ServerConfigTreeItem(QTreeWidgetItem *parent, const QStringList &texts);
    ~ServerConfigTreeItem() override;

    int itemKind() const;
    void setItemKind(int kind);
    QString deviceText1() const;
    void setDeviceText1(const QString &text);
    QString channelName() const;
    void setChannelName(const QString &name);
    QString channelGuid() const;
    void setChannelGuid(const QString &guid);
    QString account() const;
    void setAccount(const QString &account);
    QString password() const;
    void setPassword(const QString &password);
    QString deviceText5() const;
    void setDeviceText5(const QString &text);
    QString ipAddress() const;
    void setIpAddress(const QString &address);
    int channelNo() const;
    void setChannelNo(int channelNo);
    int deviceNumber() const;
    void setDeviceNumber(int number);

private:
    Q_DISABLE_COPY(ServerConfigTreeItem)

    int m_itemKind = AreaItem;
    QString m_deviceText1;
    QString m_channelName;
    QString m_channelGuid;
    QString m_account;
    QString m_password;
    QString m_deviceText5;
    QString m_ipAddress;
    int m_channelNo = 0;
    int m_deviceNumber = 0;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
