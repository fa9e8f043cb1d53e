#include "WalkRunner.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <QtTest>

#include <cstdio>

WalkRunner::WalkRunner(const QString &screenshotFolder, QObject *parent)
    : QObject(parent)
    , m_folder(screenshotFolder)
{
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &WalkRunner::tick);
}

WalkRunner::~WalkRunner() = default;

void WalkRunner::step(const QString &name, const Condition &ready, const Action &act, int timeoutMs)
{
    m_steps.append({name, ready, act, timeoutMs});
}

void WalkRunner::then(const QString &name, const Action &act)
{
    step(
            name, [] { return true; }, act);
}

void WalkRunner::pause(const QString &name, int ms)
{
    auto since = std::make_shared<QElapsedTimer>();
    step(
            name,
            [since, ms] {
                if (!since->isValid())
                    since->start();
                return since->elapsed() >= ms;
            },
            [] {}, ms + 5000);
}

void WalkRunner::screenshot(const QString &name, const std::function<QWidget *()> &window)
{
    then(QStringLiteral("screenshot ") + name,
         [this, name, window] { save(name, window ? window() : nullptr); });
}

void WalkRunner::screenshotOver(const QString &name, const std::function<QWidget *()> &window)
{
    screenshotArea(name, [window] {
        const QWidget *shown = window();
        if (!shown)
            return QRect();
        // An open menu or tool tip is pictured whole, also where it reaches past the window.
        QRect area = shown->frameGeometry();
        for (const QWidget *top : QApplication::topLevelWidgets()) {
            const Qt::WindowType type = top->windowType();
            if (top->isVisible() && (type == Qt::Popup || type == Qt::ToolTip))
                area |= top->frameGeometry();
        }
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            area &= screen->geometry();
        return area;
    });
}

void WalkRunner::screenshotArea(const QString &name, const std::function<QRect()> &area)
{
    then(QStringLiteral("screenshot ") + name, [this, name, area] {
        const QRect part = area();
        QScreen *screen = QGuiApplication::primaryScreen();
        savePicture(name,
                    screen ? screen->grabWindow(0, part.x(), part.y(), part.width(), part.height())
                           : QPixmap());
    });
}

void WalkRunner::start()
{
    m_current = 0;
    m_stepClock.start();
    if (!m_steps.isEmpty())
        std::printf("walk: %s\n", qPrintable(m_steps.first().name));
    m_timer.start();
}

QWidget *WalkRunner::modal(const char *className)
{
    QWidget *widget = QApplication::activeModalWidget();
    if (!widget || (className && !widget->inherits(className)))
        return nullptr;
    return widget;
}

bool WalkRunner::isShown(QWidget *widget)
{
    return widget && widget->isVisible();
}

void WalkRunner::clickIn(QWidget *root, const char *objectName)
{
    if (!root)
        return;
    if (auto *button = root->findChild<QPushButton *>(QLatin1String(objectName)))
        QTest::mouseClick(button, Qt::LeftButton);
}

void WalkRunner::tick()
{
    if (m_acting || m_current < 0)
        return;
    if (m_current >= m_steps.size()) {
        m_timer.stop();
        m_current = -1;
        emit finished(true, QString());
        return;
    }
    const Step &step = m_steps.at(m_current);
    if (!step.ready()) {
        if (m_stepClock.elapsed() > step.timeoutMs)
            fail(QStringLiteral("step \"%1\" did not become ready within %2 ms")
                         .arg(step.name)
                         .arg(step.timeoutMs));
        return;
    }
    // The action runs from its own timer event: one that opens a modal dialog blocks only
    // itself, and the walk goes on inside the dialog's event loop.
    m_acting = true;
    const Action act = step.act;
    QTimer::singleShot(0, this, [this, act] {
        m_acting = false;
        ++m_current;
        m_stepClock.restart();
        if (m_current < m_steps.size())
            std::printf("walk: %s\n", qPrintable(m_steps.at(m_current).name));
        std::fflush(stdout);
        act();
    });
}

void WalkRunner::fail(const QString &why)
{
    m_timer.stop();
    save(QStringLiteral("failed"), nullptr);
    m_current = -1;
    emit finished(false, why);
}

void WalkRunner::save(const QString &name, QWidget *window)
{
    QPixmap picture;
    if (window) {
        picture = window->grab();
    } else if (QScreen *screen = QGuiApplication::primaryScreen()) {
        picture = screen->grabWindow(0);
    }
    savePicture(name, picture);
}

void WalkRunner::savePicture(const QString &name, const QPixmap &picture)
{
    const QString file = m_folder.absoluteFilePath(name + QStringLiteral(".png"));
    if (picture.isNull() || !picture.save(file, "PNG")) {
        std::fprintf(stderr, "walk: cannot save %s\n", qPrintable(file));
        return;
    }
    m_saved.append(file);
    std::printf("walk: saved %s\n", qPrintable(file));
}
