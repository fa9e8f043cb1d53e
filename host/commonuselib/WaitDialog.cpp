#include "WaitDialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariant>

namespace COMMONUSELIB {

namespace {

QPointer<WaitDialog> &instanceSlot()
{
    static QPointer<WaitDialog> dialog;
    return dialog;
}

// Lives as a child of the application object and takes the wait dialog with it, so that
// the top-level window does not outlive the application.
class WaitDialogReaper : public QObject
{
public:
    explicit WaitDialogReaper(QObject *parent)
        : QObject(parent)
    { }
    ~WaitDialogReaper() override { WaitDialog::release(); }
};

} // namespace

WaitDialog *WaitDialog::getInstance()
{
    QPointer<WaitDialog> &dialog = instanceSlot();
    if (!dialog) {
        dialog = new WaitDialog;
        if (QCoreApplication *app = QCoreApplication::instance()) {
            new WaitDialogReaper(app);
            connect(app, &QCoreApplication::aboutToQuit, &WaitDialog::release);
        }
    }
    return dialog;
}

void WaitDialog::release()
{
    QPointer<WaitDialog> &dialog = instanceSlot();
    delete dialog.data();
    dialog = nullptr;
}

WaitDialog::WaitDialog(QWidget *parent)
    : QFrame(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("WaitDialog"));
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    setMinimumSize(260, 90);

    m_textLabel = new QLabel(this);
    m_textLabel->setObjectName(QStringLiteral("waitTextLabel"));
    m_textLabel->setAlignment(Qt::AlignCenter);
    m_textLabel->setWordWrap(true);
    m_textLabel->setProperty("lumo_grayYaHei", true);

    m_detailLabel = new QLabel(this);
    m_detailLabel->setObjectName(QStringLiteral("waitDetailLabel"));
    m_detailLabel->setAlignment(Qt::AlignCenter);
    m_detailLabel->setWordWrap(true);
    m_detailLabel->setTextFormat(Qt::PlainText);
    m_detailLabel->setProperty("lumo_grayYaHei", true);
    m_detailLabel->hide();
    m_busyBar = new QProgressBar(this);
    m_busyBar->setObjectName(QStringLiteral("waitBusyBar"));
    m_busyBar->setRange(0, 0); // a running indicator, no percentage
    m_busyBar->setTextVisible(false);
    m_busyBar->setFixedHeight(8);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("waitCancelButton"));
    m_cancelButton->hide();
    connect(m_cancelButton, &QPushButton::clicked, this, &WaitDialog::slotCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(12);
    layout->addStretch(1);
    layout->addWidget(m_textLabel);
    layout->addWidget(m_detailLabel);
    layout->addWidget(m_busyBar);
    layout->addWidget(m_cancelButton, 0, Qt::AlignHCenter);
    layout->addStretch(1);

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &WaitDialog::slotTimeout);
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

WaitDialog::~WaitDialog()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

QString WaitDialog::text() const
{
    return m_textLabel->text();
}

void WaitDialog::setWaitProgress(int percent, const QString &detail)
{
    m_busyBar->setRange(0, 100);
    m_busyBar->setValue(qBound(0, percent, 100));
    m_busyBar->setFormat(QStringLiteral("%p%"));
    m_busyBar->setTextVisible(true);
    m_busyBar->setFixedHeight(18);
    m_detailLabel->setText(detail);
    m_detailLabel->setVisible(!detail.isEmpty());
    adjustSize();
}

int WaitDialog::waitProgress() const
{
    return m_busyBar->maximum() == 0 ? -1 : m_busyBar->value();
}

QString WaitDialog::detail() const
{
    return m_detailLabel->text();
}

void WaitDialog::showWaitDialog(const QString &text, const QUuid &id, int timeoutMs)
{
    showWaitDialog(text, QString(), id, timeoutMs);
}

void WaitDialog::showWaitDialog(const QString &text, const QString &detail, const QUuid &id,
                                int timeoutMs)
{
    m_busyBar->setRange(0, 0);
    m_busyBar->setTextVisible(false);
    m_busyBar->setFixedHeight(8);
    m_textLabel->setText(text);
    m_detailLabel->setText(detail);
    m_detailLabel->setVisible(!detail.isEmpty());
    m_cancelButton->hide();
    m_id = id;
    m_waiting = true;
    m_timer->stop();
    if (timeoutMs > 0)
        m_timer->start(timeoutMs);
    adjustSize();
    placeOnActiveWindow();
    showWhenNothingModal();
}

void WaitDialog::showWhenNothingModal()
{
    if (!m_waiting)
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != this && modal->isVisible())
        return;
    show();
    raise();
}

bool WaitDialog::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::Hide) || !m_waiting || watched == this
        || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (!widget->isWindow() || !widget->isModal())
        return false;
    if (type == QEvent::Show) {
        hide();
    } else {
        // The modal window is still visible while its Hide event is delivered.
        QTimer::singleShot(0, this, &WaitDialog::showWhenNothingModal);
    }
    return false;
}

void WaitDialog::hideWaitDialog()
{
    m_timer->stop();
    m_waiting = false;
    hide();
}

void WaitDialog::setWaitCancellable(bool cancellable)
{
    m_cancelButton->setVisible(cancellable);
    adjustSize();
}

bool WaitDialog::isWaitCancellable() const
{
    return !m_cancelButton->isHidden();
}

void WaitDialog::slotCancel()
{
    if (!m_waiting)
        return;
    m_timer->stop();
    m_waiting = false;
    hide();
    emit signalWaitCancelled(m_id);
}

void WaitDialog::slotTimeout()
{
    m_waiting = false;
    hide();
    emit signalWaitTimeout(m_id);
}

void WaitDialog::placeOnActiveWindow()
{
    QRect area;
    QWidget *active = QApplication::activeWindow();
    if (!active || active == this || !active->isVisible()) {
        // No window has the focus (a display without a window manager, or the console is in
        // the background): the largest window of the console is the one the person works in.
        active = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window == this || !window->isVisible() || window->isMinimized()
                || (window->windowFlags() & Qt::Popup) == Qt::Popup)
                continue;
            const QSize size = window->frameGeometry().size();
            if (!active || size.width() * size.height()
                        > active->frameGeometry().width() * active->frameGeometry().height())
                active = window;
        }
    }
    if (active)
        area = active->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}

} // namespace COMMONUSELIB
