// The host's server operation bar: connect toggle, edit and delete buttons, two hint lines.
#pragma once

#include "lumohost_export.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;

namespace COMMONUSELIB {

class LUMOHOST_EXPORT ServerOperWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ServerOperWidget)

public:
    explicit ServerOperWidget(QWidget *parent = nullptr);
    ~ServerOperWidget() override;

    // Shows the connection state: the toggle is checked while connected and then reads
    // "Disconnect", otherwise "Connect". No click signal is emitted.
    void setServerConnectOk(bool ok);
    bool isServerConnectOK() const;

    // First hint line (the connection) and second hint line (anything else, usually
    // the server's description).
    void setConnectServerHint(const QString &text);
    void setOtherHint(const QString &text);
    QString connectServerHint() const;
    QString otherHint() const;

    // Three texts: "1" when connected else "0", the connect hint, the other hint.
    QStringList getServerStatus() const;
    // Restores what getServerStatus() returned; missing entries count as empty texts,
    // and anything but "1" in the first entry means not connected.
    void setServerStatus(const QStringList &status);

    // "name (ip:port)".
    static QString generateServerDescribe(const QString &name, const QString &ip, int port);
    // Puts a server description on the second hint line (same as setOtherHint).
    void setServerDescribe(const QString &text);

    QPushButton *connectButton() const { return m_connectBt; }
    QPushButton *editButton() const { return m_editBt; }
    QPushButton *deleteButton() const { return m_deleteBt; }

signals:
    // The person pressed the toggle: true asks to connect, false to disconnect.
    void signalConnectServerBtClicked(bool connect);
    void signalEditServerBtClicked();
    void signalDeleteServerBtClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    void updateConnectText();

    QPushButton *m_connectBt = nullptr;
    QPushButton *m_editBt = nullptr;
    QPushButton *m_deleteBt = nullptr;
    QLabel *m_connectHint = nullptr;
    QLabel *m_otherHint = nullptr;
};

} // namespace COMMONUSELIB
