// The host's server selector: a row of checkable server buttons and an add button.
#pragma once

#include "lumohost_export.h"

#include <QList>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QHBoxLayout;
class QPushButton;
class QToolButton;

namespace COMMONUSELIB {

// One button per server, keyed by the server's id, in the order added; at most one is
// selected. Adding a server never selects it: the selection changes only when the
// person clicks another server's button or through setCurSelServerBtTo*/setCurrentServer.
//
// signalServerSelChanged(previousId, currentId) is emitted on every change of the
// selection. previousId is the server selected before, or empty when nothing was
// selected or the selected server has just been deleted; currentId is the newly
// selected server, or empty when nothing is selected any more. Deleting the selected
// server therefore emits ("", "") and leaves nothing selected (also when it was the
// last server); deleting another server keeps the selection and emits nothing.
class LUMOHOST_EXPORT ServerSelWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ServerSelWidget)

public:
    explicit ServerSelWidget(QWidget *parent = nullptr);
    ~ServerSelWidget() override;

    // Appends a button. An empty id is refused; an id already listed only renames its
    // button. Returns whether a button was added.
    bool addServer(const QString &id, const QString &name);
    // Removes the server's button; returns whether it was listed.
    bool deleteServer(const QString &id);
    // Renames the server's button; returns whether it was listed.
    bool updateServerName(const QString &id, const QString &name);
    // Removes every button; a selection ends as for deleting the selected server.
    void clearServers();

    // Position of the server in the row, or -1 when it is not listed.
    int getServerIndex(const QString &id) const;
    QString serverIdAt(int index) const;
    QString serverName(const QString &id) const;
    int serverCount() const { return m_servers.size(); }

    // Select the first / last server (nothing happens while the row is empty).
    void setCurSelServerBtToFirst();
    void setCurSelServerBtToLast();
    // Selects the server with this id; an empty id clears the selection. Returns false
    // for an id that is not listed.
    bool setCurrentServer(const QString &id);
    QString currentServerId() const { return m_currentId; }
    int currentServerIndex() const { return getServerIndex(m_currentId); }

    QAbstractButton *addButton() const;
    QAbstractButton *serverButton(const QString &id) const;

signals:
    void signalServerSelChanged(const QString &previousId, const QString &currentId);
    void signalAddServerBtClicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    struct Entry
    {
        QString id;
        QPushButton *button = nullptr;
    };

    void select(const QString &id, bool previousDeleted);
    void syncChecks();

    QList<Entry> m_servers;
    QString m_currentId;
    QHBoxLayout *m_layout = nullptr;
    QButtonGroup *m_group = nullptr;
    QToolButton *m_addButton = nullptr;
};

} // namespace COMMONUSELIB
