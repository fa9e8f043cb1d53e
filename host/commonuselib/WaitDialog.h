// The host's busy window: a short text with a running indicator while something is pending.
#pragma once

#include "lumohost_export.h"

#include <QFrame>
#include <QString>
#include <QUuid>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace COMMONUSELIB {

class LUMOHOST_EXPORT WaitDialog : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY(WaitDialog)

public:
    // The process-wide wait dialog, created on first use; deleted by release() or
    // when the application object goes away.
    static WaitDialog *getInstance();
    static void release();

    // Shows the window with the text and returns at once. The window stays on top of
    // the application but is not modal: it does not block the caller, nor does it
    // become QApplication::activeModalWidget(). It hides itself after timeoutMs
    // (a value of 0 or below means no time-out) and then emits signalWaitTimeout.
    // Calling it again while waiting replaces the text and the id and restarts the clock.
    void showWaitDialog(const QString &text, const QUuid &id, int timeoutMs);
    // The same, with a second line under the text that names what is waited for (a server's
    // name and address, say). The plain call above shows no second line.
    void showWaitDialog(const QString &text, const QString &detail, const QUuid &id,
                        int timeoutMs);
    // Hides the window and stops the clock; nothing is emitted.
    void hideWaitDialog();

    // Turns the running indicator into a bar of percent (0..100) with the percentage shown,
    // and shows detail under the text; until the next showWaitDialog, which runs the
    // indicator again and clears the detail.
    void setWaitProgress(int percent, const QString &detail = QString());
    // Offers a "Cancel" button (waitCancelButton) for the current wait, until the next
    // showWaitDialog. Pressing it hides the window and emits signalWaitCancelled.
    void setWaitCancellable(bool cancellable);
    bool isWaitCancellable() const;

    // -1 while the indicator runs.
    int waitProgress() const;

    bool isWaiting() const { return m_waiting; }
    QString text() const;
    QString detail() const;
    QUuid waitId() const { return m_id; }

signals:
    // The wait with this id ran out of time and the window closed itself.
    void signalWaitTimeout(const QUuid &id);
    // The person cancelled the wait with this id and the window closed.
    void signalWaitCancelled(const QUuid &id);

protected:
    // A modal window (a question, a dialog) coming up hides the wait until it has gone: the
    // wait never covers what the person has to answer.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WaitDialog(QWidget *parent = nullptr);
    ~WaitDialog() override;
    void placeOnActiveWindow();
    void slotTimeout();
    void slotCancel();
    void showWhenNothingModal();

    QLabel *m_textLabel = nullptr;
    QLabel *m_detailLabel = nullptr;
    QProgressBar *m_busyBar = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QTimer *m_timer = nullptr;
    QUuid m_id;
    bool m_waiting = false;
};

} // namespace COMMONUSELIB
