#pragma once

#include "digitalmatrix_export.h"

#include "CellChannelItem.h"
#include "CellTurnInfo.h"
#include "DigitalMatrixServerInfo.h"
#include "MatrixMetaTypes.h"
#include "MatrixOperatorInfo.h"
#include "ProcessSingleton.h"

#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

class IMatrixConfig;
class IBaseMatrixConfig;

namespace LUMO_DIGITALMATRIX_MODULE {

// The module's only way to the matrix service: owns the X86 and the Linux interface,
// registers the hub's callbacks and offers one method per matrix command.
class DIGITALMATRIX_EXPORT DigitalMatrixInteractionPort
    : public QObject,
      public ProcessSingleton<DigitalMatrixInteractionPort>
{
    Q_OBJECT
    Q_DISABLE_COPY(DigitalMatrixInteractionPort)

public:
    // The port's own refusal: nothing was sent.
    static constexpr int RefusedByPort = -4;
    // Returned by every command while the service gave no interface.
    static constexpr int NoService = -2;
    // One screen in the Linux service's units.
    static constexpr int ScreenUnit = 1000000;
    // Records in one cell of a Linux wall.
    static constexpr int MaxCellChannels = 16;
    // Screens of a Linux wall.
    static constexpr int MaxScreens = 4;

    // Where the port gets its service interfaces; the default is the matrix-service
    // library. Tests and hosts with their own service replace it before the port is
    // created (a change applies to the next port created).
    struct ServiceFactory
    {
        std::function<IMatrixConfig *()> createX86;
        std::function<void(IMatrixConfig *)> releaseX86;
        std::function<IBaseMatrixConfig *()> createBase;
        std::function<void(IBaseMatrixConfig *)> releaseBase;
    };
    static void setServiceFactory(const ServiceFactory &factory);
    static void resetServiceFactory();

    static DigitalMatrixInteractionPort *instance();
    static void release();

    // X86 matrix commands.
    void connectServer(const QString &ip, int port);
    void disconnectServer();
    int login(const QString &user, const QString &password);
    bool forceLogin();
    void setScreenCount(int rows, int columns);
    void requestLayout();
    void exchangeMirrors(int mirrorA, int mirrorB);
    void setConfigMode(bool on);
    void setMonitorSplit(int monitor, int splitCount);
    void setMonitorSources(int monitor, const _ST_ChnInfo *channels, int count);
    void setMonitorTurnSources(int monitor, const _ST_ChnInfo *channels, int count,
                               int turnInterval);
    void selectMonitor(int monitor);
    void setTurnState(int monitor, X86TurnState state);
    void clearSource(int monitor);
    void zoomMirrorAt(int mirror, int x, int y);
    void setMirrorRect(int mirror, RECT rect);

    // ---- Undo of X86 wall changes ----
    // Wall commands the X86 service sent since the last connectServer. The matrix answers
    // every one of them in order (signalCommandResult), so the n-th answer of a connection
    // is the answer to its n-th command.
    quint64 x86CommandsSent() const { return x86Sent; }

    // Linux matrix commands; each returns the service's result, 0 = success.
    int connectLinuxServer(const DigitalMatrixServerInfo &server);
    int disconnectLinuxServer();
    int rebootMatrix();
    int resetMatrix(int mode);
    int startUpgrade(int mode, const QString &url);
    // progress, when given, receives the matrix's percentage (0..100).
    bool pollUpgrade(int *resultCode, int *progress = nullptr);
    int setMatrixRowColumn(int rows, int columns);
    int setNumberArrangeMode(int on);
    QStringList getScreenNumbers();
    // Reads the screen numbers; only a result of 0 fills numbers with the matrix's own
    // (four distinct screens), anything else leaves it empty. -1: an unusable map.
    int readScreenNumbers(QStringList *numbers);
    // Whether the connected Linux matrix still answers: 0, or the service's error.
    int keepAlive();
    int setScreenNumbers(const QStringList &numbers);
    int getScreenGrid(int *rows, int *columns, int *meltedCell);
    int setScreenGrid(int rows, int columns);
    int setCellMelt(int cell, int rows, int columns, bool melt);
    int clearAllCells(int rows, int columns);
    int setCellChannels(int cell, int splitCount, const QList<CellChannelItem *> &items);
    int putCellChannel(int cell, const CellChannelItem &item, int op);
    int deleteCellChannel(int cell, int position);
    // The map owns its items: any it holds are deleted before it is filled.
    int getCellChannels(int cell, QMap<int, CellChannelItem *> *items, int *splitCount);
    int setCellTurnShow(int cell, const CellTurnInfo &info, int splitCount);
    int getCellTurnShow(int cell, CellTurnInfo *out);
    int setCellSingleWindow(int cell, int window, int on);
    void getCellSingleWindow(int cell, int *window);
    int setCellSplit(int cell, int split);

    // Who is on the matrices. The console's host name goes to both matrices with every
    // later login (the machine's host name unless a host sets another).
    void setClientName(const QString &host);
    // The X86 matrix's operators as it reported them last (no wait); the hub announces a
    // new report with signalOperatorsChanged.
    QList<MatrixOperatorInfo> x86Operators() const;
    // True, with who took over, when another console's forced login ended the X86 connection.
    bool x86Takeover(MatrixOperatorInfo *taker) const;
    // Asks the Linux matrix who is logged in; the service's result.
    int linuxOperators(QList<MatrixOperatorInfo> *operators);

    // Watching a matrix: following its wall without controlling it. The matrix refuses every
    // command of a watching connection (MatrixErrWatchOnly).
    // After the X86 connection succeeded, instead of login(): 0 watching, 1 wrong account.
    int x86Watch(const QString &user, const QString &password);
    // Connects to the Linux matrix as a watcher: 0, or the service's error.
    int linuxWatch(const DigitalMatrixServerInfo &server);
    // The counter of the Linux wall's changes (a watcher reads the wall again when it moves).
    int linuxWallRevision(int *revision);
    // Whether a matrix answers at all: a connection and its handshake, no login, beside any
    // connection of the page. May be called on any thread; blocks it at most timeoutMs.
    // 0 when the matrix welcomed it, else the service's error (MatrixErrBusy: it answers
    // but refuses for now).
    int probeX86(const QString &ip, int port, int timeoutMs);
    int probeLinux(const QString &ip, int port, int timeoutMs);

    // Data-centre operations.
    bool addServerToDB(const DigitalMatrixServerInfo &server);
    bool editServerInDB(const DigitalMatrixServerInfo &server);
    // 1 when the first matrix server stored is an X86 one, 2 when Linux, 0 when none.
    int serverTypeAlreadyConfigured();

    // What is on air on a Linux matrix: where each cell's turn show stands. Small enough to
    // be asked once a second; it also tells whether the matrix still answers.
    static constexpr int MaxTurnPageEntries = 16;
    int getCellTurnPages(QVector<CellTurnPage> *pages);
    // The firmware version of the connected Linux matrix (empty unless the result is 0).
    int getFirmwareVersion(QString *version);

    // Builds the record the Linux service takes for one channel of a cell.
    static CellChannelRecord buildCellChannelRecord(const CellChannelItem &item, int bitStream);
    // The full screen-number map last read from a Linux matrix.
    QStringList cachedScreenNumbers() const { return screenNumbers; }

private:
    friend class ProcessSingleton<DigitalMatrixInteractionPort>;

    explicit DigitalMatrixInteractionPort(QObject *parent = nullptr);
    ~DigitalMatrixInteractionPort() override;

    void countSent(int result);

    IMatrixConfig *x86Matrix = nullptr;
    quint64 x86Sent = 0;
    IBaseMatrixConfig *baseMatrix = nullptr;
    QStringList screenNumbers;
    ServiceFactory factory;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
