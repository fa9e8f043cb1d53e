#pragma once

#include "digitalmatrix_export.h"

#include "DataCoreTypes.h"
#include "DigitalMatrixServerInfo.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <QWidget>

class QTimer;

namespace LUMO_DIGITALMATRIX_MODULE {

namespace Ui {
class LinuxDigitalMatrixPage;
}

class AdjustCellNumWidget;
class ConfigChannelsWidget;

// The configuration page of Linux matrix servers: keeps up to five servers of the data
// centre, connects to one, arranges its screens and configures its wall.
class DIGITALMATRIX_EXPORT LinuxDigitalMatrixPage : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(LinuxDigitalMatrixPage)

public:
    enum MatrixStatus {
        MatrixStatusNormal = 0, // channel configuration
        MatrixStatusConfig = 1, // screen arrangement
    };
    Q_ENUM(MatrixStatus)

    explicit LinuxDigitalMatrixPage(QWidget *parent = nullptr);
    ~LinuxDigitalMatrixPage() override;

    // The listed servers, in the data centre's order.
    QList<DigitalMatrixServerInfo> matrixServers() const;
    // Index of the selected server in matrixServers(), -1 when none is selected.
    int currentServerIndex() const { return currentIndex; }
    MatrixStatus matrixStatus() const;

    // Time between two upgrade polls while a firmware upgrade runs (2000 ms at first).
    void setUpgradePollInterval(int ms);
    int upgradePollInterval() const;
    // True from an accepted upgrade start until the poll reports its end or the page
    // leaves the matrix.
    bool isUpgradePolling() const;

signals:
    // The last Linux matrix server was deleted.
    void signalLinuxMatrixServerDeleteAll();

public slots:
    // Stores a new server in the data centre; the page lists it once the data centre
    // reports it.
    void slotAddDigitalMatrixServer(const DigitalMatrixServerInfo &info);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void slotTheFirstShow();
    void slotServerSelChanged(const QString &previousId, const QString &currentId);
    void slotConnectServerBtClicked(bool connect);
    void slotEditServerBtClicked();
    void slotDeleteServerBtClicked();
    void slotAddServerBtClicked();
    void slotAddMatrixServerToDB(const UServerInfo &server);
    void slotEditMatrixServerInDB(const UServerInfo &server);
    void slotDeleteMatrixServerFromDB(const QString &id, SERVERTYPE type);
    void slotConfigMatrixBtClicked();
    void slotUndoLayoutBtClicked();
    void slotSaveConfigBtClicked();
    void slotBackStepBtClicked();
    void slotCancelBtClicked();
    void slotRebootBtClicked();
    void slotUpgradeBtClicked();
    void slotResetBtClicked();
    void slotGetUpgradeProcessTimeout();
    void slotSetSelChannelsToCheckedCell(int channelWtIndex);
    void slotSetChannelsToCellBtClicked();
    void slotDeleteChannelsFromCellBtClicked();
    void slotClearChannelsBtClicked();

private:
    void connectSignalsWithSlots();
    void getMatrixServersAlreadyConfig();
    void setWidgetsEnabled(bool enabled);
    void setMatrixStatus(MatrixStatus status);
    void resetStatusToInitial();
    int disconnectLinuxMatrixServer();
    // The data centre refused a write that the page had left the matrix for: nothing
    // changed, so the page goes back to the matrix it was connected to and says so.
    void dataCentreRefused(const QString &notice);
    static DigitalMatrixServerInfo convertMatrixServerInfo(const UServerInfo &server);

    // The server-operation widget's connection state, which this page alone changes
    // (its toggle flips before it reports a click).
    void setServerConnectOk(bool ok);
    bool isServerConnectOK() const { return serverConnected; }
    bool hasCurrentServer() const;
    int serverIndexById(const QString &id) const;
    void showNotice(const QString &text);
    bool askQuestion(const QString &text);
    // Shows the wait dialog; any upgrade poll stops first.
    void showWait(const QString &text);
    static void hideWait();
    void startUpgradePoll();
    void stopUpgradePoll();

    Ui::LinuxDigitalMatrixPage *ui = nullptr;
    const int maxServerCount = 5;
    int currentIndex = -1;
    bool firstShow = true;
    QTimer *upgradeTimer = nullptr;
    QList<DigitalMatrixServerInfo *> servers;
    QMap<QString, QStringList> serverStatus;
    AdjustCellNumWidget *adjustCellNumWidget = nullptr;
    ConfigChannelsWidget *configChannelsWidget = nullptr;
    bool serverConnected = false;
    bool upgradeWaiting = false;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
