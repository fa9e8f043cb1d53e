#include "DemoMainWindow.h"

#include "DemoCommandLine.h"
#include "DemoHost.h"

#include "DigitalMatrixConfigPage.h"
#include "MatrixSimulator.h"
#include "SimulatedWallWindow.h"

#include "UserManagerCore.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

using LUMO_DIGITALMATRIX_MODULE::DigitalMatrixConfigPage;

DemoMainWindow::DemoMainWindow(DemoHost *host, QWidget *parent)
    : QMainWindow(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("demoMainWindow"));
    setWindowTitle(tr("Digital Matrix - demo host"));
    m_page = new DigitalMatrixConfigPage(this);
    m_page->setObjectName(QStringLiteral("digitalMatrixConfigPage"));
    setCentralWidget(m_page);
    buildMenus();

    QString where;
    if (MatrixSimulator *simulator = host->simulator()) {
        where = tr("Built-in matrices: X86 on 127.0.0.1:%1, Linux on 127.0.0.1:%2")
                        .arg(simulator->x86Port())
                        .arg(simulator->linuxPort());
    } else {
        where = tr("No built-in matrices: add the address of a running matrix");
    }
    auto *status = new QLabel(
            where + QStringLiteral("   |   ") + tr("Data: %1").arg(host->dataFile()), this);
    status->setObjectName(QStringLiteral("demoStatusLabel"));
    statusBar()->addWidget(status, 1);
    resize(1280, 760);
}

DemoMainWindow::~DemoMainWindow()
{
    delete m_x86Wall;
    delete m_linuxWall;
}

void DemoMainWindow::buildMenus()
{
    QMenu *matrix = menuBar()->addMenu(tr("&Matrix"));
    matrix->setObjectName(QStringLiteral("demoMatrixMenu"));
    m_showWallAction = matrix->addAction(tr("Show &simulated wall"), this,
                                         &DemoMainWindow::showSimulatedWalls);
    m_showWallAction->setObjectName(QStringLiteral("showWallAction"));
    m_showWallAction->setShortcut(QKeySequence(Qt::Key_F8));
    m_showWallAction->setEnabled(m_host->simulator() != nullptr);
    matrix->addSeparator();
    QAction *x86Page =
            matrix->addAction(tr("&X86 matrix page"), this, [this] { showMatrixPage(0); });
    x86Page->setObjectName(QStringLiteral("showX86PageAction"));
    QAction *linuxPage =
            matrix->addAction(tr("&Linux matrix page"), this, [this] { showMatrixPage(1); });
    linuxPage->setObjectName(QStringLiteral("showLinuxPageAction"));
    matrix->addSeparator();
    QAction *quit = matrix->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&Command-line options"), this, &DemoMainWindow::showCommandLineHelp);
    help->addAction(tr("&About"), this, &DemoMainWindow::showAbout);
}

void DemoMainWindow::showSimulatedWalls()
{
    MatrixSimulator *simulator = m_host->simulator();
    if (!simulator)
        return;
    if (!m_x86Wall && simulator->x86Port()) {
        m_x86Wall = new SimulatedWallWindow(simulator, SimulatedWallWindow::X86Matrix);
    }
    if (!m_linuxWall && simulator->linuxPort()) {
        m_linuxWall = new SimulatedWallWindow(simulator, SimulatedWallWindow::LinuxMatrix);
        m_linuxWall->setLinuxHang(m_host->linuxHang());
        m_linuxWall->setChannelNamer([](const QString &address, int channelNo) {
            return DATACore::UserManagerCore::instance()
                    ->channelInfoByDeviceNo(address, channelNo)
                    .channelName;
        });
    }
    placeWalls();
    for (SimulatedWallWindow *wall : {m_x86Wall.data(), m_linuxWall.data()}) {
        if (!wall)
            continue;
        // Closing the host window ends the demo even while walls are open.
        wall->setAttribute(Qt::WA_QuitOnClose, false);
        wall->show();
        wall->raise();
    }
}

void DemoMainWindow::placeWalls()
{
    // Beside the main window when the screen has room, else over its right part.
    const QRect available = screen() ? screen()->availableGeometry()
                                     : QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int width = 640;
    const int height = 400;
    int left = frame.right() + 8;
    if (left + width > available.right())
        left = qMax(available.left(), available.right() - width);
    int top = qMax(available.top(), frame.top());
    for (SimulatedWallWindow *wall : {m_x86Wall.data(), m_linuxWall.data()}) {
        if (!wall || wall->isVisible())
            continue;
        wall->setGeometry(left, top, width, height);
        top = qMin(top + height + 36, available.bottom() - height);
    }
}

void DemoMainWindow::showMatrixPage(int page)
{
    auto *stack = m_page->findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
    if (!stack || page < 0 || page >= stack->count())
        return;
    if (QWidget *hint = m_page->findChild<QWidget *>(QStringLiteral("pictureHint")))
        hint->hide();
    stack->setCurrentIndex(page);
    stack->show();
}

void DemoMainWindow::showCommandLineHelp()
{
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Command-line options"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *text = new QPlainTextEdit(DemoCommandLine::helpText(), &dialog);
    text->setReadOnly(true);
    text->setMinimumSize(640, 420);
    layout->addWidget(text);
    dialog.exec();
}

void DemoMainWindow::showAbout()
{
    QMessageBox::about(this, tr("About the demo host"),
                       tr("<p>Demo host of the digital matrix module %1.</p>"
                          "<p>Data centre: %2<br/>Settings and log: %3<br/>Walls of the "
                          "built-in matrices: %4</p>")
                               .arg(QCoreApplication::applicationVersion(),
                                    m_host->dataFile().toHtmlEscaped(),
                                    m_host->logFile().toHtmlEscaped(),
                                    m_host->simulator() ? m_host->stateFile().toHtmlEscaped()
                                                        : tr("(not running)")));
}
