#pragma once

#include "digitalmatrix_export.h"

#include "MatrixMetaTypes.h"
#include "ProcessSingleton.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QVector>

namespace LUMO_DIGITALMATRIX_MODULE {

// Turns the X86 matrix service's callbacks into Qt signals. The callbacks may run on
// any thread; the hub lives on the application's thread, so receivers there get the
// signals queued, with every value copied.
class DIGITALMATRIX_EXPORT DigitalMatrixConfigSignals
    : public QObject,
      public ProcessSingleton<DigitalMatrixConfigSignals>
{
    Q_OBJECT
    Q_DISABLE_COPY(DigitalMatrixConfigSignals)

public:
    // Largest number of window records read from one layout; a wall never has more.
    static constexpr int MaxMirrorsPerLayout = 1024;

    static DigitalMatrixConfigSignals *instance();
    static void release();

    void sendDigitalMatrixConnectStatus(ConnType type);
    void sendMatrixInfo(int screens, int rows, int columns);
    // A layout from the service. From another thread it waits for the application's thread
    // with one wake-up; a layout that arrives while the one before still waits, with no other
    // event of the service in between, takes its place: only the newest is emitted.
    void sendLayout(_MIRRORLAYOUT *layout);
    // Reports the sources of a window: count records of 216 bytes at channels (read during
    // the call only; the records leave by value), and the turn interval.
    void sendGroupRes(int monitor, const _ST_ChnInfo *channels, int count, int interval);

    // Callbacks registered with the X86 service, in registration order. ctx is ignored.
    static void MATRIX_CALLBACK onConnectStatus(void *ctx, int connType);
    static void MATRIX_CALLBACK onMatrixInfo(void *ctx, int screens, int rows, int columns);
    static void MATRIX_CALLBACK onLayout(void *ctx, _MIRRORLAYOUT *layout);
    // The matrix's result of a wall command (MatrixX86Command), emitted as signalCommandResult.
    static void MATRIX_CALLBACK onCommandResult(void *ctx, int command, int result);
    static void MATRIX_CALLBACK onIgnored5(void *ctx);
    // What is on air: the channels on a window and the steps of its turn show.
    static void MATRIX_CALLBACK onSources(void *ctx, int monitor, const _ST_ChnInfo *channels,
                                          int count, int interval);
    static void MATRIX_CALLBACK onTurnStep(void *ctx, int monitor, int turnState, int page,
                                           int pages, int interval);
    // Callback 5: the matrix reported its operators or a takeover; emitted as
    // signalOperatorsChanged (read them from the port).
    static void MATRIX_CALLBACK onOperatorsChanged(void *ctx);

    // Merging layouts: how many layouts wait for the application's thread now (at most one
    // more than the other events of the service between them), and how many were merged
    // into a later one since the hub was created.
    int waitingLayoutCount() const;
    quint64 mergedLayoutCount() const;

signals:
    void signalConnectSuccess();
    void signalConnectFailed();
    void signalConnectTimeOut();
    void signalDisconnect();
    void signalDisError();
    void signalMatrixInfo(int screens, int rows, int columns);
    void signalCreateNewLayout(RECT wallRect, int mirrorCount, int layoutParam1, int layoutParam2,
                               int layoutParam3, int layoutParam4);
    void signalSetOneMirror(RECT rectA, RECT rectB, int index, int splitCount, int layer,
                            int mirrorParam4, int turnState);
    void signalSetMirrorEnd();
    void signalGroupResCount(int count);
    // The matrix answered a wall command: command is a MatrixX86Command, result 0 accepted,
    // otherwise the matrix's refusal (a MatrixServiceError).
    void signalCommandResult(int command, int result);

    // What is on air, as the matrix reports it. The channels on a window (in the order the
    // matrix holds them) with its turn interval, 0 for a fixed set; followed by
    // signalGroupResCount with their number.
    void signalGroupRes(int monitor, const QVector<_ST_ChnInfo> &channels, int interval);
    // A window's turn show stepped or changed: turnState as in the layout (0 none, 1 running,
    // 2 paused), page (0-based) of pages on air, interval in seconds.
    void signalTurnStep(int monitor, int turnState, int page, int pages, int interval);
    // Who is on the X86 matrix changed, or another console took it over from this one.
    void signalOperatorsChanged();

private:
    friend class ProcessSingleton<DigitalMatrixConfigSignals>;

    // One layout by value, as the page receives it.
    struct QueuedLayout
    {
        RECT wallRect {};
        int mirrorCount = 0;
        int params[4] {};
        QVector<_MIRRORINFO> mirrors;
    };
    enum class Delivery { Layout, Other };

    static QueuedLayout copyLayout(const _MIRRORLAYOUT &layout);
    void emitLayout(const QueuedLayout &layout);
    void queueLayout(QueuedLayout layout);
    // On the application's thread: emits the oldest waiting layout.
    void emitOldestQueuedLayout();
    // Any other event of the service ends merging into the layout waiting last, so that
    // every event keeps its place relative to the layouts.
    void closeLayoutQueue();

    explicit DigitalMatrixConfigSignals(QObject *parent = nullptr);
    ~DigitalMatrixConfigSignals() override;

    // Runs deliver with the hub under the hub's lock, so that no callback of the service
    // uses a hub being deleted. A callback may create the hub while the application runs;
    // while it shuts down (or without it) the callback is dropped.
    template<typename Deliver>
    static void deliverFromService(Deliver deliver, Delivery kind = Delivery::Other);

    mutable QMutex queueMutex;
    QList<QueuedLayout> queuedLayouts;
    // The last queued layout may still be replaced by a newer one.
    bool lastQueuedOpen = false;
    quint64 merged = 0;
    // Emitting a layout: a wake-up that runs meanwhile (a nested event loop) waits for it.
    bool emittingLayout = false;
    int deferredWakeUps = 0;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
