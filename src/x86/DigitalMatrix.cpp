#include "DigitalMatrix.h"
#include "ui_DigitalMatrix.h"

#include "ChannelRecordBuilder.h"
#include "DigitalMatrixConfigSignals.h"
#include "DigitalMatrixInteractionPort.h"
#include "ElidingLabel.h"
#include "MatrixGroupTree.h"
#include "MatrixManageWidget.h"
#include "MatrixOnlineProbe.h"
#include "MatrixReconnector.h"
#include "MessageBoxW.h"
#include "MirrorWidget.h"
#include "ModuleLogging.h"
#include "QLogger.h"
#include "ReconnectBar.h"
#include "ServerSelectWidget.h"
#include "SetChannelSource.h"
#include "SpliteWindow.h"
#include "TurnControlWidget.h"
#include "WatchBanner.h"
#include "X86CameraPanel.h"
#include "X86ConnectionFlow.h"
#include "X86PresetMenu.h"
#include "X86WallHistory.h"
#include "WallUndoHistory.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"
#include "_ModifyDigitalMatrixServerDlg.h"
#include "setMatrixScreen.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QHideEvent>
#include <QThread>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QToolButton>
#include <QTimer>
#include <QUuid>
#include <QVBoxLayout>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

using COMMONUSELIB::MessageBoxW;

constexpr short NoticeButtons = 1;
constexpr short YesNoButtons = 3;
constexpr int SeparatorCount = 6;
constexpr int SeparatorWidth = 2;
constexpr int SeparatorHeight = 39;

DigitalMatrixInteractionPort *port()
{
    return DigitalMatrixInteractionPort::instance();
}

COMMONUSELIB::WaitDialog *waitDialog()
{
    return COMMONUSELIB::WaitDialog::getInstance();
}

// What a wait on this page waits for: the matrix by its name and address.
QString serverDetail(const UServerInfo &server)
{
    return QStringLiteral("%1 (%2:%3)").arg(server.name, server.ip).arg(server.port);
}

// The port's calls and the operator's answers for the X86 page's connection flow.
// Who holds the matrix for a login of user refused as taken, or nobody known.
QString holderText(const QString &user)
{
    const QList<MatrixOperatorInfo> operators = port()->x86Operators();
    const MatrixOperatorInfo *holder = nullptr;
    for (const MatrixOperatorInfo &info : operators) {
        if (info.self || info.watching)
            continue;
        if (info.user == user) {
            holder = &info;
            break;
        }
        if (!holder)
            holder = &info;
    }
    if (!holder)
        return QString();
    return DigitalMatrix::tr(
                   "Login failed!%1 holds the matrix since %2.Do you want to force login?")
            .arg(holder->shownName(), holder->shownTime());
}

X86ConnectionFlow::Hooks connectionHooks(std::function<void()> dropConnection,
                                         std::function<QString()> loginUser,
                                         const X86ConnectionFlow::Hooks &sending)
{
    X86ConnectionFlow::Hooks hooks = sending;
    hooks.login = [](const QString &user, const QString &password) {
        return port()->login(user, password);
    };
    hooks.forceLogin = [] { return port()->forceLogin(); };
    hooks.dropConnection = std::move(dropConnection);
    hooks.ask = [loginUser](X86ConnectionFlow::Question question) {
        QString text;
        if (question == X86ConnectionFlow::Question::ForceLogin) {
            text = holderText(loginUser());
            if (text.isEmpty())
                text = DigitalMatrix::tr("Login failed!Do you want to force login?");
        } else {
            text = DigitalMatrix::tr(
                    "Login failed!Wrong user or password. Do you want to try again?");
        }
        return MessageBoxW::warning(nullptr, DigitalMatrix::tr("Failed"), text, YesNoButtons) == 1;
    };
    hooks.tell = [](X86ConnectionFlow::Notice notice) {
        const QString text = notice == X86ConnectionFlow::Notice::ForceLoginFailed
                ? DigitalMatrix::tr("Force Login failed!")
                : DigitalMatrix::tr("Login failed!No answer from the matrix server.");
        MessageBoxW::warning(nullptr, DigitalMatrix::tr("Failed"), text, NoticeButtons);
    };
    hooks.log = [](const QString &line) { QLogger::instance()->LogInfo(line); };
    return hooks;
}

} // namespace

DigitalMatrix::DigitalMatrix(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::DigitalMatrix)
{
    // The login's requests run off this thread; their answers come back here.
    X86ConnectionFlow::Hooks sending;
    sending.sendLogin = [this](const QString &user, const QString &password) {
        callOffUiThread([user, password] { return port()->login(user, password); },
                        [this](int result) { connection->loginAnswered(result); });
    };
    sending.sendForceLogin = [this] {
        callOffUiThread([] { return port()->forceLogin() ? 1 : 0; },
                        [this](int result) { connection->forceLoginAnswered(result != 0); });
    };
    sending.finished = [this](X86ConnectionFlow::LoginOutcome outcome) {
        loginFinished(int(outcome));
    };
    connection = std::make_unique<X86ConnectionFlow>(connectionHooks(
            [this] {
                port()->disconnectServer();
                disconnectServerStatus();
            },
            [this] { return currentServer.user; }, sending));
    connect(waitDialog(), &COMMONUSELIB::WaitDialog::signalWaitCancelled, this,
            &DigitalMatrix::slotWaitCancelled);
    initUI();
    initUndo();
    initAttribute();
    initData();
    setSpacingWidget();
}

DigitalMatrix::~DigitalMatrix()
{
    // However the page goes, the matrix does not stay in a mode the page turned on.
    if (isConnected() && monitorConfig)
        port()->setConfigMode(false);
    // The menu is deleted after this page's own parts; it must not reach them any more.
    if (turnControl)
        turnControl->disconnect(this);
    delete activateTimer;
    activateTimer = nullptr;
    // A login call still waiting for the matrix ends with the connection.
    const QList<QThread *> calls = findChildren<QThread *>(QString(), Qt::FindDirectChildrenOnly);
    if (!calls.isEmpty()) {
        ++loginCall;
        port()->disconnectServer();
        for (QThread *call : calls)
            call->wait();
    }
}

bool DigitalMatrix::isConnected() const
{
    return connection->isConnected();
}

bool DigitalMatrix::isWatching() const
{
    return connection->state() == MatrixConnectionState::Watching;
}

void DigitalMatrix::initUI()
{
    ui->setupUi(this);
    setControlEnable(false);
    connection->setState(MatrixConnectionState::Disconnected);

    ui->_turnShowBtn->setFocusPolicy(Qt::ClickFocus);
    ui->_serverSelectBtn->setFocusPolicy(Qt::ClickFocus);
    ui->_addServerBtn->setFocusPolicy(Qt::ClickFocus);
    ui->_addServerBtn->setIcon(
            QIcon(QStringLiteral("./config/qss/style_1/images/matrix_addbtn_icon.png")));
    ui->_saveMatrixSettingBtn->hide();
    ui->_connectMatrixBtn->setCheckable(true);
    ui->_connectMatrixBtn->setToolTip(tr("Connect server"));
    ui->_virtualServerWdt->setSwapMode(false);

    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    connect(dataCentre, &DATACore::UserManagerCore::signalAddServer, this,
            &DigitalMatrix::slotAddServer);
    connect(dataCentre, &DATACore::UserManagerCore::signalEditServer, this,
            &DigitalMatrix::slotEditServer);

    splitPanel = new SpliteWindow(this);
    splitPanel->hide();
    serverSelector = new ServerSelectWidget(this);
    turnControl = new TurnControlWidget(this);
    turnControl->hide();
    turnControl->setOpener(ui->_turnShowBtn);
    // One command for every turn show on the wall, at the left of the wall tools.
    stopAllTurnsBtn = new QPushButton(tr("Stop all turns"), ui->_controlWdt);
    stopAllTurnsBtn->setObjectName(QStringLiteral("_stopAllTurnsBtn"));
    stopAllTurnsBtn->setProperty("matrixcontrolbutton", true);
    stopAllTurnsBtn->setFocusPolicy(Qt::ClickFocus);
    stopAllTurnsBtn->setAutoDefault(false);
    stopAllTurnsBtn->setFixedHeight(39);
    if (auto *bar = qobject_cast<QGridLayout *>(ui->_controlWdt->layout()))
        bar->addWidget(stopAllTurnsBtn, 0, 5);
    stopAllTurnsBtn->setEnabled(false);
    initPresetsAndCameras();

    DigitalMatrixConfigSignals *hub = DigitalMatrixConfigSignals::instance();
    connect(serverSelector, &ServerSelectWidget::sigServerSelected, this,
            &DigitalMatrix::slotServerSelected);
    connect(ui->_serverDogBtn, &QPushButton::clicked, this, &DigitalMatrix::slotDogClicked);
    connect(ui->_editServerBtn, &QPushButton::clicked, this, &DigitalMatrix::slotShowEditServerWdt);
    connect(ui->_deleteServerBtn, &QPushButton::clicked, this,
            &DigitalMatrix::slotDeleteServerClicked);
    connect(ui->_connectMatrixBtn, &QPushButton::clicked, this,
            &DigitalMatrix::slotConnectMatrixBtnClicked);
    connect(ui->_setSourceBtn, &QPushButton::clicked, this,
            &DigitalMatrix::slotSetSourceBtnClicked);
    connect(ui->_saveMatrixSettingBtn, &QPushButton::clicked, this,
            &DigitalMatrix::slotSaveSettingBtn);
    connect(ui->_MatrixSettingBtn, &QPushButton::clicked, this,
            &DigitalMatrix::slotBeginSettingBtn);
    connect(hub, &DigitalMatrixConfigSignals::signalConnectSuccess, this,
            &DigitalMatrix::slotConnectSuccess);
    connect(hub, &DigitalMatrixConfigSignals::signalConnectFailed, this,
            &DigitalMatrix::slotConnectFailed);
    connect(hub, &DigitalMatrixConfigSignals::signalConnectTimeOut, this,
            &DigitalMatrix::slotConnectTimeOut);
    connect(hub, &DigitalMatrixConfigSignals::signalDisconnect, this,
            &DigitalMatrix::slotDisconnect);
    connect(hub, &DigitalMatrixConfigSignals::signalDisError, this, &DigitalMatrix::slotDisError);
    connect(hub, &DigitalMatrixConfigSignals::signalMatrixInfo, this,
            &DigitalMatrix::slotMatrixInfo);
    connect(hub, &DigitalMatrixConfigSignals::signalCreateNewLayout, this,
            &DigitalMatrix::slotCreateNewLayout);
    connect(hub, &DigitalMatrixConfigSignals::signalSetOneMirror, this,
            &DigitalMatrix::slotSetOneMirror);
    connect(hub, &DigitalMatrixConfigSignals::signalSetMirrorEnd, this,
            &DigitalMatrix::slotSetMirrorEnd);
    // What is on air on each window, as the matrix reports it (any operator's change).
    connect(hub, &DigitalMatrixConfigSignals::signalGroupRes, this,
            [this](int monitor, const QVector<_ST_ChnInfo> &channels, int interval) {
                ui->_virtualServerWdt->setWindowSources(monitor, channels, interval);
                // Every window reports: only the selected one's count concerns the turn menu.
                if (monitor == currentMonitor)
                    slotGroupResCount(channels.size());
            });
    connect(hub, &DigitalMatrixConfigSignals::signalTurnStep, this,
            [this](int monitor, int turnState, int page, int pages, int interval) {
                ui->_virtualServerWdt->setWindowTurnStep(monitor, X86TurnState(turnState), page,
                                                         pages, interval);
            });
    connect(hub, &DigitalMatrixConfigSignals::signalCommandResult, this,
            &DigitalMatrix::slotCommandResult);
    connect(hub, &DigitalMatrixConfigSignals::signalOperatorsChanged, this,
            &DigitalMatrix::slotOperatorsChanged);
    connect(ui->_virtualServerWdt, &MatrixManageWidget::sigCurrMontroIndex, this,
            &DigitalMatrix::slotSetCurrMontroIndex);
    connect(splitPanel, &SpliteWindow::sigSpliteButtonClicked, this,
            &DigitalMatrix::slotSetMontroSplite);
    connect(turnControl, &TurnControlWidget::sigStartTurn, this, &DigitalMatrix::slotStartTurn);
    connect(turnControl, &TurnControlWidget::sigPauseTurn, this, &DigitalMatrix::slotPauseTurn);
    connect(turnControl, &TurnControlWidget::sigStopTurn, this, &DigitalMatrix::slotStopTurn);
    connect(serverSelector, &ServerSelectWidget::sigAddButtonPressed, this,
            &DigitalMatrix::slotNextStepBtnClicked);
    connect(ui->_clearSourceBtn, &QPushButton::clicked, this, &DigitalMatrix::slotClearSource);
    connect(stopAllTurnsBtn, &QPushButton::clicked, this,
            &DigitalMatrix::slotStopAllTurnsBtnClicked);
    connect(turnControl, &TurnControlWidget::sigHideTurnButton, this,
            &DigitalMatrix::slotHideTurnButton);
    connect(serverSelector, &ServerSelectWidget::sigServerSelectedFO, this,
            &DigitalMatrix::serverSelectWidgetFO);
    connect(ui->_addServerBtn, &QPushButton::clicked, this, &DigitalMatrix::slotNextStepBtnClicked);
    // The split chooser opens from a window's context menu on the wall.
    connect(ui->_virtualServerWdt, &MatrixManageWidget::sigMirrorContextMenu, this,
            &DigitalMatrix::slotShowSplitPanel);
    // Enter and Delete on the wall stand for "setsource" and "clearSource": they do what the
    // buttons do, and nothing while the buttons cannot be pressed.
    const auto usable = [](const QPushButton *button) {
        return button->isEnabled() && button->isVisibleTo(button->window());
    };
    connect(ui->_virtualServerWdt, &MatrixManageWidget::sigMirrorActivated, this,
            [this, usable](int) {
                if (usable(ui->_setSourceBtn))
                    slotSetSourceBtnClicked();
            });
    connect(ui->_virtualServerWdt, &MatrixManageWidget::sigMirrorClearRequested, this,
            [this, usable](int) {
                if (usable(ui->_clearSourceBtn))
                    slotClearSource();
            });

    for (int i = 0; i < SeparatorCount; ++i) {
        auto *separator = new QWidget(ui->_controlWdt);
        separator->setProperty("spacewidget", true);
        separator->hide();
        separators.append(separator);
    }
    ui->_serverDogBtn->setProperty("watchDogButton", true);
    setSpacingWidget();
    pageShown = false;

    activateTimer = new QTimer(this);
    activateTimer->setSingleShot(true);
    connect(activateTimer, &QTimer::timeout, this, &DigitalMatrix::slotSetActiveAsFirst);
    firstShow = true;
    watchDogTimer = new QTimer(this);
    connect(watchDogTimer, &QTimer::timeout, this, &DigitalMatrix::slotSetDogWatchStatus);
    watchDogTimer->start(WatchDogIntervalMs);

    ui->_serverDogBtn->setEnabled(false);
    ui->_serverDogBtn->hide();
    ui->widget->setFixedWidth(110);
    ui->_serverSelectBtn->setToolTip(tr("select server"));

    // Host names are whatever the other consoles sent: never read as markup.
    operatorsLabel = new ElidingLabel(ui->_controlWdt);
    operatorsLabel->setObjectName(QStringLiteral("_operatorsLab"));
    operatorsLabel->setProperty("lumo_grayYaHei", true);
    operatorsLabel->hide();
    // In the free space before the wall tools: "Stop all turns" holds the column after it.
    operatorsLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (auto *bar = qobject_cast<QGridLayout *>(ui->_controlWdt->layout()))
        bar->addWidget(operatorsLabel, 0, 4);

    // Watching: a toggle beside connect (in the place of the reserved watch-dog toggle) and a
    // bar above the wall while the page watches.
    watchBtn = new QPushButton(ui->widget);
    watchBtn->setObjectName(QStringLiteral("_watchMatrixBtn"));
    watchBtn->setProperty("matrixWatchServerBt", true);
    watchBtn->setCheckable(true);
    watchBtn->setAutoDefault(false);
    watchBtn->setFocusPolicy(Qt::ClickFocus);
    watchBtn->setFixedSize(ui->_connectMatrixBtn->minimumSize());
    watchBtn->setToolTip(tr("Watch the matrix without taking control"));
    if (auto *tools = qobject_cast<QGridLayout *>(ui->widget->layout())) {
        tools->addWidget(watchBtn, 0, 1);
        ui->widget->setFixedWidth(110 + watchBtn->width() + qMax(0, tools->horizontalSpacing()));
    }
    connect(watchBtn, &QPushButton::clicked, this, &DigitalMatrix::slotWatchMatrixBtnClicked);
    watchBanner = new WatchBanner(this);
    watchBanner->hide();
    ui->verticalLayout->insertWidget(0, watchBanner);
    connect(watchBanner, &WatchBanner::signalTakeControlClicked, this, &DigitalMatrix::takeControl);
    initReconnect();
}

void DigitalMatrix::initReconnect()
{
    reconnector = new MatrixReconnector(this);
    reconnectBar = new ReconnectBar(reconnector, this);
    if (auto *column = qobject_cast<QVBoxLayout *>(layout()))
        column->insertWidget(0, reconnectBar);
    connect(reconnector, &MatrixReconnector::attemptDue, this, &DigitalMatrix::attemptReconnect);
    connect(reconnector, &MatrixReconnector::cancelled, this, &DigitalMatrix::reconnectCancelled);
    // The empty wall says that the page is connecting again.
    connect(reconnector, &MatrixReconnector::countdown, this, &DigitalMatrix::updateEmptyWall);
    connect(reconnector, &MatrixReconnector::finished, this, &DigitalMatrix::updateEmptyWall);
    onlineProbe = new MatrixOnlineProbe(
            [](const QString &ip, int port, int timeoutMs) {
                return DigitalMatrixInteractionPort::instance()->probeX86(ip, port, timeoutMs);
            },
            this);
    connect(onlineProbe, &MatrixOnlineProbe::stateChanged, this,
            [this](const QString &id) { showOnlineState(id); });
}

void DigitalMatrix::attemptReconnect()
{
    if (currentServer.id.isEmpty()) {
        reconnector->stop();
        return;
    }
    connectServer();
}

void DigitalMatrix::reconnectCancelled()
{
    // An attempt under way ends here; the page stays disconnected and usable.
    port()->disconnectServer();
    waitDialog()->hideWaitDialog();
    disconnectServerStatus();
    connection->setState(MatrixConnectionState::Disconnected);
    rememberConnection();
    updateEmptyWall();
}

void DigitalMatrix::listServersForProbe()
{
    QStringList listed;
    for (ServerButton *button : serverSelector->serverButtons()) {
        const UServerInfo *info = button->serverInfo();
        listed.append(info->id);
        onlineProbe->setServer(info->id, info->ip, info->port);
        showOnlineState(info->id);
    }
    onlineProbe->retainServers(listed);
    knownProbeServers = listed;
}

void DigitalMatrix::showOnlineState(const QString &id)
{
    const MatrixOnlineProbe::Online state = onlineProbe->state(id);
    for (ServerButton *button : serverSelector->serverButtons()) {
        if (button->serverInfo()->id != id)
            continue;
        button->setIcon(onlineProbe->icon(state));
        button->setToolTip(MatrixOnlineProbe::toolTip(state));
    }
}

void DigitalMatrix::slotOperatorsChanged()
{
    const QList<MatrixOperatorInfo> operators =
            isConnected() || isWatching() ? port()->x86Operators() : QList<MatrixOperatorInfo>();
    if (isWatching())
        watchBanner->setOperators(operators);
    const QString line = MatrixOperatorInfo::othersLine(operators);
    operatorsLabel->setText(line);
    operatorsLabel->setVisible(!line.isEmpty());
    // The buttons beside it move: their separators follow.
    placeSeparatorsLater();
}

void DigitalMatrix::initAttribute()
{
    ui->_serverSelectBtn->setProperty("matrixServerSelBt", true);
    ui->_addServerBtn->setProperty("matrixAddServerBt", true);
    ui->_saveMatrixSettingBtn->setProperty("matrixcontrolbutton", true);
    ui->_MatrixSettingBtn->setProperty("matrixcontrolbutton", true);
    ui->_clearSourceBtn->setProperty("matrixcontrolbutton", true);
    ui->_turnShowBtn->setProperty("matrixcontrolbutton", true);
    ui->_setSourceBtn->setProperty("matrixcontrolbutton", true);
    ui->_resetLayout->setProperty("matrixcontrolbutton", true);
    ui->_connectMatrixBtn->setProperty("connectStatus", true);
    ui->_serverDogBtn->setProperty("watchDogButton", true);
    ui->_editServerBtn->setProperty("matrixEditServerBt", true);
    ui->_deleteServerBtn->setProperty("matrixDeleteServerBt", true);
    ui->_controlWdt->setProperty("matrixControlWt", true);
}

void DigitalMatrix::initData()
{
    monitorConfig = false;
    serverSelector->clearServers();
    currentTurnState = X86TurnState::Unknown;
    serverSelector->hide();
    const QList<UServerInfo> servers = DATACore::UserManagerCore::instance()->GetServers(QString());
    for (const UServerInfo &server : servers) {
        if (server.type == SERVERTYPE_X86_DIGITALMATRIX)
            serverSelector->addServer(server);
    }
    listServersForProbe();
}

void DigitalMatrix::setControlEnable(bool flag)
{
    qCDebug(lcModuleX86) << "setControlEnable(bool flag)" << flag;
    controlsWanted = flag;
    // The tools of windows wait for the matrix's wall; the matrix's settings do not.
    const bool windows = flag && !ui->_virtualServerWdt->getMirrors().isEmpty();
    ui->_clearSourceBtn->setEnabled(windows);
    ui->_saveMatrixSettingBtn->setEnabled(flag);
    ui->_setSourceBtn->setEnabled(windows);
    ui->_turnShowBtn->setEnabled(windows);
    if (stopAllTurnsBtn)
        stopAllTurnsBtn->setEnabled(windows);
    if (presetMenu)
        presetMenu->button()->setEnabled(windows);
    ui->_MatrixSettingBtn->setEnabled(flag);
    ui->_resetLayout->setEnabled(windows);
    // The turn show's button follows the selected window: a window without one has nothing
    // to pause or stop.
    if (windows)
        refreshTurnButton();
    updateEmptyWall();
    updateUndoButtons();
}

void DigitalMatrix::updateEmptyWall()
{
    QString text;
    if (currentServer.id.isEmpty())
        text = tr("No matrix server yet: add one with the + button below.");
    else if (isWatching())
        text = tr("The matrix has no screens arranged yet.");
    else if (!isConnected()
             && (waitDialog()->isWaiting() || (reconnector && reconnector->isActive())))
        text = tr("Connecting...");
    else if (!isConnected())
        text = tr("Not connected: press the connect button at the lower right to show the "
                  "matrix's wall.");
    else if (monitorConfig)
        text = tr("Reading the matrix's screens...");
    else
        text = tr("The matrix has no screens arranged yet: arrange them with \"EditMatrix\".");
    ui->_virtualServerWdt->setEmptyText(text);
}

void DigitalMatrix::showConfigButtons(bool config)
{
    // The button that had the keyboard may be hidden now: the keyboard goes to the wall, not
    // to whichever tool follows it.
    const QWidget *focused = QApplication::focusWidget();
    const bool barHadFocus = focused && ui->_controlWdt->isAncestorOf(focused);
    // One set is hidden before the other is shown: both at once would widen the bar, and with
    // it the window, for good.
    const QList<QWidget *> normalTools {ui->_clearSourceBtn,
                                        ui->_setSourceBtn,
                                        ui->_turnShowBtn,
                                        stopAllTurnsBtn,
                                        presetMenu ? presetMenu->button() : nullptr,
                                        ui->_MatrixSettingBtn,
                                        ui->_resetLayout};
    const QList<QWidget *> configTools {ui->_saveMatrixSettingBtn, configHint};
    for (QWidget *tool : config ? normalTools : configTools) {
        if (tool)
            tool->hide();
    }
    for (QWidget *tool : config ? configTools : normalTools) {
        if (tool)
            tool->show();
    }
    if (barHadFocus && !focused->isVisible())
        ui->_virtualServerWdt->setFocus(Qt::OtherFocusReason);
    updateUndoButtons();
}

void DigitalMatrix::placeSeparatorsLater()
{
    // Buttons shown or hidden just now get their places when the bar's layout runs.
    if (QLayout *bar = ui->_controlWdt->layout())
        bar->activate();
    setSpacingWidget();
    QMetaObject::invokeMethod(this, &DigitalMatrix::setSpacingWidget, Qt::QueuedConnection);
}

void DigitalMatrix::setSpacingWidget()
{
    if (separators.size() < SeparatorCount)
        return;
    for (QWidget *separator : qAsConst(separators))
        separator->hide();
    const auto place = [](QWidget *separator, int x, int y) {
        separator->setGeometry(x, y, SeparatorWidth, SeparatorHeight);
        separator->lower();
        separator->show();
    };
    if (!ui->_saveMatrixSettingBtn->isHidden()) {
        const QRect g = ui->_saveMatrixSettingBtn->geometry();
        place(separators.at(0), g.left() - 1, g.top());
        place(separators.at(1), g.right() - 1, g.top());
    } else {
        const QRect setting = ui->_MatrixSettingBtn->geometry();
        place(separators.at(0), setting.left() - 1, setting.top());
        place(separators.at(1), setting.right() - 1, setting.top());
        const QRect turn = ui->_turnShowBtn->geometry();
        place(separators.at(2), turn.left() - 1, turn.top());
        place(separators.at(3), turn.right() - 1, turn.top());
        const QRect source = ui->_setSourceBtn->geometry();
        place(separators.at(4), source.right() - 1, source.top());
    }
    update();
}

// ---- Connecting and logging in ------------------------------------------------------

void DigitalMatrix::connectServer()
{
    // Nothing to connect to while no server is selected.
    if (currentServer.id.isEmpty()) {
        disconnectServerStatus();
        return;
    }
    // A new connection watches only when asked to.
    if (isWatching())
        connection->setState(MatrixConnectionState::Disconnected);
    if (!watchWanted)
        endWatchOnPage();
    ui->_virtualServerWdt->clearData();
    // A new connection learns the matrix's mode from its first layout.
    leaveConfigModeOnPage();
    configModeRequests.clear();
    screenCountDeclined = false;
    setControlEnable(false);
    // Connecting again by itself says so on the page, which stays usable meanwhile.
    if (!reconnector->isAttempting())
        waitDialog()->showWaitDialog(tr("Connecting..."), serverDetail(currentServer), QUuid(),
                                     WaitTimeoutMs);
    updateEmptyWall();
    port()->connectServer(currentServer.ip, currentServer.port);
}

void DigitalMatrix::disconnectServerStatus()
{
    if (wallHistory)
        wallHistory->clear();
    setControlEnable(false);
    if (presetMenu)
        presetMenu->abort();
    ui->_virtualServerWdt->clearData();
    ui->_connectMatrixBtn->setChecked(false);
    ui->_connectMatrixBtn->setToolTip(tr("Connect server"));
    if (operatorsLabel)
        operatorsLabel->hide();
    endWatchOnPage();
}

void DigitalMatrix::rememberConnection()
{
    connection->remember(currentServer.id);
}

void DigitalMatrix::setLoggedIn()
{
    endWatchOnPage();
    setControlEnable(true);
    ui->_connectMatrixBtn->setChecked(true);
    ui->_connectMatrixBtn->setToolTip(tr("Disconnect server"));
    slotOperatorsChanged();
}

void DigitalMatrix::loginServer()
{
    connection->startLogin(currentServer.user, currentServer.password);
}

void DigitalMatrix::loginFinished(int outcome)
{
    const auto result = X86ConnectionFlow::LoginOutcome(outcome);
    if (result == X86ConnectionFlow::LoginOutcome::LoggedIn) {
        setLoggedIn();
    } else {
        // The transport connection may stay open (a watching one goes on watching); the
        // toggle shows that nobody is logged in.
        if (result == X86ConnectionFlow::LoginOutcome::Dropped)
            connection->setState(MatrixConnectionState::Disconnected);
        ui->_connectMatrixBtn->setChecked(false);
    }
    rememberConnection();
    // Connecting again by itself: back, or the next attempt; a login the operator declined
    // ends it.
    if (result == X86ConnectionFlow::LoginOutcome::LoggedIn)
        reconnector->attemptSucceeded();
    else if (result == X86ConnectionFlow::LoginOutcome::Dropped)
        reconnector->attemptFailed();
    else
        reconnector->stop();
}

void DigitalMatrix::callOffUiThread(const std::function<int()> &work,
                                    const std::function<void(int)> &done)
{
    // The matrix may keep the answer for the whole request time-out: the page goes on
    // painting meanwhile, takes no input and offers to cancel.
    const quint64 call = ++loginCall;
    setEnabled(false);
    loginWaitId = QUuid::createUuid();
    waitDialog()->showWaitDialog(tr("Logging in..."), serverDetail(currentServer), loginWaitId, 0);
    waitDialog()->setWaitCancellable(true);
    QThread *worker = QThread::create([this, work, done, call] {
        const int result = work();
        QMetaObject::invokeMethod(
                this,
                [this, done, call, result] {
                    if (call != loginCall)
                        return; // cancelled
                    endLoginWait();
                    done(result);
                },
                Qt::QueuedConnection);
    });
    worker->setParent(this);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void DigitalMatrix::endLoginWait()
{
    if (waitDialog()->isWaiting() && waitDialog()->waitId() == loginWaitId)
        waitDialog()->hideWaitDialog();
    loginWaitId = QUuid();
    setEnabled(true);
}

void DigitalMatrix::slotWaitCancelled(const QUuid &id)
{
    if (id.isNull() || id != loginWaitId)
        return;
    if (watchPending) {
        ++loginCall;
        watchPending = false;
        endLoginWait();
        port()->disconnectServer();
        disconnectServerStatus();
        connection->setState(MatrixConnectionState::Disconnected);
        rememberConnection();
        return;
    }
    if (!connection->isLoggingIn())
        return;
    ++loginCall;
    endLoginWait();
    // Cancelled is cancelled: no further attempt of its own either.
    reconnector->stop();
    // Dropping the connection also ends the call that waits for the answer.
    connection->cancelLogin();
}

void DigitalMatrix::slotConnectSuccess()
{
    qCDebug(lcModuleX86) << "connect success";
    // The matrix answers this connection's commands from the first one on.
    wallHistory->connectionStarted();
    waitDialog()->hideWaitDialog();
    ui->_connectMatrixBtn->setChecked(false);
    ui->_connectMatrixBtn->setToolTip(tr("Connect server"));
    if (watchWanted)
        startWatch();
    else
        loginServer();
}

void DigitalMatrix::connectionLost(QWidget *boxParent, const QString &title, const QString &text,
                                   bool offerReconnect, bool watch)
{
    // A page that watched (or was about to) watches again: it never takes the matrix by itself.
    const bool rewatch = watch || watchWanted || isWatching();
    const bool wasLoggedIn = isConnected() || isWatching();
    waitDialog()->hideWaitDialog();
    // The matrix cannot be reached: only the page leaves the configuration mode.
    leaveConfigModeOnPage();
    configModeRequests.clear();
    disconnectServerStatus();
    connection->setState(MatrixConnectionState::Disconnected);
    // The empty wall says it is not connected (it was told before the state changed).
    updateEmptyWall();
    if (rewatch)
        emit signalWatchConnectionLost();
    const bool server = !currentServer.id.isEmpty();
    if (!offerReconnect) {
        // Thrown out by another console: never connected again without the operator.
        reconnector->stop();
        if (pageShown && server)
            MessageBoxW::warning(boxParent, title, text, NoticeButtons);
    } else if (watch) {
        // Taken over by another console's forced login: connecting again by itself would throw
        // that console out in turn. The operator may watch instead.
        reconnector->stop();
        if (pageShown && server
            && MessageBoxW::warning(boxParent, title, text, YesNoButtons) == 1) {
            watchWanted = true;
            connectServer();
        }
    } else if (reconnector->isAttempting()) {
        // An attempt of its own failed: the next one is counted down, nobody is asked.
        reconnector->attemptFailed();
    } else if (reconnector->isActive()) {
        // Counting down already.
    } else if (wasLoggedIn && server) {
        // A working connection was lost (the matrix restarted, the network broke): the page
        // connects again by itself, with a countdown the operator can cancel; a page that
        // watched comes back watching.
        watchWanted = rewatch;
        reconnector->start(currentServer.name);
    } else if (pageShown && server
               && MessageBoxW::warning(boxParent, title, text, YesNoButtons) == 1) {
        // A connection the operator asked for did not come about: yes keeps trying.
        watchWanted = rewatch;
        reconnector->start(currentServer.name, true);
    }
    rememberConnection();
}

// ---- Watching -----------------------------------------------------------------------

void DigitalMatrix::slotWatchMatrixBtnClicked(bool checked)
{
    // The operator chose: no attempt of its own goes on.
    reconnector->stop();
    if (!checked) {
        port()->disconnectServer();
        disconnectServerStatus();
        connection->setState(MatrixConnectionState::Disconnected);
        rememberConnection();
        updateEmptyWall();
        return;
    }
    if (currentServer.id.isEmpty()) {
        watchBtn->setChecked(false);
        return;
    }
    // A page in control gives the matrix up: its configuration mode ends first.
    leaveMatrix();
    connection->setState(MatrixConnectionState::Disconnected);
    disconnectServerStatus();
    watchWanted = true;
    watchBtn->setChecked(true);
    connectServer();
}

void DigitalMatrix::startWatch()
{
    watchPending = true;
    const QString user = currentServer.user;
    const QString password = currentServer.password;
    callOffUiThread([user, password] { return port()->x86Watch(user, password); },
                    [this](int result) { watchAnswered(result); });
}

void DigitalMatrix::watchAnswered(int result)
{
    watchPending = false;
    if (result == 0) {
        setWatching();
        rememberConnection();
        // Watching again by itself: back.
        reconnector->attemptSucceeded();
        return;
    }
    QLogger::instance()->LogInfo(QStringLiteral("watch error,error code:")
                                 + QString::number(result));
    // A lost connection is reported by the connection's own outcome.
    if (result == MatrixErrNotConnected)
        return;
    // A refusal ends an attempt of its own, as a refused login does.
    reconnector->stop();
    port()->disconnectServer();
    disconnectServerStatus();
    connection->setState(MatrixConnectionState::Disconnected);
    rememberConnection();
    updateEmptyWall();
    const QString text = result == 1     ? tr("Watch failed!Wrong user or password.")
            : result == MatrixErrTimeout ? tr("Watch failed!No answer from the matrix server.")
                                         : tr("Watch failed!Error code %1.").arg(result);
    MessageBoxW::warning(window(), tr("Failed"), text, NoticeButtons);
}

void DigitalMatrix::setWatching()
{
    watchWanted = false;
    connection->setState(MatrixConnectionState::Watching);
    setControlEnable(false);
    ui->_connectMatrixBtn->setChecked(false);
    ui->_connectMatrixBtn->setToolTip(tr("Connect server"));
    // Nothing on the wall reaches the matrix: no clicks, drags, keys or menus.
    ui->_virtualServerWdt->setEnabled(false);
    serverSelector->hide();
    splitPanel->hide();
    turnControl->hide();
    watchBanner->startWatch(watchBtn);
    slotOperatorsChanged();
    updateEmptyWall();
    emit signalWatchingChanged(true);
}

void DigitalMatrix::endWatchOnPage()
{
    if (!watchBanner)
        return;
    const bool wasWatching = watchBanner->endWatch(watchBtn);
    ui->_virtualServerWdt->setEnabled(true);
    if (wasWatching)
        emit signalWatchingChanged(false);
}

void DigitalMatrix::takeControl()
{
    if (isWatching())
        loginServer();
}

void DigitalMatrix::slotConnectFailed()
{
    connectionLost(nullptr, tr("Failed"),
                   tr("Connect Matrix Server failed!Do you need to reconnect?"));
}

void DigitalMatrix::slotConnectTimeOut()
{
    connectionLost(this, tr("Warn"),
                   tr("Connect Matrix Server time out!Do you need to reconnect?"));
}

void DigitalMatrix::slotDisconnect()
{
    MatrixOperatorInfo taker;
    if (port()->x86Takeover(&taker)) {
        // Connecting again would throw the other console out in turn: say who has the matrix
        // and offer to watch it instead.
        connectionLost(this, tr("Warn"),
                       tr("%1 took over the matrix at %2.Do you want to watch the matrix?")
                               .arg(taker.shownName(), taker.shownTime()),
                       true, true);
        return;
    }
    connectionLost(this, tr("Warn"), tr("Matrix Server disconnect!Do you need to reconnect?"));
}

void DigitalMatrix::slotDisError()
{
    connectionLost(this, tr("Warn"), tr("Connect Matrix Server error!Do you need to reconnect?"));
}

void DigitalMatrix::slotConnectMatrixBtnClicked(bool checked)
{
    // By hand: the page's own attempts end.
    reconnector->stop();
    if (checked) {
        if (currentServer.id.isEmpty()) {
            ui->_connectMatrixBtn->setChecked(false);
            return;
        }
        if (isWatching()) {
            // Connecting a watching page is taking control on its connection.
            ui->_connectMatrixBtn->setChecked(false);
            takeControl();
            return;
        }
        watchWanted = false;
        connectServer();
        return;
    }
    leaveMatrix();
    port()->disconnectServer();
    disconnectServerStatus();
    connection->setState(MatrixConnectionState::Disconnected);
    rememberConnection();
}

// ---- Servers --------------------------------------------------------------------------

void DigitalMatrix::slotServerSelected(PUServerInfo info)
{
    if (!info)
        return;
    const UServerInfo selected = *info;
    if (selected.id == currentServer.id)
        return;
    reconnector->stop();
    rememberConnection();
    leaveMatrix();
    currentServer = selected;
    port()->disconnectServer();
    watchWanted = false;
    if (connection->wasConnected(selected.id)) {
        connectServer();
    } else {
        disconnectServerStatus();
        connection->rememberDisconnected(selected.id);
        connection->setState(MatrixConnectionState::Disconnected);
    }
    ui->_serverSelectBtn->setChecked(false);
    ui->_serverSelectBtn->setText(currentServer.name);
    updateEmptyWall();
}

void DigitalMatrix::slotSetActiveAsFirst()
{
    if (serverSelector->serverCount() > 0)
        slotServerSelected(serverSelector->firstServer());
}

void DigitalMatrix::on__serverSelectBtn_clicked(bool checked)
{
    const QPoint origin = ui->_serverSelectBtn->mapToGlobal(QPoint(0, 0));
    serverSelector->move(origin.x(), origin.y() - serverSelector->height());
    serverSelector->show();
    if (checked)
        serverSelector->setFocus();
}

void DigitalMatrix::serverSelectWidgetFO()
{
    ui->_serverSelectBtn->setChecked(false);
}

void DigitalMatrix::slotNextStepBtnClicked()
{
    if (serverSelector->serverCount() >= MaxServers) {
        MessageBoxW::warning(this, tr("Warn"), tr("The number of servers can't beyond 5!"),
                             NoticeButtons);
        return;
    }
    serverSelector->hide();
    ui->_serverSelectBtn->setChecked(false);
    _ModifyDigitalMatrixServerDlg dialog(this, nullptr);
    if (dialog.exec() == QDialog::Accepted)
        addServerOrSay(dialog.getServerInfo());
}

void DigitalMatrix::addServerOrSay(const DigitalMatrixServerInfo &serverInfo)
{
    // A refused record is never announced by the data centre: say so here.
    if (!port()->addServerToDB(serverInfo))
        MessageBoxW::warning(this, tr("Failed"), tr("Add matrix server failed!"), NoticeButtons);
}

void DigitalMatrix::slotAddServerFromPictrueHint(const DigitalMatrixServerInfo &serverInfo)
{
    serverSelector->hide();
    ui->_serverSelectBtn->setChecked(false);
    addServerOrSay(serverInfo);
}

void DigitalMatrix::slotAddServer(UServerInfo param_info)
{
    if (param_info.type != SERVERTYPE_X86_DIGITALMATRIX)
        return;
    ui->_serverSelectBtn->setChecked(false);
    initData();
    if (serverSelector->serverCount() > 0)
        slotServerSelected(serverSelector->lastServer());
    connection->setState(MatrixConnectionState::Disconnected);
    disconnectServerStatus();
}

void DigitalMatrix::slotShowEditServerWdt()
{
    if (currentServer.id.isEmpty())
        return;
    DigitalMatrixServerInfo info;
    info.id = currentServer.id;
    info.name = currentServer.name;
    info.ip = currentServer.ip;
    info.port = currentServer.port;
    info.matrixKind = DigitalMatrixServerInfo::X86Matrix;
    info.user = currentServer.user;
    info.password = currentServer.password;
    _ModifyDigitalMatrixServerDlg dialog(this, &info);
    if (dialog.exec() != QDialog::Accepted)
        return;
    DigitalMatrixServerInfo edited = dialog.getServerInfo();
    edited.id = currentServer.id;
    if (!port()->editServerInDB(edited))
        MessageBoxW::warning(this, tr("Failed"), tr("Edit matrix server failed!"), NoticeButtons);
}

void DigitalMatrix::slotEditServer(UServerInfo info)
{
    if (info.type != SERVERTYPE_X86_DIGITALMATRIX)
        return;
    ui->_serverSelectBtn->setChecked(false);
    initData();
    reconnector->stop();
    leaveMatrix();
    port()->disconnectServer();
    currentServer = info;
    connection->setState(MatrixConnectionState::Disconnected);
    disconnectServerStatus();
    watchWanted = false;
    ui->_serverSelectBtn->setText(info.name);
    if (connection->wasConnected(info.id))
        connectServer();
    else
        connection->rememberDisconnected(info.id);
}

void DigitalMatrix::slotDeleteServerClicked()
{
    if (currentServer.id.isEmpty())
        return;
    if (MessageBoxW::warning(this, tr("Warn"), tr("Delete selected server?"), YesNoButtons) != 1)
        return;
    const QString deletedId = currentServer.id;
    // A deleted server is left like any other: its configuration mode ends first.
    leaveMatrix();
    if (!DATACore::UserManagerCore::instance()->DeleteServer(deletedId,
                                                             SERVERTYPE_X86_DIGITALMATRIX)) {
        // Nothing was deleted: the page stays as it is, connection included.
        MessageBoxW::warning(this, tr("Failed"), tr("Delete matrix server failed!"), NoticeButtons);
        return;
    }
    reconnector->stop();
    connection->forget(deletedId);
    connection->setState(MatrixConnectionState::Disconnected);
    initData();
    ui->_serverSelectBtn->setChecked(false);

    if (serverSelector->serverCount() > 0) {
        // The deleted server is gone: nothing is remembered for it.
        currentServer = UServerInfo();
        slotServerSelected(serverSelector->firstServer());
        return;
    }
    // The last server is gone: leave the matrix and show the page idle.
    port()->disconnectServer();
    disconnectServerStatus();
    connection->setState(MatrixConnectionState::Disconnected);
    currentServer = UServerInfo();
    currentServer.port = -1;
    currentServer.type = -1;
    connection->forgetAll();
    ui->_serverSelectBtn->setText(QString());
    updateEmptyWall();
    emit signalX86MatrixServerDeleteAll();
}

void DigitalMatrix::slotDogClicked(bool) { }

void DigitalMatrix::slotSetDogWatchStatus() { }

// ---- Configuration mode and sources ---------------------------------------------------

void DigitalMatrix::slotBeginSettingBtn()
{
    if (MessageBoxW::warning(nullptr, tr("Warn"), tr("Do you want to clear the setting of matrix"),
                             YesNoButtons)
        != 1)
        return;
    ui->_virtualServerWdt->clearData();
    setControlEnable(controlsWanted);
    ui->_virtualServerWdt->setEditable(false);
    enterConfigMode();
    // The matrix answers with its screens; until then the wait says so.
    waitDialog()->showWaitDialog(tr("Reading the matrix's screens..."), serverDetail(currentServer),
                                 QUuid(), WaitTimeoutMs);
}

void DigitalMatrix::slotSaveSettingBtn()
{
    sendConfigMode(false);
    leaveConfigModeOnPage();
}

void DigitalMatrix::sendConfigMode(bool on)
{
    configModeRequests.enqueue(on);
    port()->setConfigMode(on);
}

void DigitalMatrix::enterConfigMode()
{
    // The matrix's wall is arranged anew: nothing before it can be undone.
    wallHistory->clear();
    sendConfigMode(true);
    monitorConfig = true;
    updateEmptyWall();
}

void DigitalMatrix::leaveConfigModeOnPage()
{
    // Swapped numbers belong to the arrangement just ended (or to a matrix left).
    if (wallHistory)
        wallHistory->clear();
    monitorConfig = false;
    showConfigButtons(false);
    ui->_virtualServerWdt->setEditable(true);
    ui->_virtualServerWdt->setSwapMode(false);
    placeSeparatorsLater();
    updateEmptyWall();
}

void DigitalMatrix::leaveMatrix()
{
    if (presetMenu)
        presetMenu->abort();
    if (isConnected() && monitorConfig)
        sendConfigMode(false);
    leaveConfigModeOnPage();
    configModeRequests.clear();
}

void DigitalMatrix::askScreenCount()
{
    setMatrixScreen dialog(window());
    dialog.setScreenValues(reportedRows, reportedColumns, reportedOutputs);
    if (dialog.exec() == QDialog::Accepted) {
        port()->setScreenCount(dialog.rowCount(), dialog.columnCount());
        return;
    }
    // Declined: the matrix leaves its configuration mode and keeps its screens as they were.
    screenCountDeclined = true;
    sendConfigMode(false);
    leaveConfigModeOnPage();
    // The screens can still be arranged later from the matrix settings; the tools of windows
    // wait for windows.
    setControlEnable(isConnected());
}

void DigitalMatrix::slotCommandResult(int command, int result)
{
    // The undo list numbers the commands as they are sent: it counts every answer, also those
    // of a recall.
    const bool undoTells = wallHistory->commandAnswered(result);
    // A recall checks its own steps and says what the matrix refused.
    if (presetMenu && presetMenu->takeCommandResult(command, result))
        return;
    if (command == X86CommandSetConfigMode && !configModeRequests.isEmpty()) {
        const bool on = configModeRequests.dequeue();
        if (result != 0 && on) {
            leaveConfigModeOnPage();
            // Unanswered, the matrix may still have turned the mode on: it is turned off.
            if (result == MatrixErrTimeout && isConnected())
                sendConfigMode(false);
        }
    }
    // An undo or redo tells its own refusal.
    if (undoTells && result != 0) {
        if (result == MatrixErrTimeout)
            ui->_virtualServerWdt->showReportedRects();
        port()->requestLayout();
        return;
    }
    if (result == 0 || (!isConnected() && !isWatching()))
        return;
    QLogger::instance()->LogInfo(
            QStringLiteral("matrix command %1 refused, error code:").arg(command)
            + QString::number(result));
    const QString text = [command, result]() -> QString {
        // A command the matrix did not answer in time may or may not have been carried out.
        if (result == MatrixErrTimeout && command != X86CommandRequestLayout
            && command != X86CommandSelectMonitor)
            return tr("The matrix server did not answer in time!");
        switch (command) {
        case X86CommandSetScreenCount:
            return tr("The matrix server refused the screen count!");
        case X86CommandExchangeMirrors:
            return tr("The matrix server refused to swap the windows!");
        case X86CommandSetConfigMode:
            return tr("The matrix server refused the configuration mode!");
        case X86CommandSetMonitorSplit:
            return tr("The matrix server refused the split!");
        case X86CommandSetMonitorSources:
        case X86CommandSetMonitorTurnSources:
            return tr("The matrix server refused the sources!");
        case X86CommandSetTurnState:
            return tr("The matrix server refused to change the turn show!");
        case X86CommandClearSource:
            return tr("The matrix server refused to clear the source!");
        case X86CommandZoomMirrorAt:
            return tr("The matrix server refused to zoom the window!");
        case X86CommandSetMirrorRect:
            return tr("The matrix server refused to move the window!");
        default:
            return QString();
        }
    }();
    // Whatever was refused, the page draws again what the matrix holds; meanwhile, without
    // an answer, what it reported last. (A layout request itself is not asked again: a
    // matrix that refuses or ignores it would be asked without end.)
    if (result == MatrixErrTimeout)
        ui->_virtualServerWdt->showReportedRects();
    if (command != X86CommandRequestLayout)
        port()->requestLayout();
    if (text.isEmpty())
        return;
    // Nothing is awaited any more from a refused command.
    waitDialog()->hideWaitDialog();
    // One operator action may be several commands (stop, split, sources, start): the refusals
    // that follow the first one, while its message is up or right after it, say nothing new.
    // A screen count is one command of its own, always answered by asking again.
    const bool burst = lastRefusal.isValid() && lastRefusal.elapsed() < RefusalBurstMs;
    if (refusalShown || (burst && command != X86CommandSetScreenCount))
        return;
    refusalShown = true;
    // A watching console learns why, and what to do.
    const QString reason = result == MatrixErrWatchOnly
            ? QLatin1Char(' ') + tr("This console only watches the matrix: take control first.")
            : QString();
    MessageBoxW::warning(window(), tr("Failed"), text + reason, NoticeButtons);
    refusalShown = false;
    lastRefusal.start();
    // A refused screen count is asked again, with what the matrix reported.
    if (command == X86CommandSetScreenCount && isConnected() && monitorConfig)
        askScreenCount();
}

void DigitalMatrix::slotClearSource()
{
    if (currentMonitor < 0)
        return;
    if (MessageBoxW::warning(nullptr, tr("Warn"), tr("Do you want to clear the source?"),
                             YesNoButtons)
        != 1)
        return;
    // The window's new state comes with the matrix's next layout.
    beginWallChange(X86WallHistory::Sources | X86WallHistory::Turn, currentMonitor);
    port()->clearSource(currentMonitor);
    endWallChange();
}

void DigitalMatrix::slotSetSourceBtnClicked()
{
    // Sources go to the window selected on the wall; without one there is nothing to set.
    if (currentMonitor < 0)
        return;
    SetChannelSource dialog(nullptr);
    dialog.setMonitor(currentMonitor);
    // The dialog opens with what the matrix last reported for the window; the report that
    // follows the selection brings it up to date.
    const X86WindowOnAir current = ui->_virtualServerWdt->windowOnAir(currentMonitor);
    if (current.hasSources())
        dialog.groupTree()->slotGroupRes(currentMonitor, current.records(), current.interval());
    port()->selectMonitor(currentMonitor);
    connect(&dialog, &SetChannelSource::sigSpliteButtonClicked, this,
            &DigitalMatrix::slotSetMontroSplite);
    connect(&dialog, &SetChannelSource::sigSetGroupFinished, this,
            &DigitalMatrix::slotSetGroupFinished);
    connect(&dialog, &SetChannelSource::sigSetViewFinished, this,
            &DigitalMatrix::slotSetViewFinished);
    connect(dialog.groupTree(), &MatrixGroupTree::sigChannelsDraggedOut, this,
            &DigitalMatrix::slotChannelsDroppedAt);
    // Whatever the dialog sends to the window is one step.
    const int monitor = currentMonitor;
    beginWallChange(X86WallHistory::Split | X86WallHistory::Sources | X86WallHistory::Turn,
                    monitor);
    dialog.exec();
    endWallChange();
}

void DigitalMatrix::slotHideView() { }

void DigitalMatrix::slotGroupResCount(int count)
{
    ui->_turnShowBtn->setEnabled(!isWatching() && count > 0
                                 && currentTurnState != X86TurnState::NoTurn);
}

void DigitalMatrix::slotSetGroupFinished(int splitCount, bool turning)
{
    // The window shows what the matrix made of the sources (a fixed set holds no turn show, a
    // refused set nothing new): its split and turn state come with the matrix's layout.
    Q_UNUSED(splitCount)
    Q_UNUSED(turning)
    port()->requestLayout();
}

void DigitalMatrix::slotSetViewFinished(int splitCount)
{
    Q_UNUSED(splitCount)
    port()->requestLayout();
}

// ---- Wall -------------------------------------------------------------------------------

void DigitalMatrix::slotMatrixInfo(int screens, int rows, int columns)
{
    reportedOutputs = screens;
    reportedRows = rows;
    reportedColumns = columns;
    // A watcher never arranges the screens (nor one whose watch request is on its way).
    if (isWatching() || watchPending)
        return;
    ui->_virtualServerWdt->clearData();
    setControlEnable(controlsWanted);
    showConfigButtons(true);
    ui->_virtualServerWdt->setEditable(false);
    placeSeparatorsLater();
    waitDialog()->hideWaitDialog();
    if (!monitorConfig) {
        enterConfigMode();
        return;
    }
    askScreenCount();
}

void DigitalMatrix::slotCreateNewLayout(RECT wallRect, int mirrorCount, int p1, int p2, int p3,
                                        int p4)
{
    reportedOutputs = p1;
    reportedRows = p3;
    reportedColumns = p4;
    // Until the matrix has answered a request to turn its configuration mode on, a layout
    // sent before it says nothing about the mode.
    const bool configPending = configModeRequests.contains(true);
    if (p2 != 0) {
        // The matrix is in its configuration mode (also when it was found so on connecting).
        if (!monitorConfig)
            wallHistory->clear();
        monitorConfig = true;
        showConfigButtons(true);
        placeSeparatorsLater();
        ui->_virtualServerWdt->setEditable(false);
    } else if (monitorConfig && !configPending) {
        // Not a configuration layout: the mode has ended on the matrix (another operator
        // saved, or the matrix restarted), so it ends on the page.
        leaveConfigModeOnPage();
    }
    if (p2 == 0 && p3 == 0 && p4 == 0 && !monitorConfig && !screenCountDeclined && !isWatching()
        && !watchPending) {
        // A new matrix: its screens are arranged in its configuration mode, which reports the
        // outputs the dialog offers.
        showConfigButtons(true);
        placeSeparatorsLater();
        ui->_virtualServerWdt->setEditable(false);
        enterConfigMode();
    }
    ui->_virtualServerWdt->setLayoutInfo(wallRect, mirrorCount, p1, p2, p3, p4);
}

void DigitalMatrix::slotSetOneMirror(RECT homeRect, RECT mirrorRect, int index, int splitCount,
                                     int layer, int param4, int turnState)
{
    ui->_virtualServerWdt->setMirror(homeRect, mirrorRect, index, splitCount, layer, param4,
                                     turnState);
    // The wall repaints the windows whose picture changed; the rest of the page stays.
    qCDebug(lcModuleX86) << "slotSetOneMirror";
}

void DigitalMatrix::slotSetMirrorEnd()
{
    // In the configuration mode windows swap their numbers instead of moving.
    ui->_virtualServerWdt->setEditable(!monitorConfig);
    ui->_virtualServerWdt->setSwapMode(monitorConfig);
    ui->_virtualServerWdt->endLayout();
    ui->_virtualServerWdt->raiseMirrorsByLayer();
    setControlEnable(controlsWanted);
    refreshTurnButton();
}

void DigitalMatrix::refreshTurnButton()
{
    const MirrorWidget *current = ui->_virtualServerWdt->mirrorByIndex(currentMonitor);
    if (!current)
        return;
    currentTurnState = current->getTurnState();
    ui->_turnShowBtn->setEnabled(isConnected() && currentTurnState != X86TurnState::NoTurn
                                 && ui->_setSourceBtn->isEnabled());
    if (currentTurnState != X86TurnState::NoTurn)
        turnControl->setPausedState(currentTurnState == X86TurnState::Paused);
}

void DigitalMatrix::slotSetCurrMontroIndex(int index, int turnState)
{
    currentMonitor = index;
    currentTurnState = X86TurnState(turnState);
    switch (currentTurnState) {
    case X86TurnState::NoTurn:
        ui->_turnShowBtn->setEnabled(false);
        break;
    case X86TurnState::Running:
        ui->_turnShowBtn->setEnabled(true);
        turnControl->setPausedState(false);
        break;
    case X86TurnState::Paused:
        ui->_turnShowBtn->setEnabled(true);
        turnControl->setPausedState(true);
        break;
    default:
        break;
    }
    // A watcher selects nothing on the matrix.
    if (isWatching() || watchPending) {
        ui->_turnShowBtn->setEnabled(false);
        return;
    }
    port()->selectMonitor(index);
}

void DigitalMatrix::on__resetLayout_clicked()
{
    if (MessageBoxW::warning(this, tr("Warn"), tr("Reset the layout?"), YesNoButtons) == 1)
        ui->_virtualServerWdt->resetLayout();
}

// ---- Split ------------------------------------------------------------------------------

void DigitalMatrix::slotSetMontroSplite(int count)
{
    qCDebug(lcModuleX86) << "call slotSetMontroSplite";
    if (count <= 0 || currentMonitor < 0)
        return;
    // The end of the change asks for the layout.
    beginWallChange(X86WallHistory::Split, currentMonitor);
    port()->setMonitorSplit(currentMonitor, count);
    endWallChange();
}

void DigitalMatrix::slotShowSplitPanel(int index, const QPoint &globalPos)
{
    // Only a logged-in page outside the configuration mode splits windows.
    if (!isConnected() || monitorConfig || !ui->_saveMatrixSettingBtn->isHidden()
        || !ui->_resetLayout->isEnabled() || index != currentMonitor)
        return;
    splitPanel->move(globalPos);
    splitPanel->show();
    splitPanel->setFocus();
}

// ---- Turn show ----------------------------------------------------------------------------

void DigitalMatrix::on__turnShowBtn_clicked(bool checked)
{
    // Opens upwards, left-aligned with the button.
    const QPoint origin = ui->_turnShowBtn->mapToGlobal(QPoint(0, 0));
    turnControl->move(origin.x(), origin.y() - turnControl->height());
    turnControl->setVisible(checked);
    turnControl->setFocus();
}

void DigitalMatrix::slotStartTurn()
{
    if (currentMonitor < 0)
        return;
    beginWallChange(X86WallHistory::Turn, currentMonitor);
    port()->setTurnState(currentMonitor, X86TurnState::Running);
    endWallChange();
    ui->_virtualServerWdt->setMirrorState(currentMonitor, X86TurnState::Running, -1);
    turnControl->setPausedState(false);
}

void DigitalMatrix::slotPauseTurn()
{
    if (currentMonitor < 0)
        return;
    beginWallChange(X86WallHistory::Turn, currentMonitor);
    port()->setTurnState(currentMonitor, X86TurnState::Paused);
    endWallChange();
    ui->_virtualServerWdt->setMirrorState(currentMonitor, X86TurnState::Paused, -1);
    turnControl->setPausedState(true);
}

void DigitalMatrix::slotStopTurn()
{
    if (currentMonitor < 0)
        return;
    if (MessageBoxW::warning(nullptr, tr("Warn"), tr("Do you want to stop taking turns to show"),
                             YesNoButtons)
        != 1)
        return;
    beginWallChange(X86WallHistory::Turn, currentMonitor);
    port()->setTurnState(currentMonitor, X86TurnState::NoTurn);
    endWallChange();
    ui->_virtualServerWdt->setMirrorState(currentMonitor, X86TurnState::NoTurn, -1);
    ui->_turnShowBtn->setEnabled(false);
}

void DigitalMatrix::slotHideTurnButton()
{
    ui->_turnShowBtn->setChecked(false);
}

void DigitalMatrix::slotStopAllTurnsBtnClicked()
{
    // The windows whose turn show the matrix last reported running or paused.
    QList<int> turning;
    for (const MirrorWidget *mirror : ui->_virtualServerWdt->getMirrors()) {
        const X86TurnState state = mirror->getTurnState();
        if (state == X86TurnState::Running || state == X86TurnState::Paused)
            turning.append(mirror->getIndex());
    }
    if (turning.isEmpty()) {
        MessageBoxW::warning(window(), tr("Warn"), tr("No turn show runs on the wall."),
                             NoticeButtons);
        return;
    }
    if (MessageBoxW::warning(window(), tr("Warn"),
                             tr("Do you want to stop every turn show on the wall?"), YesNoButtons)
        != 1)
        return;
    // A refusal is shown once and the wall drawn again from the matrix (slotCommandResult).
    wallHistory->begin(X86WallHistory::Turn, turning);
    for (int monitor : qAsConst(turning)) {
        port()->setTurnState(monitor, X86TurnState::NoTurn);
        ui->_virtualServerWdt->setMirrorState(monitor, X86TurnState::NoTurn, -1);
    }
    wallHistory->end();
    if (turning.contains(currentMonitor))
        ui->_turnShowBtn->setEnabled(false);
}

// ---- Wall presets and cameras dropped on windows ------------------------------------------

void DigitalMatrix::initPresetsAndCameras()
{
    MatrixManageWidget *wall = ui->_virtualServerWdt;
    presetMenu = new X86PresetMenu(this, wall, [this] { return presetServerId(); });
    presetMenu->button()->setEnabled(false);
    // A recall replaces the wall: what came before it cannot be undone step by step (an undo
    // would find the windows changed and blame another operator).
    connect(presetMenu, &X86PresetMenu::recallStarted, this, [this] {
        if (wallHistory)
            wallHistory->clear();
        updateUndoButtons();
    });
    // Beside the wall tools, where the bar's stretch was.
    if (auto *bar = qobject_cast<QGridLayout *>(ui->_controlWdt->layout())) {
        auto *box = new QHBoxLayout;
        box->setContentsMargins(0, 0, 0, 0);
        if (QLayoutItem *stretch = bar->itemAtPosition(0, 4)) {
            if (stretch->spacerItem()) {
                bar->removeItem(stretch);
                box->addItem(stretch);
            }
        }
        // In the configuration mode, beside "Save": what the operator does there.
        configHint = new QLabel(configHintText(), ui->_controlWdt);
        configHint->setObjectName(QStringLiteral("_configHintLab"));
        configHint->setStyleSheet(QStringLiteral("color: #c8ced6; padding: 0 6px;"));
        configHint->hide();
        box->addWidget(configHint);
        box->addWidget(presetMenu->button());
        bar->addLayout(box, 0, 4);
    }
    cameraPanel = new X86CameraPanel(ui->_matrixWidget);
    if (auto *area = qobject_cast<QGridLayout *>(ui->_matrixWidget->layout())) {
        area->addWidget(cameraPanel, 0, 1);
        // The tools stay as wide as the page.
        area->removeWidget(ui->_controlWdt);
        area->addWidget(ui->_controlWdt, 1, 0, 1, 2);
    }
    connect(wall, &MatrixManageWidget::sigChannelsDropped, this,
            &DigitalMatrix::slotChannelsDropped);
}

QString DigitalMatrix::configHintText()
{
    return tr("Drag a window onto another to swap their numbers, then save.");
}

QString DigitalMatrix::presetServerId() const
{
    if (!isConnected() || monitorConfig || ui->_virtualServerWdt->getMirrors().isEmpty())
        return QString();
    return currentServer.id;
}

void DigitalMatrix::slotChannelsDroppedAt(const QPoint &globalPos, const QStringList &channelKeys)
{
    MatrixManageWidget *wall = ui->_virtualServerWdt;
    QWidget *under = wall->childAt(wall->mapFromGlobal(globalPos));
    MirrorWidget *mirror = nullptr;
    for (; under && under != wall && !mirror; under = under->parentWidget())
        mirror = qobject_cast<MirrorWidget *>(under);
    if (mirror && wall->isVisible())
        slotChannelsDropped(mirror->getIndex(), mirror->paneAt(mirror->mapFromGlobal(globalPos)),
                            channelKeys);
}

void DigitalMatrix::slotChannelsDropped(int index, int pane, const QStringList &channelKeys)
{
    MatrixManageWidget *wall = ui->_virtualServerWdt;
    const MirrorWidget *mirror = wall->mirrorByIndex(index);
    if (!mirror || !isConnected() || monitorConfig || presetMenu->isRecalling()
        || channelKeys.isEmpty())
        return;
    const X86TurnState turn = mirror->getTurnState();
    const bool turning = turn == X86TurnState::Running || turn == X86TurnState::Paused;
    if (turning
        && MessageBoxW::warning(window(), tr("Warn"),
                                tr("Window %1 runs a turn show. Do you want to stop it and put "
                                   "the camera on the window?")
                                        .arg(index + 1),
                                YesNoButtons)
                != 1)
        return;
    // The window's sources as the matrix reported them, the dropped cameras from the pane
    // they were dropped on; cameras beyond the last pane are not placed.
    QMap<int, _ST_ChnInfo> bySequence;
    for (const _ST_ChnInfo &record : wall->windowOnAir(index).records())
        bySequence.insert(record.sequence, record);
    const int panes = qMax(1, mirror->getSplitCount());
    int sequence = pane + 1;
    for (const QString &key : channelKeys) {
        if (sequence > panes)
            break;
        bool found = false;
        const _ST_ChnInfo record = ChannelRecordBuilder::forChannel(key, sequence, &found);
        if (!found)
            continue;
        bySequence.insert(sequence++, record);
    }
    if (sequence == pane + 1) {
        MessageBoxW::warning(window(), tr("Warn"), tr("The camera is not in the site any more."),
                             NoticeButtons);
        return;
    }
    const QVector<_ST_ChnInfo> records = QVector<_ST_ChnInfo>::fromList(bySequence.values());
    // The drop is one step of the undo list, stopping the window's turn show included.
    beginWallChange(X86WallHistory::Sources | X86WallHistory::Turn, index);
    if (turning) {
        port()->setTurnState(index, X86TurnState::NoTurn);
        wall->setMirrorState(index, X86TurnState::NoTurn, -1);
        if (index == currentMonitor)
            ui->_turnShowBtn->setEnabled(false);
    }
    // A refusal is shown once and the wall drawn again from the matrix (slotCommandResult);
    // accepted sources come back with the matrix's report.
    port()->setMonitorSources(index, records.constData(), records.size());
    endWallChange();
}

// ---- Events -------------------------------------------------------------------------------

void DigitalMatrix::paintEvent(QPaintEvent *event)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    painter.end();
    QWidget::paintEvent(event);
}

void DigitalMatrix::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    setSpacingWidget();
}

void DigitalMatrix::moveEvent(QMoveEvent *event)
{
    setSpacingWidget();
    QWidget::moveEvent(event);
}

void DigitalMatrix::showEvent(QShowEvent *event)
{
    pageShown = true;
    onlineProbe->start();
    if (firstShow) {
        ui->_serverDogBtn->setEnabled(false);
        ui->_serverDogBtn->setChecked(false);
        ui->_serverDogBtn->setToolTip(tr("connect server listener fail!"));
        ui->_serverDogBtn->setWhatsThis(tr("connect server listener fail!"));
        activateTimer->start(ActivateDelayMs);
        firstShow = false;
    }
    setSpacingWidget();
    QWidget::showEvent(event);
}

void DigitalMatrix::hideEvent(QHideEvent *event)
{
    // The host shows another page: the configuration mode, which every operator of the matrix
    // sees, ends with the page (the connection stays). Minimising hides it only for a while.
    if (!event->spontaneous() && isConnected() && monitorConfig) {
        sendConfigMode(false);
        leaveConfigModeOnPage();
    }
    pageShown = false;
    onlineProbe->stop();
    setSpacingWidget();
    QWidget::hideEvent(event);
}

void DigitalMatrix::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        // The server's name is data, not a text of the form.
        const QString serverName = ui->_serverSelectBtn->text();
        ui->retranslateUi(this);
        ui->_serverSelectBtn->setText(serverName);
        ui->_serverSelectBtn->setToolTip(tr("select server"));
        watchBtn->setToolTip(tr("Watch the matrix without taking control"));
        ui->_connectMatrixBtn->setToolTip(ui->_connectMatrixBtn->isChecked()
                                                  ? tr("Disconnect server")
                                                  : tr("Connect server"));
        if (!firstShow) {
            ui->_serverDogBtn->setToolTip(tr("connect server listener fail!"));
            ui->_serverDogBtn->setWhatsThis(tr("connect server listener fail!"));
        }
        stopAllTurnsBtn->setText(tr("Stop all turns"));
        if (configHint)
            configHint->setText(configHintText());
        for (const QString &id : qAsConst(knownProbeServers))
            showOnlineState(id);
        presetMenu->retranslate();
        undoBtn->setText(tr("Undo"));
        redoBtn->setText(tr("Redo"));
        updateUndoButtons();
        updateEmptyWall();
        slotOperatorsChanged();
    }
}

// ---- Undo and redo of wall changes ---------------------------------------------------------

void DigitalMatrix::initUndo()
{
    wallHistory = new X86WallHistory(ui->_virtualServerWdt, this);
    auto *box = new QWidget(ui->_controlWdt);
    box->setObjectName(QStringLiteral("_undoRedoWdt"));
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    const auto makeButton = [box, row](const char *name, const QString &text) {
        auto *button = new QPushButton(text, box);
        button->setObjectName(QLatin1String(name));
        button->setProperty("matrixcontrolbutton", true);
        button->setFocusPolicy(Qt::ClickFocus);
        button->setAutoDefault(false);
        button->setFixedHeight(39);
        row->addWidget(button);
        return button;
    };
    undoBtn = makeButton("_undoBtn", tr("Undo"));
    redoBtn = makeButton("_redoBtn", tr("Redo"));
    if (auto *bar = qobject_cast<QGridLayout *>(ui->_controlWdt->layout()))
        bar->addWidget(box, 0, 12);
    // Ctrl+Z and Ctrl+Shift+Z while the page (the wall, a button) has the keyboard.
    undoAction = new QAction(this);
    undoAction->setShortcut(QKeySequence::Undo);
    undoAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    redoAction = new QAction(this);
    redoAction->setShortcut(QKeySequence::Redo);
    redoAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(undoAction);
    addAction(redoAction);
    connect(undoBtn, &QPushButton::clicked, wallHistory, &X86WallHistory::undo);
    connect(redoBtn, &QPushButton::clicked, wallHistory, &X86WallHistory::redo);
    connect(undoAction, &QAction::triggered, this, [this] {
        if (undoAction->isEnabled())
            wallHistory->undo();
    });
    connect(redoAction, &QAction::triggered, this, [this] {
        if (redoAction->isEnabled())
            wallHistory->redo();
    });
    connect(wallHistory, &X86WallHistory::changed, this, &DigitalMatrix::updateUndoButtons);
    connect(wallHistory, &X86WallHistory::notice, this, [this](const QString &text) {
        MessageBoxW::warning(window(), tr("Failed"), text, NoticeButtons);
    });
    connect(ui->_virtualServerWdt, &MatrixManageWidget::sigWindowsChanging, wallHistory,
            &X86WallHistory::begin);
    connect(ui->_virtualServerWdt, &MatrixManageWidget::sigWindowsChanged, wallHistory,
            &X86WallHistory::end);
    updateUndoButtons();
}

void DigitalMatrix::updateUndoButtons()
{
    if (!wallHistory || !undoBtn)
        return;
    const WallUndoHistory *steps = wallHistory->history();
    // In the configuration mode only numbers are swapped; outside it windows are moved.
    const bool mayAct = isConnected() && controlsWanted && !wallHistory->isBusy()
            && (monitorConfig || ui->_virtualServerWdt->isEditable());
    const bool undo =
            mayAct && steps->canUndo() && wallHistory->undoChangesNumbers() == monitorConfig;
    const bool redo =
            mayAct && steps->canRedo() && wallHistory->redoChangesNumbers() == monitorConfig;
    // A button that loses its use while it has the keyboard hands it to the wall, not to the
    // tool after it.
    const bool wallTakesFocus = (undoBtn->hasFocus() && !undo) || (redoBtn->hasFocus() && !redo);
    undoBtn->setEnabled(undo);
    redoBtn->setEnabled(redo);
    if (wallTakesFocus)
        ui->_virtualServerWdt->setFocus(Qt::OtherFocusReason);
    undoAction->setEnabled(undo);
    redoAction->setEnabled(redo);
    undoBtn->setToolTip(steps->canUndo() ? tr("Undo %1").arg(steps->undoText())
                                         : tr("Nothing to undo"));
    redoBtn->setToolTip(steps->canRedo() ? tr("Redo %1").arg(steps->redoText())
                                         : tr("Nothing to redo"));
}

void DigitalMatrix::beginWallChange(int aspects, int monitor)
{
    wallHistory->begin(aspects, {monitor});
}

void DigitalMatrix::endWallChange()
{
    wallHistory->end();
}

} // namespace LUMO_DIGITALMATRIX_MODULE
