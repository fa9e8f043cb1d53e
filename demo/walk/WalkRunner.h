// Runs a scripted walk through the running demo host one step at a time: each step waits
// until its condition holds, then acts with real mouse and key events. Steps are driven by a
// timer, so they go on inside the event loops of modal dialogs; every action is started from
// its own timer event, so an action that opens a dialog does not hold up the walk.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QVector>

#include <functional>

class QPixmap;
class QWidget;

class WalkRunner : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(WalkRunner)

public:
    using Condition = std::function<bool()>;
    using Action = std::function<void()>;

    explicit WalkRunner(const QString &screenshotFolder, QObject *parent = nullptr);
    ~WalkRunner() override;

    // Waits up to timeoutMs for ready, then runs act.
    void step(const QString &name, const Condition &ready, const Action &act,
              int timeoutMs = 15000);
    // Runs act at once.
    void then(const QString &name, const Action &act);
    // Lets time pass (turn shows step, windows repaint).
    void pause(const QString &name, int ms);
    // Saves the whole screen, or one window, as <folder>/<name>.png.
    void screenshot(const QString &name, const std::function<QWidget *()> &window = {});
    // Saves what the screen shows inside the window's frame, dialogs and boxes over it
    // included, and any open menu or tool tip whole, as <folder>/<name>.png.
    void screenshotOver(const QString &name, const std::function<QWidget *()> &window);
    // Saves this part of the screen, with whatever stands over it, as <folder>/<name>.png.
    void screenshotArea(const QString &name, const std::function<QRect()> &area);

    void start();
    QStringList savedScreenshots() const { return m_saved; }

    // Helpers for conditions and actions.
    static QWidget *modal(const char *className = nullptr);
    static bool isShown(QWidget *widget);
    // Presses the button of the active modal box whose object name is given.
    static void clickIn(QWidget *root, const char *objectName);

signals:
    void finished(bool ok, const QString &message);

private:
    struct Step
    {
        QString name;
        Condition ready;
        Action act;
        int timeoutMs = 15000;
    };
    void tick();
    void fail(const QString &why);
    void save(const QString &name, QWidget *window);
    void savePicture(const QString &name, const QPixmap &picture);

    QVector<Step> m_steps;
    int m_current = -1;
    bool m_acting = false;
    QElapsedTimer m_stepClock;
    QTimer m_timer;
    QDir m_folder;
    QStringList m_saved;
};
