#pragma once

#include "digitalmatrix_export.h"

#include "DataCoreTypes.h"
#include "DigitalMatrixServerInfo.h"
#include "MatrixMetaTypes.h"
#include "MatrixStates.h"

#include <QElapsedTimer>
#include <QMap>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QPushButton;
class QLabel;
class QTimer;

namespace LUMO_DIGITALMATRIX_MODULE {

class MatrixOnlineProbe;
class MatrixReconnector;
class ReconnectBar;
class X86ConnectionFlow;

namespace Ui {
class DigitalMatrix;
}

class ServerSelectWidget;
class SpliteWindow;
class TurnControlWidget;
class WatchBanner;
class X86CameraPanel;
class X86PresetMenu;
class X86WallHistory;

// The control page of X86 matrix servers: the server list, connecting and logging in,
// the monitor wall with its windows, splits, sources, turn shows and the matrix's
// configuration mode.
class DIGITALMATRIX_EXPORT DigitalMatrix : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(DigitalMatrix)

public:
    // Servers that can be added from this page.
    static constexpr int MaxServers = 5;
    // Time-out of every wait on this page.
    static constexpr int WaitTimeoutMs = 15000;
    // Delay between the first show and the selection of the first server.
    static constexpr int ActivateDelayMs = 100;
    static constexpr int WatchDogIntervalMs = 10000;
    // Refusals of the matrix this soon after the last one shown are not shown again.
    static constexpr int RefusalBurstMs = 1000;

    explicit DigitalMatrix(QWidget *parent = nullptr);
    ~DigitalMatrix() override;

    virtual void initAttribute();
    bool isMonitorConfig() const { return monitorConfig; }

    // The selected server (an empty record when none is selected).
    UServerInfo currentServerInfo() const { return currentServer; }
    bool isConnected() const;
    // Connected to follow the wall only; "Take control" logs in.
    bool isWatching() const;
    // Index of the window selected on the wall, -1 before any.
    int currentMonitorIndex() const { return currentMonitor; }
    X86TurnState currentTurnStateValue() const { return currentTurnState; }

signals:
    void signalX86MatrixServerDeleteAll();
    // The page began or stopped watching its matrix (stopped also when the watch connection
    // was lost: the page then offers to watch again, never to log in).
    void signalWatchingChanged(bool watching);
    // A watch connection was lost (or could not be made again): connecting again should
    // watch, never log in.
    void signalWatchConnectionLost();

public slots:
    void slotAddServerFromPictrueHint(const DigitalMatrixServerInfo &serverInfo);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private slots:
    void slotNextStepBtnClicked();
    void slotAddServer(UServerInfo param_info);
    void slotEditServer(UServerInfo info);
    void slotShowEditServerWdt();
    void slotHideView();
    void on__serverSelectBtn_clicked(bool checked);
    void on__turnShowBtn_clicked(bool checked);
    void on__resetLayout_clicked();
    void slotConnectMatrixBtnClicked(bool checked);
    void slotServerSelected(PUServerInfo info);
    void slotDogClicked(bool checked);
    void slotDeleteServerClicked();
    void slotSetSourceBtnClicked();
    void slotConnectSuccess();
    void slotConnectFailed();
    void slotConnectTimeOut();
    void slotDisconnect();
    void slotDisError();
    void slotMatrixInfo(int screens, int rows, int columns);
    void slotCreateNewLayout(RECT wallRect, int mirrorCount, int p1, int p2, int p3, int p4);
    void slotSetOneMirror(RECT homeRect, RECT mirrorRect, int index, int splitCount, int layer,
                          int param4, int turnState);
    void slotSetMirrorEnd();
    void slotSetCurrMontroIndex(int index, int turnState);
    void slotSetMontroSplite(int count);
    void slotStartTurn();
    void slotPauseTurn();
    void slotStopTurn();
    void slotHideTurnButton();
    // Stops, after a question, every turn show that runs or is paused on the wall.
    void slotStopAllTurnsBtnClicked();
    void slotSaveSettingBtn();
    void slotBeginSettingBtn();
    void slotClearSource();
    void serverSelectWidgetFO();
    void slotGroupResCount(int count);
    void slotSetGroupFinished(int splitCount, bool turning);
    void slotSetViewFinished(int splitCount);
    void slotSetActiveAsFirst();
    void slotSetDogWatchStatus();
    void slotShowSplitPanel(int index, const QPoint &globalPos);
    // The matrix's answer to a wall command (MatrixX86Command, result 0 = accepted).
    void slotCommandResult(int command, int result);
    // The matrix reported who is logged in: the other consoles are named on the page.
    void slotOperatorsChanged();

    // ---- Wall presets and cameras dropped on windows ----
    // Cameras (data-centre keys) dropped on a pane of a window: that pane and the ones after
    // it get them, the window's other panes keep theirs; a turn show is stopped first, after
    // a question.
    void slotChannelsDropped(int index, int pane, const QStringList &channelKeys);
    // Cameras dragged out of the source dialog and let go at a global position.
    void slotChannelsDroppedAt(const QPoint &globalPos, const QStringList &channelKeys);

protected:
    void changeEvent(QEvent *event) override;

private:
    void initUI();
    void initData();
    void setSpacingWidget();
    void setControlEnable(bool flag);
    // What the wall says while it shows no window.
    void updateEmptyWall();
    void connectServer();
    void loginServer();
    // Runs a blocking call to the matrix on its own thread and hands its result to done on
    // this thread; until then the page takes no input and the wait offers to cancel.
    void callOffUiThread(const std::function<int()> &work, const std::function<void(int)> &done);
    void endLoginWait();
    void loginFinished(int outcome);
    void slotWaitCancelled(const QUuid &id);
    void disconnectServerStatus();
    // Shows the buttons of the configuration mode ("Save") or of normal work.
    void showConfigButtons(bool config);
    // Turns the matrix's configuration mode on (its information follows) and the page's with it.
    void enterConfigMode();
    // The page's side of leaving the configuration mode: the normal buttons, windows that
    // move instead of swapping numbers.
    void leaveConfigModeOnPage();
    // Leaving the connected matrix (another server, disconnecting, deleting, closing the page):
    // its configuration mode ends on the matrix while it can still be reached, then on the page.
    void leaveMatrix();
    void sendConfigMode(bool on);
    // Asks for rows and columns of the screens the matrix reported and sends them.
    void askScreenCount();
    // The turn menu follows the selected window as the matrix last reported it.
    void refreshTurnButton();
    // The separators of the control bar, placed once its layout has settled.
    void placeSeparatorsLater();
    // Common end of a failed, lost or broken connection.
    // offerReconnect: the text asks whether to connect again; otherwise it is a notice.
    // watch: connecting again watches the matrix (also when the lost connection watched).
    void connectionLost(QWidget *boxParent, const QString &title, const QString &text,
                        bool offerReconnect = true, bool watch = false);
    void rememberConnection();
    void setLoggedIn();
    // Watching: the next connection of the page watches instead of logging in.
    void slotWatchMatrixBtnClicked(bool checked);
    void startWatch();
    void watchAnswered(int result);
    void setWatching();
    // The page's side of no longer watching (logged in, disconnected or lost).
    void endWatchOnPage();
    // Logs in on the watching connection: the normal login with its forced-login question.
    void takeControl();
    // Stores a new server; a refusal of the data centre is shown as a notice.
    void addServerOrSay(const DigitalMatrixServerInfo &serverInfo);

    // Connecting again by itself after the matrix was lost, and the servers' online state.
    void initReconnect();
    void attemptReconnect();
    // The operator cancelled connecting again: an attempt under way is dropped.
    void reconnectCancelled();
    // The online state of the listed servers, kept while the page is shown.
    void listServersForProbe();
    void showOnlineState(const QString &id);

    std::unique_ptr<Ui::DigitalMatrix> ui;

    UServerInfo currentServer;
    std::unique_ptr<X86ConnectionFlow> connection;
    // The call of the login that is waited for; an answer of an earlier one is disregarded.
    quint64 loginCall = 0;
    QUuid loginWaitId;
    bool monitorConfig = false;
    // The tools were last enabled (logged in); the window tools also wait for the wall.
    bool controlsWanted = false;
    bool pageShown = false;
    bool firstShow = true;
    int currentMonitor = -1;
    X86TurnState currentTurnState = X86TurnState::Unknown;
    // Configuration-mode commands sent and not answered yet (on = true), in order.
    QQueue<bool> configModeRequests;
    // The matrix's outputs, rows and columns as it last reported them.
    int reportedOutputs = 0;
    int reportedRows = 0;
    int reportedColumns = 0;
    // The operator declined to arrange the screens of this connection's new matrix.
    bool screenCountDeclined = false;
    // A refusal of the matrix is on screen; further ones of the same burst are not repeated.
    bool refusalShown = false;
    QElapsedTimer lastRefusal;
    QTimer *activateTimer = nullptr;
    QTimer *watchDogTimer = nullptr;
    ServerSelectWidget *serverSelector = nullptr;
    TurnControlWidget *turnControl = nullptr;
    QPushButton *stopAllTurnsBtn = nullptr;
    QLabel *configHint = nullptr;
    SpliteWindow *splitPanel = nullptr;
    QVector<QWidget *> separators;
    // The other consoles logged in on the matrix.
    QLabel *operatorsLabel = nullptr;
    // Watching the matrix: the button beside connect, the bar above the wall, whether the
    // next connection watches and whether the watch request waits for its answer.
    QPushButton *watchBtn = nullptr;
    WatchBanner *watchBanner = nullptr;
    bool watchWanted = false;
    bool watchPending = false;
    MatrixReconnector *reconnector = nullptr;
    ReconnectBar *reconnectBar = nullptr;
    MatrixOnlineProbe *onlineProbe = nullptr;
    QStringList knownProbeServers;

    // ---- Wall presets and cameras dropped on windows ----
    void initPresetsAndCameras();
    // The connected server's key while the wall can take a preset, else empty.
    QString presetServerId() const;
    static QString configHintText();
    X86PresetMenu *presetMenu = nullptr;
    X86CameraPanel *cameraPanel = nullptr;

    // ---- Undo and redo of wall changes ----
    void initUndo();
    // Undo and redo can be pressed when there is a step for the mode the page is in and the
    // page may send; their tool tips name the step.
    void updateUndoButtons();
    // Frames the commands of one action of the page on a window.
    void beginWallChange(int aspects, int monitor);
    void endWallChange();
    X86WallHistory *wallHistory = nullptr;
    QPushButton *undoBtn = nullptr;
    QPushButton *redoBtn = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
