// The demo host's window: the module's configuration page with a small host menu (simulated
// walls, the two pages, help) and a status line that says where the demo keeps its data.
#pragma once

#include "SimulatedWallWindow.h"

#include <QMainWindow>
#include <QPointer>

class DemoHost;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace LUMO_DIGITALMATRIX_MODULE {
class DigitalMatrixConfigPage;
}

class DemoMainWindow : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY(DemoMainWindow)

public:
    // host must outlive the window.
    explicit DemoMainWindow(DemoHost *host, QWidget *parent = nullptr);
    ~DemoMainWindow() override;

    LUMO_DIGITALMATRIX_MODULE::DigitalMatrixConfigPage *configPage() const { return m_page; }
    // The wall windows, created by the first showSimulatedWalls(); null before.
    SimulatedWallWindow *x86Wall() const { return m_x86Wall; }
    SimulatedWallWindow *linuxWall() const { return m_linuxWall; }
    QAction *showWallAction() const { return m_showWallAction; }

public slots:
    // Opens (or raises) a window per built-in matrix, beside this window.
    void showSimulatedWalls();
    // Shows the X86 control page (0) or the Linux configuration page (1) of the module,
    // also when the page for the other kind of server would be chosen.
    void showMatrixPage(int page);
    void showCommandLineHelp();
    void showAbout();
    // Switches every window to language ("en" or "zh_cn") and keeps it for the next start.
    void switchLanguage(const QString &language);

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildMenus();
    void retranslate();
    void placeWalls();

    DemoHost *m_host = nullptr;
    LUMO_DIGITALMATRIX_MODULE::DigitalMatrixConfigPage *m_page = nullptr;
    QPointer<SimulatedWallWindow> m_x86Wall;
    QPointer<SimulatedWallWindow> m_linuxWall;
    QAction *m_showWallAction = nullptr;
    QMenu *m_matrixMenu = nullptr;
    QAction *m_x86PageAction = nullptr;
    QAction *m_linuxPageAction = nullptr;
    QAction *m_quitAction = nullptr;
    QMenu *m_languageMenu = nullptr;
    QActionGroup *m_languages = nullptr;
    QMenu *m_helpMenu = nullptr;
    QAction *m_commandLineAction = nullptr;
    QAction *m_aboutAction = nullptr;
    QLabel *m_status = nullptr;
};
