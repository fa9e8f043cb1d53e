// Drives a modal dialog from a test: acts on it once it appears, then closes it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;

// Polls QApplication::activeModalWidget() with a QTimer (every intervalMs, at most maxTries
// times). The first modal widget that is not the one already modal when start() was
// called is handed to the action; afterwards the widget is closed (QDialog::reject(),
// or close()) if it is still open, so a failed check inside the action cannot hang the
// test. QVERIFY inside the action only leaves the action: record outcomes and check them
// after exec() returns.
//
//     ModalDriver driver([&](QWidget *modal) { seenTitle = modal->windowTitle(); });
//     driver.start();
//     page.slotEditServerBtClicked();   // runs exec()
//     QVERIFY(driver.ran());
class ModalDriver : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(ModalDriver)

public:
    using Action = std::function<void(QWidget *modal)>;

    explicit ModalDriver(Action action, int maxTries = 500, int intervalMs = 10,
                         QObject *parent = nullptr);
    ~ModalDriver() override;

    void start();
    void stop();

    bool ran() const { return m_ran; }

    // Closes a modal widget: reject() for a dialog, close() otherwise.
    static void closeModal(QWidget *modal);
    // Runs the action on the next modal widget without keeping a driver around: the
    // driver deletes itself when done or when it gives up.
    static void onNextModal(Action action, int maxTries = 500, int intervalMs = 10);

private:
    void poll();

    Action m_action;
    QTimer m_timer;
    QPointer<QWidget> m_skip;
    int m_triesLeft = 0;
    int m_maxTries = 0;
    bool m_ran = false;
    bool m_selfDelete = false;
};
