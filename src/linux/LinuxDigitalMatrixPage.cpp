#include "LinuxDigitalMatrixPage.h"
#include "ui_LinuxDigitalMatrixPage.h"

#include "AdjustCellNumWidget.h"
#include "AreaTreeForMatrixConfig.h"
#include "ChannelsOperWidget.h"
#include "ConfigChannelsWidget.h"
#include "DigitalMatrixInteractionPort.h"
#include "DigitalMatrixServerOperWidget.h"
#include "LinuxMatrixUpgradeDlg.h"
#include "LinuxPrompt.h"
#include "LinuxWallHistory.h"
#include "LinuxWallPreset.h"
#include "MatrixOnlineProbe.h"
#include "PresetMenuEntries.h"
#include "PresetMisfitQuestion.h"
#include "MatrixOperButtonsWt.h"
#include "MatrixReconnector.h"
#include "MatrixRowColumnSetDlg.h"
#include "MatrixServerSelWidget.h"
#include "ModifyDigitalMatrixServerDlg.h"

#include "QLogger.h"
#include "ReconnectBar.h"
#include "UserManagerCore.h"
#include "WaitDialog.h"
#include "WallUndoHistory.h"
#include "WatchBanner.h"

#include <QAction>
#include <QBoxLayout>
#include <QEvent>
#include <QEventLoop>
#include <QApplication>
#include <QPushButton>
#include <QHideEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QShowEvent>
#include <QThread>
#include <QLabel>
#include <QTimer>
#include <QUuid>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {
// How long a wait dialog stays up when the data centre never answers.
constexpr int WaitTimeoutMs = 15000;
// Delay of the first server selection after the page is first shown.
constexpr int FirstShowDelayMs = 10;
// Factory reset mode the matrix takes from this page.
constexpr int FactoryResetMode = 1;
// Time between two polls of a running firmware upgrade.
constexpr int DefaultUpgradePollMs = 2000;
// Channels one cell takes at most.
constexpr int MaxCellChannels = 16;
// Time between two checks that the connected matrix still answers.
constexpr int DefaultKeepAliveMs = 1000;
// How long a login call being ended is given between two drops of its connection.
constexpr unsigned long StaleLoginWaitMs = 20;
// The other consoles on the matrix are asked for every this many answered keep-alives.
constexpr int KeepAlivesPerOperatorList = 5;
// A watched upgrade is given up after this many polls without a connection in a row, or
// after this long without one, whichever comes first (each new login may take the
// service's connect time-out).
constexpr int MaxLostUpgradePolls = 30;
constexpr qint64 MaxLostUpgradeMs = 60000;

// The service could not reach the matrix (as opposed to a matrix's answer).
bool isConnectionFailure(int result)
{
    return result == MatrixErrNotConnected || result == MatrixErrTimeout
            || result == MatrixErrProtocol;
}

DigitalMatrixInteractionPort *port()
{
    return DigitalMatrixInteractionPort::instance();
}

void logLine(const QString &text)
{
    QLogger::instance()->LogInfo(text);
}
} // namespace

struct LinuxDigitalMatrixPage::LoginWait
{
    quint64 call = 0;
    QUuid waitId;
    QEventLoop loop;
    LoginCallEnd end = LoginCallEnd::Superseded;
    int result = 0;
};

LinuxDigitalMatrixPage::LinuxDigitalMatrixPage(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::LinuxDigitalMatrixPage)
    , upgradeTimer(new QTimer(this))
    , keepAliveTimer(new QTimer(this))
{
    ui->setupUi(this);
    // Host names are whatever the other consoles sent: never read as markup.
    operatorsLabel = new QLabel(this);
    operatorsLabel->setObjectName(QStringLiteral("operatorsLab"));
    operatorsLabel->setProperty("lumo_grayYaHei", true);
    operatorsLabel->setTextFormat(Qt::PlainText);
    operatorsLabel->hide();
    ui->pageLayout->insertWidget(ui->pageLayout->indexOf(ui->serverOperWdt) + 1, operatorsLabel);
    // Watching: a toggle beside connect and a bar under the server line while the page watches.
    watchBtn = new QPushButton(tr("Watch"), ui->serverOperWdt);
    watchBtn->setObjectName(QStringLiteral("_watchServerBtn"));
    watchBtn->setProperty("lumo_watchServerBt", true);
    watchBtn->setCheckable(true);
    watchBtn->setAutoDefault(false);
    watchBtn->setToolTip(tr("Watch the matrix without taking control"));
    if (auto *row = qobject_cast<QBoxLayout *>(ui->serverOperWdt->layout()))
        row->insertWidget(row->indexOf(ui->serverOperWdt->connectButton()) + 1, watchBtn);
    connect(watchBtn, &QPushButton::clicked, this,
            &LinuxDigitalMatrixPage::slotWatchServerBtClicked);
    watchBanner = new WatchBanner(this);
    watchBanner->hide();
    ui->pageLayout->insertWidget(ui->pageLayout->indexOf(operatorsLabel) + 1, watchBanner);
    connect(watchBanner, &WatchBanner::signalTakeControlClicked, this,
            [this] { slotConnectServerBtClicked(true); });
    upgradeTimer->setInterval(DefaultUpgradePollMs);
    keepAliveTimer->setInterval(DefaultKeepAliveMs);
    connect(COMMONUSELIB::WaitDialog::getInstance(), &COMMONUSELIB::WaitDialog::signalWaitCancelled,
            this, &LinuxDigitalMatrixPage::slotWaitCancelled);
    initReconnect();
    getMatrixServersAlreadyConfig();
    connectSignalsWithSlots();
    initUndo();
    setWidgetsEnabled(false);
    updateServerButtons();
}

void LinuxDigitalMatrixPage::initReconnect()
{
    reconnector = new MatrixReconnector(this);
    reconnectBar = new ReconnectBar(reconnector, this);
    ui->pageLayout->insertWidget(ui->pageLayout->indexOf(ui->serverOperWdt) + 1, reconnectBar);
    connect(reconnector, &MatrixReconnector::attemptDue, this,
            &LinuxDigitalMatrixPage::attemptReconnect);
    onlineProbe = new MatrixOnlineProbe(
            [](const QString &ip, int port, int timeoutMs) {
                return DigitalMatrixInteractionPort::instance()->probeLinux(ip, port, timeoutMs);
            },
            this);
    connect(onlineProbe, &MatrixOnlineProbe::stateChanged, this,
            [this](const QString &id) { showOnlineState(id); });
    connect(onlineProbe, &MatrixOnlineProbe::probed, this,
            [this](const QString &id, MatrixOnlineProbe::Online state) {
                probedForReconnect(id, int(state));
            });
}

void LinuxDigitalMatrixPage::reconnectLater(bool watching)
{
    reconnectWatching = watching;
    if (hasCurrentServer())
        reconnector->start(servers.at(currentIndex)->name);
}

void LinuxDigitalMatrixPage::attemptReconnect()
{
    if (!hasCurrentServer() || isServerConnectOK() || isWatching() || upgradeWaiting) {
        reconnector->stop();
        return;
    }
    // The matrix is probed off this thread first, so one that is down or silent costs the
    // page no login wait.
    reconnectProbeId = servers.at(currentIndex)->id;
    onlineProbe->probeServer(reconnectProbeId);
}

void LinuxDigitalMatrixPage::probedForReconnect(const QString &id, int state)
{
    if (id != reconnectProbeId || !reconnector->isAttempting())
        return;
    reconnectProbeId.clear();
    if (!hasCurrentServer() || servers.at(currentIndex)->id != id || isServerConnectOK()) {
        reconnector->stop();
        return;
    }
    // A question or dialog on screen runs its own event loop in a slot of this page: the
    // attempt waits for the next turn.
    if (MatrixOnlineProbe::Online(state) != MatrixOnlineProbe::Online::Online
        || QApplication::activeModalWidget() || loginWait) {
        reconnector->attemptFailed();
        return;
    }
    reconnecting = true;
    // The login waits in an event loop of its own, in which the page may go.
    QPointer<LinuxDigitalMatrixPage> alive(this);
    if (reconnectWatching)
        slotWatchServerBtClicked(true);
    else
        slotConnectServerBtClicked(true);
    if (!alive)
        return;
    reconnecting = false;
    if (isServerConnectOK() || isWatching())
        reconnector->attemptSucceeded();
    else
        reconnector->attemptFailed();
}

void LinuxDigitalMatrixPage::listServersForProbe()
{
    QStringList listed;
    for (const DigitalMatrixServerInfo *server : qAsConst(servers)) {
        listed.append(server->id);
        onlineProbe->setServer(server->id, server->ip, server->port);
        showOnlineState(server->id);
    }
    onlineProbe->retainServers(listed);
}

void LinuxDigitalMatrixPage::showOnlineState(const QString &id)
{
    QAbstractButton *button = ui->serverSelWdt->serverButton(id);
    if (!button)
        return;
    const MatrixOnlineProbe::Online state = onlineProbe->state(id);
    button->setIcon(onlineProbe->icon(state));
    button->setToolTip(ui->serverSelWdt->serverName(id) + QLatin1Char('\n')
                       + MatrixOnlineProbe::toolTip(state));
}

LinuxDigitalMatrixPage::~LinuxDigitalMatrixPage()
{
    // A login still waiting for the matrix ends with its connection; the slot that waits for
    // it finds the page gone.
    if (loginWait) {
        if (COMMONUSELIB::WaitDialog::getInstance()->waitId() == loginWait->waitId)
            hideWait();
        loginWait->loop.quit();
        loginWait = nullptr;
    }
    ++loginCall;
    endLoginCalls();
    keepAliveTimer->stop();
    stopUpgradePoll();
    // The connection itself stays open; only the arrangement mode must not outlive us.
    leaveArrangeMode();
    ui.reset();
    serverStatus.clear();
    qDeleteAll(servers);
    servers.clear();
}

QList<DigitalMatrixServerInfo> LinuxDigitalMatrixPage::matrixServers() const
{
    QList<DigitalMatrixServerInfo> list;
    for (const DigitalMatrixServerInfo *server : servers)
        list.append(*server);
    return list;
}

LinuxDigitalMatrixPage::MatrixStatus LinuxDigitalMatrixPage::matrixStatus() const
{
    return ui->operButtonsWt->status();
}

void LinuxDigitalMatrixPage::connectSignalsWithSlots()
{
    DigitalMatrixServerOperWidget *oper = ui->serverOperWdt;
    connect(oper, &DigitalMatrixServerOperWidget::signalConnectServerBtClicked, this,
            &LinuxDigitalMatrixPage::slotConnectServerBtClicked);
    connect(oper, &DigitalMatrixServerOperWidget::signalEditServerBtClicked, this,
            &LinuxDigitalMatrixPage::slotEditServerBtClicked);
    connect(oper, &DigitalMatrixServerOperWidget::signalDeleteServerBtClicked, this,
            &LinuxDigitalMatrixPage::slotDeleteServerBtClicked);

    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    connect(dataCentre, &DATACore::UserManagerCore::signalAddServer, this,
            &LinuxDigitalMatrixPage::slotAddMatrixServerToDB);
    connect(dataCentre, &DATACore::UserManagerCore::signalEditServer, this,
            &LinuxDigitalMatrixPage::slotEditMatrixServerInDB);
    connect(dataCentre, &DATACore::UserManagerCore::signalDeleteServer, this,
            &LinuxDigitalMatrixPage::slotDeleteMatrixServerFromDB);

    MatrixServerSelWidget *selector = ui->serverSelWdt;
    connect(selector, &MatrixServerSelWidget::signalAddServerBtClicked, this,
            &LinuxDigitalMatrixPage::slotAddServerBtClicked);
    connect(selector, &MatrixServerSelWidget::signalServerSelChanged, this,
            &LinuxDigitalMatrixPage::slotServerSelChanged);

    MatrixOperButtonsWt *bar = ui->operButtonsWt;
    connect(bar, &MatrixOperButtonsWt::signalConfigMatrixBtClicked, this,
            &LinuxDigitalMatrixPage::slotConfigMatrixBtClicked);
    connect(bar, &MatrixOperButtonsWt::signalUndoLayoutBtClicked, this,
            &LinuxDigitalMatrixPage::slotUndoLayoutBtClicked);
    connect(bar, &MatrixOperButtonsWt::signalClearChannelsBtClicked, this,
            &LinuxDigitalMatrixPage::slotClearChannelsBtClicked);
    connect(bar, &MatrixOperButtonsWt::signalStopAllTurnsBtClicked, this,
            &LinuxDigitalMatrixPage::slotStopAllTurnsBtClicked);
    connect(bar->presetMenu(), &QMenu::aboutToShow, this,
            &LinuxDigitalMatrixPage::slotFillPresetMenu);
    connect(bar, &MatrixOperButtonsWt::signalSaveConfigBtClicked, this,
            &LinuxDigitalMatrixPage::slotSaveConfigBtClicked);
    connect(bar, &MatrixOperButtonsWt::signalBackStepBtClicked, this,
            &LinuxDigitalMatrixPage::slotBackStepBtClicked);
    connect(bar, &MatrixOperButtonsWt::signalCancelBtClicked, this,
            &LinuxDigitalMatrixPage::slotCancelBtClicked);
    connect(bar, &MatrixOperButtonsWt::signalRebootBtClicked, this,
            &LinuxDigitalMatrixPage::slotRebootBtClicked);
    connect(bar, &MatrixOperButtonsWt::signalUpgradeBtClicked, this,
            &LinuxDigitalMatrixPage::slotUpgradeBtClicked);
    connect(bar, &MatrixOperButtonsWt::signalResetBtClicked, this,
            &LinuxDigitalMatrixPage::slotResetBtClicked);

    if (ui->configChannelsWdt)
        connect(ui->configChannelsWdt, &ConfigChannelsWidget::signalSetSelChannelsToCheckedCell,
                this, &LinuxDigitalMatrixPage::slotSetSelChannelsToCheckedCell);
    connect(ui->channelsOperWdt, &ChannelsOperWidget::signalSetChannelsToCellBtClicked, this,
            &LinuxDigitalMatrixPage::slotSetChannelsToCellBtClicked);
    connect(ui->channelsOperWdt, &ChannelsOperWidget::signalDeleteChannelsFromCellBtClicked, this,
            &LinuxDigitalMatrixPage::slotDeleteChannelsFromCellBtClicked);

    connect(upgradeTimer, &QTimer::timeout, this,
            &LinuxDigitalMatrixPage::slotGetUpgradeProcessTimeout);
    connect(keepAliveTimer, &QTimer::timeout, this, &LinuxDigitalMatrixPage::slotKeepAliveTimeout);
}

void LinuxDigitalMatrixPage::getMatrixServersAlreadyConfig()
{
    const QList<UServerInfo> stored = DATACore::UserManagerCore::instance()->GetServers(QString());
    for (const UServerInfo &server : stored) {
        if (server.type != SERVERTYPE_LINUX_DIGITALMATRIX)
            continue;
        servers.append(new DigitalMatrixServerInfo(convertMatrixServerInfo(server)));
        ui->serverSelWdt->addServer(server.id, server.name);
    }
    listServersForProbe();
}

void LinuxDigitalMatrixPage::showEvent(QShowEvent *event)
{
    if (firstShow) {
        firstShow = false;
        QTimer::singleShot(FirstShowDelayMs, this, &LinuxDigitalMatrixPage::slotTheFirstShow);
    }
    onlineProbe->start();
    QWidget::showEvent(event);
}

void LinuxDigitalMatrixPage::hideEvent(QHideEvent *event)
{
    // The host shows another page: the arrangement step ends with it, so the matrix's screens
    // do not go on showing their numbers. A minimised window hides it only for a while.
    if (!event->spontaneous() && matrixStatus() == MatrixStatusConfig)
        slotCancelBtClicked();
    onlineProbe->stop();
    QWidget::hideEvent(event);
}

void LinuxDigitalMatrixPage::slotTheFirstShow()
{
    ui->serverSelWdt->setCurSelServerBtToFirst();
}

void LinuxDigitalMatrixPage::setWidgetsEnabled(bool enabled)
{
    ui->areaTreeWdt->setEnabled(enabled);
    ui->channelsOperWdt->setEnabled(enabled);
    ui->cellsStackedWdt->setEnabled(enabled);
    ui->operButtonsWt->setEnabled(enabled);
    updateUndoButtons();
}

void LinuxDigitalMatrixPage::setMatrixStatus(MatrixStatus status)
{
    // The screens are arranged anew: nothing before can be undone.
    if (status == MatrixStatusConfig && wallHistory)
        wallHistory->clear();
    // A tool of the bar that had the keyboard may be hidden now: the keyboard goes to the
    // wall shown, not to whichever button follows the hidden tools ("Reboot").
    const QWidget *focused = QApplication::focusWidget();
    const bool barHadFocus = focused && ui->operButtonsWt->isAncestorOf(focused);
    ui->operButtonsWt->setStatus(status);
    const bool normal = status == MatrixStatusNormal;
    ui->cellsStackedWdt->setCurrentIndex(normal ? 0 : 1);
    ui->areaTreeWdt->setVisible(normal);
    ui->channelsOperWdt->setVisible(normal);
    if (barHadFocus) {
        QWidget *wall = normal ? static_cast<QWidget *>(ui->configChannelsWdt)
                               : static_cast<QWidget *>(ui->adjustCellNumWdt);
        wall->setFocus(Qt::OtherFocusReason);
    }
    updateUndoButtons();
}

void LinuxDigitalMatrixPage::resetStatusToInitial()
{
    // The page leaves the matrix (or its current state): no poll and no arrangement mode
    // may outlive that.
    stopUpgradePoll();
    leaveArrangeMode();
    // Nothing of the matrix left can be undone.
    if (wallHistory)
        wallHistory->clear();
    setMatrixStatus(MatrixStatusNormal);
    if (ui->configChannelsWdt)
        ui->configChannelsWdt->resetToPlaceholder();
    setWidgetsEnabled(false);
}

void LinuxDigitalMatrixPage::setServerConnectOk(bool ok)
{
    endWatchOnPage();
    connection = ok ? MatrixConnectionState::Connected : MatrixConnectionState::Disconnected;
    ui->serverOperWdt->setServerConnectOk(ok);
    if (ok) {
        keepAliveTimer->start();
    } else {
        keepAliveTimer->stop();
        operatorsLabel->hide();
    }
    updateServerButtons();
    updateUndoButtons();
}

void LinuxDigitalMatrixPage::updateServerButtons()
{
    const bool server = hasCurrentServer();
    DigitalMatrixServerOperWidget *oper = ui->serverOperWdt;
    oper->connectButton()->setEnabled(server);
    if (watchBtn)
        watchBtn->setEnabled(server);
    oper->editButton()->setEnabled(server);
    oper->deleteButton()->setEnabled(server);
    // Beside the disabled tools, what to do about them.
    if (!server)
        oper->setConnectServerHint(noServerHint());
}

QString LinuxDigitalMatrixPage::noServerHint()
{
    return tr("No matrix server yet: add one with the + button.");
}

void LinuxDigitalMatrixPage::leaveArrangeMode()
{
    if (!arrangeModeOn)
        return;
    arrangeModeOn = false;
    const int result = port()->setNumberArrangeMode(0);
    if (result != 0) {
        arrangeModeLeftOn = true;
        logLine(QStringLiteral("Linux matrix arrangement mode not ended (%1)").arg(result));
    }
}

void LinuxDigitalMatrixPage::setKeepAliveInterval(int ms)
{
    keepAliveTimer->setInterval(qMax(1, ms));
}

void LinuxDigitalMatrixPage::slotKeepAliveTimeout()
{
    // A question or dialog on screen runs its own event loop inside a slot of this page: the
    // page is not torn down under it. The check runs again once the box is closed.
    // The page's own waits (a server being stored) are left alone too.
    if ((!isServerConnectOK() && !isWatching()) || upgradeWaiting || loginWait
        || QApplication::activeModalWidget()
        || COMMONUSELIB::WaitDialog::getInstance()->isWaiting())
        return;
    if (isWatching()) {
        followWall();
        return;
    }
    // While a cell shows a turn show the one request a second also asks where it stands;
    // its answer says as well that the matrix still answers.
    ConfigChannelsWidget *cells = ui->configChannelsWdt;
    if (cells && cells->isConfigured() && !cells->allCellsStopped()) {
        QVector<CellTurnPage> pages;
        const int result = port()->getCellTurnPages(&pages);
        if (isConnectionFailure(result))
            matrixLost(result);
        else if (result == 0)
            cells->applyTurnPages(pages);
        return;
    }
    const int result = port()->keepAlive();
    if (isConnectionFailure(result)) {
        matrixLost(result);
        return;
    }
    if (result == 0 && ++keepAlivesSinceOperators >= KeepAlivesPerOperatorList)
        refreshOperators();
}

void LinuxDigitalMatrixPage::refreshOperators()
{
    keepAlivesSinceOperators = 0;
    QList<MatrixOperatorInfo> operators;
    const int result = port()->linuxOperators(&operators);
    otherOperators = result == 0 && (isServerConnectOK() || isWatching())
            ? operators
            : QList<MatrixOperatorInfo>();
    if (isWatching())
        watchBanner->setOperators(otherOperators);
    const QString line = MatrixOperatorInfo::othersLine(otherOperators);
    operatorsLabel->setText(line);
    operatorsLabel->setVisible(!line.isEmpty());
}

void LinuxDigitalMatrixPage::matrixLost(int result)
{
    logLine(QStringLiteral("Linux matrix server lost (%1)").arg(result));
    const bool watched = isWatching();
    // Close first, so that leaving the page's steps does not wait for a silent matrix.
    port()->disconnectLinuxServer();
    resetStatusToInitial();
    setServerConnectOk(false);
    ui->serverOperWdt->setConnectServerHint(tr("Digital matrix server connection lost!"));
    if (watched)
        emit signalWatchConnectionLost();
    // A page that watched comes back watching: it never takes the matrix by itself.
    reconnectLater(watched);
}

QString LinuxDigitalMatrixPage::refusalReason(int result)
{
    switch (result) {
    case MatrixErrLoginRefused:
        return tr("Wrong user name or password.");
    case MatrixErrBusy:
        return tr("The matrix is restarting or upgrading, try again later.");
    case MatrixErrNotConnected:
        return tr("The matrix cannot be reached.");
    case MatrixErrTimeout:
        return tr("The matrix did not answer in time.");
    case MatrixErrProtocol:
        return tr("The matrix answered something it should not.");
    case MatrixErrWatchOnly:
        return tr("This console only watches the matrix: take control first.");
    default:
        return tr("Error code %1.").arg(result);
    }
}

QString LinuxDigitalMatrixPage::connectFailHint(int result)
{
    return tr("Digital matrix server connect fail!") + QLatin1Char(' ') + refusalReason(result);
}

bool LinuxDigitalMatrixPage::hasCurrentServer() const
{
    return currentIndex >= 0 && currentIndex < servers.size();
}

int LinuxDigitalMatrixPage::serverIndexById(const QString &id) const
{
    if (id.isEmpty())
        return -1;
    for (int i = 0; i < servers.size(); ++i) {
        if (servers.at(i)->id == id)
            return i;
    }
    return -1;
}

void LinuxDigitalMatrixPage::showWait(const QString &text)
{
    stopUpgradePoll();
    COMMONUSELIB::WaitDialog::getInstance()->showWaitDialog(text, QUuid(), WaitTimeoutMs);
}

void LinuxDigitalMatrixPage::hideWait()
{
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
}

DigitalMatrixServerInfo LinuxDigitalMatrixPage::convertMatrixServerInfo(const UServerInfo &server)
{
    DigitalMatrixServerInfo info;
    info.id = server.id;
    info.name = server.name;
    info.ip = server.ip;
    info.user = server.user;
    info.password = server.password;
    info.port = server.port;
    info.matrixKind = DigitalMatrixServerInfo::LinuxMatrix;
    return info;
}

void LinuxDigitalMatrixPage::slotServerSelChanged(const QString &previousId,
                                                  const QString &currentId)
{
    reconnector->stop();
    // A watch connection is left like any other.
    if (isWatching())
        port()->disconnectLinuxServer();
    resetStatusToInitial();
    currentIndex = serverIndexById(currentId);
    updateServerButtons();
    DigitalMatrixServerOperWidget *oper = ui->serverOperWdt;
    if (!previousId.isEmpty())
        serverStatus[previousId] = oper->getServerStatus();

    if (!currentId.isEmpty() && serverStatus.contains(currentId)) {
        const QStringList status = serverStatus.value(currentId);
        if (status.value(0) == QLatin1String("1")) {
            slotConnectServerBtClicked(true);
        } else {
            setServerConnectOk(false);
            oper->setConnectServerHint(status.value(1));
        }
        oper->setOtherHint(status.value(2));
        return;
    }

    setServerConnectOk(false);
    if (!hasCurrentServer()) {
        oper->setConnectServerHint(noServerHint());
        oper->setOtherHint(QString());
        return;
    }
    const DigitalMatrixServerInfo *server = servers.at(currentIndex);
    oper->setConnectServerHint(tr("Digital matrix server not connect yet!"));
    oper->setOtherHint(DigitalMatrixServerOperWidget::generateServerDescribe(
            server->name, server->ip, server->port));
}

void LinuxDigitalMatrixPage::slotConnectServerBtClicked(bool connect)
{
    // By hand: the page's own attempts end.
    if (!reconnecting)
        reconnector->stop();
    DigitalMatrixServerOperWidget *oper = ui->serverOperWdt;
    if (connect) {
        if (!hasCurrentServer()) {
            // Nothing to connect to: the toggle goes back to what it showed.
            setServerConnectOk(isServerConnectOK());
            return;
        }
        if (isWatching() && !confirmTakeControl()) {
            // Still watching: the toggle goes back.
            ui->serverOperWdt->setServerConnectOk(false);
            return;
        }
        const DigitalMatrixServerInfo server = *servers.at(currentIndex);
        int result = 0;
        if (!loginCallAnswered(
                    server, "connect", [server] { return port()->connectLinuxServer(server); },
                    &result))
            return;
        if (result == 0) {
            if (arrangeModeLeftOn && port()->setNumberArrangeMode(0) == 0)
                arrangeModeLeftOn = false;
            setServerConnectOk(true);
            oper->setConnectServerHint(tr("Digital matrix server connect ok!"));
            refreshOperators();
            if (ui->configChannelsWdt)
                ui->configChannelsWdt->loadFromServer();
            setWidgetsEnabled(true);
        } else {
            resetStatusToInitial();
            setServerConnectOk(false);
            oper->setConnectServerHint(connectFailHint(result));
        }
        return;
    }

    const bool wasConnected = isServerConnectOK();
    if (isWatching())
        port()->disconnectLinuxServer();
    const int result = disconnectLinuxMatrixServer();
    if (wasConnected)
        logLine(QStringLiteral("Linux matrix server disconnect result %1").arg(result));
    setServerConnectOk(false);
    oper->setConnectServerHint(result == 0 ? tr("Digital matrix server disconnect!")
                                           : tr("Digital matrix server disconnect fail!"));
}

LinuxDigitalMatrixPage::LoginCallEnd
LinuxDigitalMatrixPage::runLoginCall(const DigitalMatrixServerInfo &server,
                                     const std::function<int()> &work, int *result)
{
    // A call still waited for below this one is answered to nobody.
    if (loginWait)
        loginWait->loop.quit();
    LoginWait wait;
    wait.call = ++loginCall;
    wait.waitId = QUuid::createUuid();
    loginWait = &wait;
    COMMONUSELIB::WaitDialog *dialog = COMMONUSELIB::WaitDialog::getInstance();
    dialog->showWaitDialog(tr("Logging in..."),
                           DigitalMatrixServerOperWidget::generateServerDescribe(
                                   server.name, server.ip, server.port),
                           wait.waitId, 0);
    dialog->setWaitCancellable(true);
    setEnabled(false);

    const quint64 call = wait.call;
    auto outcome = std::make_shared<int>(0);
    QThread *worker = QThread::create([work, outcome] { *outcome = work(); });
    worker->setParent(this);
    connect(worker, &QThread::finished, this,
            [this, call, outcome] { loginCallFinished(call, *outcome); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    QPointer<LinuxDigitalMatrixPage> alive(this);
    worker->start();
    wait.loop.exec();

    if (!alive)
        return LoginCallEnd::Superseded;
    if (loginWait == &wait)
        loginWait = nullptr;
    if (wait.end == LoginCallEnd::Superseded)
        return wait.end;
    if (dialog->isWaiting() && dialog->waitId() == wait.waitId)
        dialog->hideWaitDialog();
    setEnabled(true);
    if (result)
        *result = wait.result;
    return wait.end;
}

bool LinuxDigitalMatrixPage::loginCallAnswered(const DigitalMatrixServerInfo &server,
                                               const char *what, const std::function<int()> &work,
                                               int *result)
{
    const LoginCallEnd end = runLoginCall(server, work, result);
    // Superseded: another call took over, or the page went while it waited.
    if (end == LoginCallEnd::Superseded)
        return false;
    if (end == LoginCallEnd::Cancelled) {
        loginCancelled();
        return false;
    }
    logLine(QStringLiteral("Linux matrix server %1 (%2:%3) %4 result %5")
                    .arg(server.name, server.ip)
                    .arg(server.port)
                    .arg(QLatin1String(what))
                    .arg(*result));
    return true;
}

void LinuxDigitalMatrixPage::loginCallFinished(quint64 call, int result)
{
    if (loginWait && loginWait->call == call) {
        loginWait->end = LoginCallEnd::Answered;
        loginWait->result = result;
        loginWait->loop.quit();
        return;
    }
    // The answer of a cancelled or older call: a connection it made after all is nobody's.
    if (result == 0 && !loginWait && !isServerConnectOK() && !isWatching())
        port()->disconnectLinuxServer();
}

void LinuxDigitalMatrixPage::slotWaitCancelled(const QUuid &id)
{
    if (!loginWait || id.isNull() || id != loginWait->waitId)
        return;
    ++loginCall;
    loginWait->end = LoginCallEnd::Cancelled;
    loginWait->loop.quit();
    endLoginCalls();
}

void LinuxDigitalMatrixPage::endLoginCalls()
{
    // Dropping the connection ends a call that waits for the matrix at once. A call that had
    // not reached the matrix yet would connect after the drop: it is dropped again until it
    // has ended.
    const QList<QThread *> calls = findChildren<QThread *>(QString(), Qt::FindDirectChildrenOnly);
    for (QThread *call : calls) {
        while (call->isRunning()) {
            port()->disconnectLinuxServer();
            call->wait(StaleLoginWaitMs);
        }
    }
}

void LinuxDigitalMatrixPage::loginCancelled()
{
    logLine(QStringLiteral("Linux matrix server login cancelled"));
    // Cancelled is cancelled: no further attempt of its own either.
    reconnector->stop();
    resetStatusToInitial();
    setServerConnectOk(false);
    ui->serverOperWdt->setConnectServerHint(tr("Digital matrix server disconnect!"));
}

// ---- Watching --------------------------------------------------------------------------

void LinuxDigitalMatrixPage::slotWatchServerBtClicked(bool checked)
{
    // The operator chose (or an attempt of its own runs): no other attempt goes on.
    if (!reconnecting)
        reconnector->stop();
    if (!checked) {
        slotConnectServerBtClicked(false);
        return;
    }
    if (!hasCurrentServer()) {
        watchBtn->setChecked(false);
        return;
    }
    // A page in control gives the matrix up: its arrangement mode ends first.
    if (isServerConnectOK())
        disconnectLinuxMatrixServer();
    const DigitalMatrixServerInfo server = *servers.at(currentIndex);
    int result = 0;
    if (!loginCallAnswered(
                server, "watch", [server] { return port()->linuxWatch(server); }, &result))
        return;
    if (result != 0) {
        resetStatusToInitial();
        setServerConnectOk(false);
        ui->serverOperWdt->setConnectServerHint(tr("Watch failed!") + QLatin1Char(' ')
                                                + refusalReason(result));
        return;
    }
    setWatching();
}

void LinuxDigitalMatrixPage::setWatching()
{
    resetStatusToInitial();
    setServerConnectOk(false);
    connection = MatrixConnectionState::Watching;
    keepAliveTimer->start();
    ui->serverOperWdt->setConnectServerHint(tr("Watching the matrix: commands are disabled."));
    watchBanner->startWatch(watchBtn);
    // The wall as the matrix holds it; nothing of it takes input.
    if (port()->linuxWallRevision(&wallRevision) != 0)
        wallRevision = -1;
    if (ui->configChannelsWdt)
        ui->configChannelsWdt->loadFromServer();
    setWidgetsEnabled(false);
    refreshOperators();
    emit signalWatchingChanged(true);
}

void LinuxDigitalMatrixPage::endWatchOnPage()
{
    if (!watchBanner)
        return;
    const bool wasWatching = watchBanner->endWatch(watchBtn);
    if (connection == MatrixConnectionState::Watching)
        connection = MatrixConnectionState::Disconnected;
    if (wasWatching)
        emit signalWatchingChanged(false);
}

void LinuxDigitalMatrixPage::followWall()
{
    int revision = 0;
    const int result = port()->linuxWallRevision(&revision);
    if (isConnectionFailure(result)) {
        matrixLost(result);
        return;
    }
    ConfigChannelsWidget *cells = ui->configChannelsWdt;
    if (result == 0 && revision != wallRevision) {
        // Another console changed the wall: read it again.
        wallRevision = revision;
        if (cells)
            cells->loadFromServer();
        setWidgetsEnabled(false);
        refreshOperators();
        return;
    }
    if (cells && cells->isConfigured() && !cells->allCellsStopped()) {
        QVector<CellTurnPage> pages;
        if (port()->getCellTurnPages(&pages) == 0)
            cells->applyTurnPages(pages);
    }
    if (++keepAlivesSinceOperators >= KeepAlivesPerOperatorList)
        refreshOperators();
}

bool LinuxDigitalMatrixPage::confirmTakeControl()
{
    refreshOperators();
    const MatrixOperatorInfo *holder = MatrixOperatorInfo::holder(otherOperators);
    if (!holder)
        return true;
    return LinuxPrompt::ask(this,
                            tr("%1 holds the matrix since %2.Do you want to take control?")
                                    .arg(holder->shownName(), holder->shownTime()));
}

int LinuxDigitalMatrixPage::disconnectLinuxMatrixServer()
{
    // Leaving the matrix ends its arrangement mode in any case, and asks it once.
    if (isServerConnectOK())
        arrangeModeOn = true;
    resetStatusToInitial();
    if (!isServerConnectOK())
        return 0;
    return port()->disconnectLinuxServer();
}

void LinuxDigitalMatrixPage::slotAddServerBtClicked()
{
    if (servers.size() >= maxServerCount) {
        LinuxPrompt::notice(this, tr("Matrix server max count is:%1").arg(maxServerCount));
        return;
    }
    ModifyDigitalMatrixServerDlg dialog(this, nullptr);
    dialog.disableServerType();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const DigitalMatrixServerInfo info = dialog.serverInfo();
    disconnectLinuxMatrixServer();
    slotAddDigitalMatrixServer(info);
}

void LinuxDigitalMatrixPage::slotAddDigitalMatrixServer(const DigitalMatrixServerInfo &info)
{
    showWait(tr("Add matrix server..."));
    if (!port()->addServerToDB(info)) {
        // No record was stored, so no announcement will come to end the wait.
        dataCentreRefused(tr("Add matrix server fail!"));
    }
}

void LinuxDigitalMatrixPage::slotAddMatrixServerToDB(const UServerInfo &server)
{
    if (server.type != SERVERTYPE_LINUX_DIGITALMATRIX)
        return;
    hideWait();
    if (server.id.isEmpty() || serverIndexById(server.id) >= 0)
        return;
    servers.append(new DigitalMatrixServerInfo(convertMatrixServerInfo(server)));
    currentIndex = servers.size() - 1;
    ui->serverSelWdt->addServer(server.id, server.name);
    listServersForProbe();
    ui->serverSelWdt->setCurSelServerBtToLast();
}

void LinuxDigitalMatrixPage::slotEditServerBtClicked()
{
    if (!hasCurrentServer())
        return;
    ModifyDigitalMatrixServerDlg dialog(this, servers.at(currentIndex));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const DigitalMatrixServerInfo info = dialog.serverInfo();
    reconnector->stop();
    disconnectLinuxMatrixServer();
    showWait(tr("Edit matrix server..."));
    if (!port()->editServerInDB(info)) {
        dataCentreRefused(tr("Edit matrix server fail!"));
    }
}

void LinuxDigitalMatrixPage::slotEditMatrixServerInDB(const UServerInfo &server)
{
    if (server.type != SERVERTYPE_LINUX_DIGITALMATRIX)
        return;
    hideWait();
    // The record edited is the one with this id, whichever server is selected now.
    const int index = serverIndexById(server.id);
    if (index < 0)
        return;
    *servers[index] = convertMatrixServerInfo(server);
    const QString describe = DigitalMatrixServerOperWidget::generateServerDescribe(
            server.name, server.ip, server.port);
    ui->serverSelWdt->updateServerName(server.id, server.name);
    listServersForProbe();

    if (index != currentIndex) {
        // Not on screen: its remembered status gets the new description.
        if (serverStatus.contains(server.id)) {
            QStringList &status = serverStatus[server.id];
            while (status.size() < 3)
                status.append(QString());
            status[2] = describe;
        }
        return;
    }

    DigitalMatrixServerOperWidget *oper = ui->serverOperWdt;
    if (isServerConnectOK()) {
        slotConnectServerBtClicked(true);
    } else {
        setServerConnectOk(false);
        oper->setConnectServerHint(tr("Digital matrix server not connect yet!"));
    }
    oper->setOtherHint(describe);
}

void LinuxDigitalMatrixPage::slotDeleteServerBtClicked()
{
    if (!LinuxPrompt::ask(this, tr("Delete selected server?")))
        return;
    if (!hasCurrentServer())
        return;
    const QString id = servers.at(currentIndex)->id;
    reconnector->stop();
    disconnectLinuxMatrixServer();
    showWait(tr("Delete matrix server..."));
    if (!DATACore::UserManagerCore::instance()->DeleteServer(id, SERVERTYPE_LINUX_DIGITALMATRIX)) {
        dataCentreRefused(tr("Delete matrix server fail!"));
    }
}

void LinuxDigitalMatrixPage::dataCentreRefused(const QString &notice)
{
    hideWait();
    if (isServerConnectOK())
        slotConnectServerBtClicked(true);
    LinuxPrompt::notice(this, notice);
}

void LinuxDigitalMatrixPage::slotDeleteMatrixServerFromDB(const QString &id, SERVERTYPE type)
{
    if (type != SERVERTYPE_LINUX_DIGITALMATRIX)
        return;
    hideWait();
    serverStatus.remove(id);
    // The record deleted is the one with this id, whichever server is selected now.
    const int index = serverIndexById(id);
    if (index < 0)
        return;
    const QString selectedId = hasCurrentServer() ? servers.at(currentIndex)->id : QString();
    delete servers.takeAt(index);
    currentIndex = serverIndexById(selectedId);
    listServersForProbe();
    // Deleting the selected server's button clears the selection (slotServerSelChanged).
    ui->serverSelWdt->deleteServer(id);

    if (servers.isEmpty()) {
        currentIndex = -1;
        updateServerButtons();
        emit signalLinuxMatrixServerDeleteAll();
        return;
    }
    if (id == selectedId || currentIndex < 0) {
        ui->serverSelWdt->setCurSelServerBtToFirst();
        currentIndex = 0;
    }
}

void LinuxDigitalMatrixPage::slotRebootBtClicked()
{
    if (!LinuxPrompt::ask(this, tr("Do you want to reboot matrix server?")))
        return;
    const int result = port()->rebootMatrix();
    logLine(QStringLiteral("Linux matrix reboot result %1").arg(result));
    if (result != 0) {
        // The matrix goes on as before: so does the page, and it says why.
        LinuxPrompt::notice(
                this, tr("Reboot matrix server fail!") + QLatin1Char(' ') + refusalReason(result));
        return;
    }
    slotConnectServerBtClicked(false);
    // The matrix is back after its restart: the page connects again by itself.
    reconnectLater();
}

void LinuxDigitalMatrixPage::slotResetBtClicked()
{
    if (!LinuxPrompt::ask(this, tr("Do you want to restore factory default?")))
        return;
    const int result = port()->resetMatrix(FactoryResetMode);
    logLine(QStringLiteral("Linux matrix factory reset result %1").arg(result));
    if (result != 0) {
        LinuxPrompt::notice(this,
                            tr("Restore factory default fail!") + QLatin1Char(' ')
                                    + refusalReason(result));
        return;
    }
    slotConnectServerBtClicked(false);
    reconnectLater();
}

void LinuxDigitalMatrixPage::slotConfigMatrixBtClicked()
{
    MatrixRowColumnSetDlg dialog(this);
    int rows = 2;
    int columns = 2;
    if (ui->configChannelsWdt)
        ui->configChannelsWdt->getRowColumn(rows, columns);
    dialog.setRowColumn(rows, columns);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.getRowColumn(rows, columns);
    if (!ui->adjustCellNumWdt || !ui->configChannelsWdt || !isServerConnectOK())
        return;
    // The numbers to arrange are the matrix's own: without them there is nothing to save.
    QStringList numbers;
    int result = port()->readScreenNumbers(&numbers);
    if (result != 0) {
        LinuxPrompt::notice(
                this, tr("Read screen numbers fail!") + QLatin1Char(' ') + refusalReason(result));
        return;
    }
    result = port()->setNumberArrangeMode(1);
    if (result != 0) {
        // The matrix may have switched it on all the same: it is told to end it.
        arrangeModeOn = true;
        leaveArrangeMode();
        LinuxPrompt::notice(this,
                            tr("Start screen arrangement fail!") + QLatin1Char(' ')
                                    + refusalReason(result));
        return;
    }
    arrangeModeOn = true;
    ui->adjustCellNumWdt->setArrangement(rows, columns, numbers);
    setMatrixStatus(MatrixStatusConfig);
}

void LinuxDigitalMatrixPage::slotUndoLayoutBtClicked()
{
    if (wallHistory)
        wallHistory->undo();
}

void LinuxDigitalMatrixPage::slotSaveConfigBtClicked()
{
    if (!ui->adjustCellNumWdt || !ui->configChannelsWdt)
        return;
    const QStringList numbers = ui->adjustCellNumWdt->getCellShowNums();
    int rows = 0;
    int columns = 0;
    ui->adjustCellNumWdt->getRowColumn(rows, columns);
    int oldRows = 0;
    int oldColumns = 0;
    const bool configured = ui->configChannelsWdt->isConfigured();
    if (configured)
        ui->configChannelsWdt->getRowColumn(oldRows, oldColumns);
    // The cells keep their channels while the grid keeps its shape; a new shape clears them,
    // which the operator agrees to first.
    const bool newShape = configured && (rows != oldRows || columns != oldColumns);
    if (newShape && ui->configChannelsWdt->hasAnyChannel()
        && !LinuxPrompt::ask(this, tr("The new grid clears the channels of every cell. Save it?")))
        return;

    if (port()->setMatrixRowColumn(rows, columns) != 0) {
        LinuxPrompt::notice(this, tr("Set matrix row and column arrange fail!"));
        return;
    }
    if (newShape && port()->clearAllCells(oldRows, oldColumns) != 0) {
        LinuxPrompt::notice(this, tr("clear cells fail!"));
        return;
    }
    if (port()->setScreenNumbers(numbers) != 0) {
        LinuxPrompt::notice(this, tr("Set logic screen map fail!"));
        return;
    }
    if (port()->setScreenGrid(rows, columns) != 0) {
        LinuxPrompt::notice(this, tr("set cells info fail!"));
        return;
    }
    logLine(QStringLiteral("Linux matrix screens arranged %1 x %2: %3")
                    .arg(rows)
                    .arg(columns)
                    .arg(numbers.join(QLatin1Char(' '))));
    leaveArrangeMode();
    setMatrixStatus(MatrixStatusNormal);
    // The grid shows what the matrix holds now, cells with their channels and splits.
    ui->configChannelsWdt->resetToPlaceholder();
    ui->configChannelsWdt->loadFromServer();
}

void LinuxDigitalMatrixPage::slotBackStepBtClicked()
{
    slotCancelBtClicked();
    slotConfigMatrixBtClicked();
}

void LinuxDigitalMatrixPage::slotCancelBtClicked()
{
    leaveArrangeMode();
    setMatrixStatus(MatrixStatusNormal);
}

void LinuxDigitalMatrixPage::setUpgradePollInterval(int ms)
{
    upgradeTimer->setInterval(qMax(1, ms));
}

int LinuxDigitalMatrixPage::upgradePollInterval() const
{
    return upgradeTimer->interval();
}

bool LinuxDigitalMatrixPage::isUpgradePolling() const
{
    return upgradeTimer->isActive();
}

void LinuxDigitalMatrixPage::startUpgradePoll()
{
    upgradeWaiting = true;
    upgradeLostPolls = 0;
    setUpgradeLock(true);
    // Shown once, without a time-out: the upgrade ends when the matrix says so.
    COMMONUSELIB::WaitDialog::getInstance()->showWaitDialog(tr("Upgrading..."), QUuid(), 0);
    showUpgradeProgress(0);
    upgradeTimer->start();
}

void LinuxDigitalMatrixPage::stopUpgradePoll()
{
    upgradeTimer->stop();
    if (upgradeWaiting) {
        upgradeWaiting = false;
        setUpgradeLock(false);
        hideWait();
    }
}

void LinuxDigitalMatrixPage::setUpgradeLock(bool locked)
{
    ui->serverSelWdt->setEnabled(!locked);
    ui->serverOperWdt->setEnabled(!locked);
    setWidgetsEnabled(!locked && isServerConnectOK());
}

void LinuxDigitalMatrixPage::slotUpgradeBtClicked()
{
    if (!isServerConnectOK() || upgradeWaiting)
        return;
    int startResult = LinuxMatrixUpgradeDlg::NotStarted;
    // The version before, for the hint line once the upgrade has ended.
    upgradeVersionBefore.clear();
    port()->getFirmwareVersion(&upgradeVersionBefore);
    {
        LinuxMatrixUpgradeDlg dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        startResult = dialog.startResult();
        upgradeSource = dialog.sourceText();
    }
    if (startResult != 0) {
        // The matrix refused the start: nothing runs, the connection stays.
        LinuxPrompt::notice(
                this, tr("Start upgrade fail!") + QLatin1Char(' ') + refusalReason(startResult));
        return;
    }
    // The matrix reports the end of the upgrade only to a connection that asks for it, so
    // the page keeps the connection and polls until the end is reported; until then no
    // other command reaches the matrix.
    logLine(QStringLiteral("Linux matrix upgrade started; polling every %1 ms")
                    .arg(upgradeTimer->interval()));
    startUpgradePoll();
}

void LinuxDigitalMatrixPage::slotGetUpgradeProcessTimeout()
{
    if (!upgradeWaiting) {
        upgradeTimer->stop();
        return;
    }
    int status = 0;
    int progress = 0;
    const bool ended = port()->pollUpgrade(&status, &progress);
    if (ended && isConnectionFailure(status)) {
        // The connection broke, not the upgrade: the matrix keeps it running and answers
        // any connection that asks, so the page logs in again and goes on asking.
        if (upgradeLostPolls++ == 0)
            upgradeLostClock.start();
        if (upgradeLostPolls > MaxLostUpgradePolls || upgradeLostClock.elapsed() > MaxLostUpgradeMs
            || !hasCurrentServer()) {
            finishUpgrade(status, true);
            return;
        }
        port()->disconnectLinuxServer();
        const int result = port()->connectLinuxServer(*servers.at(currentIndex));
        logLine(QStringLiteral("Linux matrix upgrade: connection lost (%1), reconnect result %2")
                        .arg(status)
                        .arg(result));
        return;
    }
    if (!ended) {
        upgradeLostPolls = 0;
        showUpgradeProgress(progress);
        return;
    }
    finishUpgrade(status, false);
}

void LinuxDigitalMatrixPage::showUpgradeProgress(int percent)
{
    COMMONUSELIB::WaitDialog::getInstance()->setWaitProgress(
            percent, tr("Firmware from %1").arg(upgradeSource));
}

void LinuxDigitalMatrixPage::finishUpgrade(int status, bool lost)
{
    logLine(QStringLiteral("Linux matrix upgrade ended with status %1%2")
                    .arg(status)
                    .arg(lost ? QStringLiteral(" (matrix lost)") : QString()));
    QString versionAfter;
    if (!lost)
        port()->getFirmwareVersion(&versionAfter);
    stopUpgradePoll();
    slotConnectServerBtClicked(false);
    const QString unknown = QStringLiteral("-");
    ui->serverOperWdt->setConnectServerHint(
            tr("Firmware before the upgrade: %1, after: %2")
                    .arg(upgradeVersionBefore.isEmpty() ? unknown : upgradeVersionBefore,
                         versionAfter.isEmpty() ? unknown : versionAfter));
    QString message;
    if (lost) {
        message = tr("The matrix could not be reached during the upgrade: its result is unknown!");
    } else {
        switch (status) {
        case 0:
            message = tr("Linux matrix upgrade finished! Please poweroff to restart!");
            break;
        case -15:
            message = tr("Upgrade resource not found!");
            break;
        case -16:
            message = tr("already the latest vertion!");
            break;
        default:
            message = tr("unknow error!");
            break;
        }
    }
    LinuxPrompt::notice(this, message);
    // The matrix restarts with its new firmware: the page connects again by itself.
    reconnectLater();
}

// ---- Channels in cells ------------------------------------------------------------

void LinuxDigitalMatrixPage::slotSetSelChannelsToCheckedCell(int channelWtIndex)
{
    if (!ui->configChannelsWdt)
        return;
    QList<CellChannelItem> channels;
    bool areaSelected = false;
    ui->areaTreeWdt->getSelectedChannels(channels, areaSelected);
    if (channels.size() > MaxCellChannels) {
        LinuxPrompt::notice(this,
                            tr("The max channel count can set in cell is:%1").arg(MaxCellChannels));
        return;
    }
    const int cellIndex = ui->configChannelsWdt->checkedIndex();
    if (channels.size() == 1 && channelWtIndex != -1 && !areaSelected) {
        CellChannelItem channel = channels.constFirst();
        channel.position = channelWtIndex;
        ui->configChannelsWdt->setChannelToCellPane(channel, cellIndex);
        return;
    }
    ui->configChannelsWdt->setChannelsToCell(channels, cellIndex);
}

void LinuxDigitalMatrixPage::slotSetChannelsToCellBtClicked()
{
    slotSetSelChannelsToCheckedCell(-1);
}

void LinuxDigitalMatrixPage::slotDeleteChannelsFromCellBtClicked()
{
    if (ui->configChannelsWdt)
        ui->configChannelsWdt->clearCellChannels(ui->configChannelsWdt->checkedIndex());
}

void LinuxDigitalMatrixPage::slotClearChannelsBtClicked()
{
    if (ui->configChannelsWdt)
        ui->configChannelsWdt->clearAllChannels();
}

void LinuxDigitalMatrixPage::slotStopAllTurnsBtClicked()
{
    ConfigChannelsWidget *wall = ui->configChannelsWdt;
    if (!wall)
        return;
    if (wall->allCellsStopped()) {
        LinuxPrompt::notice(this, tr("No turn show runs on the wall."));
        return;
    }
    if (LinuxPrompt::ask(this, tr("Do you want to stop every turn show on the wall?")))
        wall->stopAllTurnShows();
}

// ---- Wall presets -------------------------------------------------------------------------

void LinuxDigitalMatrixPage::slotFillPresetMenu()
{
    QMenu *menu = ui->operButtonsWt->presetMenu();
    // The menus of the presets listed last time go with their entries.
    qDeleteAll(menu->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly));
    menu->clear();
    const bool usable = isServerConnectOK() && ui->configChannelsWdt
            && ui->configChannelsWdt->isConfigured() && currentIndex >= 0
            && currentIndex < servers.size();
    QAction *save = menu->addAction(tr("Save As..."), this, &LinuxDigitalMatrixPage::savePresetAs);
    save->setObjectName(QStringLiteral("savePresetAction"));
    save->setEnabled(usable);
    if (!usable)
        return;
    const QStringList names =
            DATACore::UserManagerCore::instance()->wallPresetNames(servers.at(currentIndex)->id);
    PresetMenuEntries::add(
            menu, names, this, [this](const QString &name) { recallPreset(name); },
            [this](const QString &name) { renamePreset(name); },
            [this](const QString &name) { deletePreset(name); });
}

void LinuxDigitalMatrixPage::savePresetAs()
{
    if (currentIndex < 0 || currentIndex >= servers.size() || !ui->configChannelsWdt)
        return;
    bool ok = false;
    const QString name = QInputDialog::getText(window(), tr("Save Preset"), tr("Preset name:"),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return;
    const QByteArray payload = LinuxWallPreset::capture(*ui->configChannelsWdt).toJson();
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    if (!dataCentre->saveWallPreset(servers.at(currentIndex)->id, name, payload))
        LinuxPrompt::notice(this,
                            tr("The preset could not be saved: %1").arg(dataCentre->lastError()));
}

void LinuxDigitalMatrixPage::recallPreset(const QString &name)
{
    ConfigChannelsWidget *wall = ui->configChannelsWdt;
    if (!wall || currentIndex < 0 || currentIndex >= servers.size()
        || !LinuxPrompt::ask(this, tr("Do you want to recall the preset \"%1\"?").arg(name)))
        return;
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    QByteArray payload;
    LinuxWallPreset preset;
    if (!dataCentre->loadWallPreset(servers.at(currentIndex)->id, name, &payload)
        || !LinuxWallPreset::fromJson(payload, &preset)) {
        LinuxPrompt::notice(this, tr("The preset \"%1\" cannot be read.").arg(name));
        return;
    }
    // Nothing is sent for a preset the wall cannot take at all, nor when the operator does
    // not want what fits of it.
    const QString misfit = preset.misfit(*wall);
    if (!misfit.isEmpty()) {
        LinuxPrompt::notice(this, misfit);
        return;
    }
    QStringList missing;
    const LinuxWallPreset fitted = preset.fittedTo(*wall, &missing);
    if (!missing.isEmpty()
        && !PresetMisfitQuestion::ask(this, LinuxPrompt::tr("Prompt"), name, missing))
        return;
    DigitalMatrixInteractionPort *matrix = DigitalMatrixInteractionPort::instance();
    const LinuxWallPreset before = LinuxWallPreset::capture(*wall);
    // A recall replaces the wall: what came before it cannot be undone step by step (an undo
    // would find the cells changed and blame another operator).
    if (wallHistory)
        wallHistory->clear();
    const QString failed = fitted.sendTo(matrix, before);
    QString undoFailed;
    if (!failed.isEmpty()) {
        // The wall goes back to what it held, from wherever the recall stopped.
        LinuxWallPreset reached = fitted;
        int rows = 0;
        int columns = 0;
        int melted = -1;
        if (matrix->getScreenGrid(&rows, &columns, &melted) == 0)
            reached.wallCell = melted;
        undoFailed = before.sendTo(matrix, reached);
    }
    wall->loadFromServer();
    if (failed.isEmpty())
        return;
    if (undoFailed.isEmpty())
        LinuxPrompt::notice(
                this, tr("The matrix refused %1. The wall was put back as it was.").arg(failed));
    else
        LinuxPrompt::notice(this,
                            tr("The matrix refused %1, and then %2 while putting the wall "
                               "back.")
                                    .arg(failed, undoFailed));
}

void LinuxDigitalMatrixPage::renamePreset(const QString &name)
{
    if (currentIndex < 0 || currentIndex >= servers.size())
        return;
    bool ok = false;
    const QString newName = QInputDialog::getText(window(), tr("Rename Preset"), tr("Preset name:"),
                                                  QLineEdit::Normal, name, &ok);
    if (!ok || newName == name)
        return;
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    if (!dataCentre->renameWallPreset(servers.at(currentIndex)->id, name, newName))
        LinuxPrompt::notice(this,
                            tr("The preset could not be renamed: %1").arg(dataCentre->lastError()));
}

void LinuxDigitalMatrixPage::deletePreset(const QString &name)
{
    if (currentIndex < 0 || currentIndex >= servers.size()
        || !LinuxPrompt::ask(this, tr("Do you want to delete the preset \"%1\"?").arg(name)))
        return;
    DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    if (!dataCentre->deleteWallPreset(servers.at(currentIndex)->id, name))
        LinuxPrompt::notice(this,
                            tr("The preset could not be deleted: %1").arg(dataCentre->lastError()));
}

void LinuxDigitalMatrixPage::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    ui->retranslateUi(this);
    // The hint beside the server tools says where the page stands now.
    DigitalMatrixServerOperWidget *oper = ui->serverOperWdt;
    watchBtn->setText(tr("Watch"));
    watchBtn->setToolTip(tr("Watch the matrix without taking control"));
    if (!hasCurrentServer())
        oper->setConnectServerHint(noServerHint());
    else if (isWatching())
        oper->setConnectServerHint(tr("Watching the matrix: commands are disabled."));
    else
        oper->setConnectServerHint(isServerConnectOK()
                                           ? tr("Digital matrix server connect ok!")
                                           : tr("Digital matrix server not connect yet!"));
    if (!operatorsLabel->isHidden())
        operatorsLabel->setText(MatrixOperatorInfo::othersLine(otherOperators));
    for (const DigitalMatrixServerInfo *server : qAsConst(servers))
        showOnlineState(server->id);
    updateUndoButtons();
}

// ---- Undo and redo of wall changes ---------------------------------------------------------

void LinuxDigitalMatrixPage::initUndo()
{
    ConfigChannelsWidget *grid = ui->configChannelsWdt;
    wallHistory = new LinuxWallHistory(grid, this);
    connect(grid, &ConfigChannelsWidget::signalWallChanged, wallHistory,
            &LinuxWallHistory::wallChanged);
    connect(grid, &ConfigChannelsWidget::signalWallRead, wallHistory,
            &LinuxWallHistory::takeWallAsRead);
    connect(wallHistory, &LinuxWallHistory::changed, this,
            &LinuxDigitalMatrixPage::updateUndoButtons);
    connect(wallHistory, &LinuxWallHistory::notice, this,
            [this](const QString &text) { LinuxPrompt::notice(this, text); });
    connect(ui->operButtonsWt, &MatrixOperButtonsWt::signalRedoLayoutBtClicked, wallHistory,
            &LinuxWallHistory::redo);
    // Ctrl+Z and Ctrl+Shift+Z while the page (the grid, a tree, a button) has the keyboard.
    undoAction = new QAction(this);
    undoAction->setShortcut(QKeySequence::Undo);
    undoAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    redoAction = new QAction(this);
    redoAction->setShortcut(QKeySequence::Redo);
    redoAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(undoAction);
    addAction(redoAction);
    connect(undoAction, &QAction::triggered, wallHistory, &LinuxWallHistory::undo);
    connect(redoAction, &QAction::triggered, wallHistory, &LinuxWallHistory::redo);
    updateUndoButtons();
}

void LinuxDigitalMatrixPage::updateUndoButtons()
{
    if (!wallHistory || !ui)
        return;
    const WallUndoHistory *steps = wallHistory->history();
    const bool mayAct = isServerConnectOK() && !upgradeWaiting
            && matrixStatus() == MatrixStatusNormal && ui->operButtonsWt->isEnabled();
    const bool undo = mayAct && steps->canUndo();
    const bool redo = mayAct && steps->canRedo();
    QPushButton *undoBt = ui->operButtonsWt->undoButton();
    QPushButton *redoBt = ui->operButtonsWt->redoButton();
    // A button that loses its use while it has the keyboard hands it to the wall, not to the
    // tool after it ("Clear Channels").
    const bool wallTakesFocus = (undoBt->hasFocus() && !undo) || (redoBt->hasFocus() && !redo);
    undoBt->setEnabled(undo);
    redoBt->setEnabled(redo);
    if (wallTakesFocus && ui->configChannelsWdt)
        ui->configChannelsWdt->setFocus(Qt::OtherFocusReason);
    undoAction->setEnabled(undo);
    redoAction->setEnabled(redo);
    undoBt->setToolTip(steps->canUndo() ? tr("Undo %1").arg(steps->undoText())
                                        : tr("Nothing to undo"));
    redoBt->setToolTip(steps->canRedo() ? tr("Redo %1").arg(steps->redoText())
                                        : tr("Nothing to redo"));
}

} // namespace LUMO_DIGITALMATRIX_MODULE
