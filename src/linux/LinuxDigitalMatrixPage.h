#pragma once

#include "digitalmatrix_export.h"

#include "DataCoreTypes.h"
#include "DigitalMatrixServerInfo.h"
#include "MatrixOperatorInfo.h"
#include "MatrixStates.h"

#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QPushButton;
class QTimer;

namespace LUMO_DIGITALMATRIX_MODULE {

class WatchBanner;

namespace Ui {
class LinuxDigitalMatrixPage;
}

class MatrixOnlineProbe;
class MatrixReconnector;
class ReconnectBar;
class LinuxWallHistory;

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
    // Time between two checks that the connected matrix still answers (1000 ms at first).
    void setKeepAliveInterval(int ms);
    // Connected to follow the wall only: every command disabled; "Take control" logs in.
    bool isWatching() const { return connection == MatrixConnectionState::Watching; }

signals:
    // The last Linux matrix server was deleted.
    void signalLinuxMatrixServerDeleteAll();
    // The page began or stopped watching its matrix (stopped also when the watch connection
    // was lost).
    void signalWatchingChanged(bool watching);
    // A watch connection was lost: connecting again should watch, never log in.
    void signalWatchConnectionLost();

public slots:
    // Stores a new server in the data centre; the page lists it once the data centre
    // reports it.
    void slotAddDigitalMatrixServer(const DigitalMatrixServerInfo &info);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

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
    void slotKeepAliveTimeout();
    void slotSetSelChannelsToCheckedCell(int channelWtIndex);
    void slotSetChannelsToCellBtClicked();
    void slotDeleteChannelsFromCellBtClicked();
    void slotClearChannelsBtClicked();
    void slotStopAllTurnsBtClicked();
    // The wall presets of the connected matrix, kept in the data centre.
    void slotFillPresetMenu();
    void savePresetAs();
    void recallPreset(const QString &name);
    void renamePreset(const QString &name);
    void deletePreset(const QString &name);

protected:
    void changeEvent(QEvent *event) override;

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
    bool isServerConnectOK() const { return connection == MatrixConnectionState::Connected; }
    bool hasCurrentServer() const;
    int serverIndexById(const QString &id) const;
    // Shows the wait dialog; any upgrade poll stops first.
    void showWait(const QString &text);
    static void hideWait();
    void startUpgradePoll();
    void stopUpgradePoll();
    // Ends a watched upgrade: the page leaves the matrix and tells the final status.
    void finishUpgrade(int status, bool lost);
    // The wait shows the matrix's percentage and where the firmware comes from.
    void showUpgradeProgress(int percent);
    // While an upgrade is watched nothing else may reach the matrix.
    void setUpgradeLock(bool locked);
    // Ends the arrangement mode this page switched on at the matrix; when the matrix
    // cannot be told, the next connection to it does it.
    void leaveArrangeMode();
    // The connection broke or the matrix fell silent: the page shows it is disconnected.
    void matrixLost(int result);
    // Asks the matrix who else is logged in and names them on the page.
    void refreshOperators();
    // Watching: connects as a watcher (checked) or leaves the matrix.
    void slotWatchServerBtClicked(bool checked);

    // ---- Logging in off the user-interface thread ----
    enum class LoginCallEnd {
        Answered, // the call came back with *result
        Cancelled, // the operator cancelled the wait: the connection was dropped
        Superseded, // a newer call took over, or the page went: nothing more to do
    };
    struct LoginWait;
    // Runs work (a login that may wait for the matrix for the whole request time-out) on a
    // thread of its own and waits for it in an event loop of its own: the page goes on
    // painting meanwhile, takes no input and shows "Logging in..." for server, with Cancel.
    LoginCallEnd runLoginCall(const DigitalMatrixServerInfo &server,
                              const std::function<int()> &work, int *result);
    // runLoginCall, then the log line of what the call was ("connect", "watch"): true when
    // the matrix answered; a cancelled call leaves the page disconnected, a superseded one
    // (the page may be gone) is left alone.
    bool loginCallAnswered(const DigitalMatrixServerInfo &server, const char *what,
                           const std::function<int()> &work, int *result);
    void loginCallFinished(quint64 call, int result);
    void slotWaitCancelled(const QUuid &id);
    // Ends every login call still running by dropping the connection.
    void endLoginCalls();
    // The page's side of a cancelled login: disconnected and usable.
    void loginCancelled();
    void setWatching();
    // The page's side of no longer watching.
    void endWatchOnPage();
    // One tick of a watching page: reads the wall again when the matrix says it changed.
    void followWall();
    // Before logging in on a matrix this page watches: asks when another console holds it.
    bool confirmTakeControl();
    // Enables the server buttons that can act now.
    void updateServerButtons();
    // The connect hint of a page without a server.
    static QString noServerHint();
    // The hint after a refused connection, with the matrix's reason.
    static QString connectFailHint(int result);
    // Why the matrix refused or could not be asked, as one sentence.
    static QString refusalReason(int result);

    // Connecting again by itself after the matrix was lost, restarted or upgraded, and the
    // servers' online state while the page is shown.
    void initReconnect();
    // Counts down to connecting again by itself; watching again when the lost connection watched.
    void reconnectLater(bool watching = false);
    void attemptReconnect();
    void probedForReconnect(const QString &id, int state);
    void listServersForProbe();
    void showOnlineState(const QString &id);

    std::unique_ptr<Ui::LinuxDigitalMatrixPage> ui;
    const int maxServerCount = 5;
    int currentIndex = -1;
    bool firstShow = true;
    QTimer *upgradeTimer = nullptr;
    QTimer *keepAliveTimer = nullptr;
    // The other consoles on the matrix, asked again every few keep-alives.
    QLabel *operatorsLabel = nullptr;
    // The other consoles the matrix reported last, so that a new language needs no request.
    QList<MatrixOperatorInfo> otherOperators;
    // Watching: the toggle beside connect, the bar and the wall revision read last.
    QPushButton *watchBtn = nullptr;
    WatchBanner *watchBanner = nullptr;
    int wallRevision = -1;
    int keepAlivesSinceOperators = 0;
    QList<DigitalMatrixServerInfo *> servers;
    QMap<QString, QStringList> serverStatus;
    MatrixConnectionState connection = MatrixConnectionState::Disconnected;
    bool upgradeWaiting = false;
    // Polls in a row that found no connection while an upgrade was watched.
    int upgradeLostPolls = 0;
    // The upgrade watched: where it comes from and the firmware before it.
    QString upgradeSource;
    QString upgradeVersionBefore;
    QElapsedTimer upgradeLostClock;
    // The page switched the matrix's arrangement mode on.
    bool arrangeModeOn = false;
    // Leaving the arrangement could not reach the matrix: switch it off on the next connect.
    bool arrangeModeLeftOn = false;
    MatrixReconnector *reconnector = nullptr;
    ReconnectBar *reconnectBar = nullptr;
    MatrixOnlineProbe *onlineProbe = nullptr;
    // The connection under way is one of the reconnector's attempts.
    bool reconnecting = false;
    bool reconnectWatching = false;
    // The server whose probe an attempt waits for.
    QString reconnectProbeId;
    // The login call waited for now (none: nullptr); calls older than loginCall are
    // answered to nobody.
    LoginWait *loginWait = nullptr;
    quint64 loginCall = 0;

    // ---- Undo and redo of wall changes ----
    void initUndo();
    // Undo and redo can be pressed while the page configures the channels of a connected
    // matrix and there is a step; their tool tips name it.
    void updateUndoButtons();
    LinuxWallHistory *wallHistory = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
