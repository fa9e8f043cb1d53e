#include "DemoMainWindow.h"

#include "DemoCommandLine.h"
#include "DemoHost.h"

#include "DigitalMatrixConfigPage.h"
#include "MatrixSimulator.h"
#include "SimulatedWallWindow.h"

#include "UserManagerCore.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
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
    m_page = new DigitalMatrixConfigPage(this);
    m_page->setObjectName(QStringLiteral("digitalMatrixConfigPage"));
    setCentralWidget(m_page);
    buildMenus();

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("demoStatusLabel"));
    statusBar()->addWidget(m_status, 1);
    retranslate();
    resize(1280, 760);
}

void DemoMainWindow::retranslate()
{
    setWindowTitle(tr("Digital Matrix - demo host"));
    m_matrixMenu->setTitle(tr("&Matrix"));
    m_showWallAction->setText(tr("Show &simulated wall"));
    m_x86PageAction->setText(tr("&X86 matrix page"));
    m_linuxPageAction->setText(tr("&Linux matrix page"));
    m_quitAction->setText(tr("&Quit"));
    m_languageMenu->setTitle(tr("L&anguage"));
    m_helpMenu->setTitle(tr("&Help"));
    m_commandLineAction->setText(tr("&Command-line options"));
    m_aboutAction->setText(tr("&About"));

    QString where;
    if (MatrixSimulator *simulator = m_host->simulator()) {
        where = tr("Built-in matrices: X86 on 127.0.0.1:%1, Linux on 127.0.0.1:%2")
                        .arg(simulator->x86Port())
                        .arg(simulator->linuxPort());
    } else {
        where = tr("No built-in matrices: add the address of a running matrix");
    }
    m_status->setText(where + QStringLiteral("   |   ") + tr("Data: %1").arg(m_host->dataFile()));
}

void DemoMainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void DemoMainWindow::switchLanguage(const QString &language)
{
    if (!m_host->switchLanguage(language)) {
        QMessageBox::warning(this, windowTitle(), m_host->errorString());
    } else {
        for (const QString &warning : m_host->warnings())
            QMessageBox::warning(this, windowTitle(), warning);
    }
    // The menu shows the language in use, also after a refusal.
    const bool chinese = m_host->language().startsWith(QLatin1String("zh"), Qt::CaseInsensitive);
    for (QAction *action : m_languages->actions())
        action->setChecked(action->data().toString().startsWith(QLatin1String("zh")) == chinese);
}

DemoMainWindow::~DemoMainWindow()
{
    delete m_x86Wall;
    delete m_linuxWall;
}

void DemoMainWindow::buildMenus()
{
    QMenu *matrix = menuBar()->addMenu(QString());
    m_matrixMenu = matrix;
    matrix->setObjectName(QStringLiteral("demoMatrixMenu"));
    m_showWallAction = matrix->addAction(QString(), this, &DemoMainWindow::showSimulatedWalls);
    m_showWallAction->setObjectName(QStringLiteral("showWallAction"));
    m_showWallAction->setShortcut(QKeySequence(Qt::Key_F8));
    m_showWallAction->setEnabled(m_host->simulator() != nullptr);
    matrix->addSeparator();
    m_x86PageAction = matrix->addAction(QString(), this, [this] { showMatrixPage(0); });
    m_x86PageAction->setObjectName(QStringLiteral("showX86PageAction"));
    m_linuxPageAction = matrix->addAction(QString(), this, [this] { showMatrixPage(1); });
    m_linuxPageAction->setObjectName(QStringLiteral("showLinuxPageAction"));
    matrix->addSeparator();
    m_quitAction = matrix->addAction(QString(), this, &QWidget::close);
    m_quitAction->setShortcut(QKeySequence::Quit);

    // Each language under its own name, so that it can be found whatever the console shows.
    m_languageMenu = menuBar()->addMenu(QString());
    m_languageMenu->setObjectName(QStringLiteral("demoLanguageMenu"));
    m_languages = new QActionGroup(this);
    const bool chinese = m_host->language().startsWith(QLatin1String("zh"), Qt::CaseInsensitive);
    const QList<QPair<QString, QString>> languages = {
            {QStringLiteral("en"), QStringLiteral("English")},
            {QStringLiteral("zh_cn"), QString::fromUtf8("简体中文")}};
    for (const auto &language : languages) {
        QAction *action = m_languageMenu->addAction(language.second);
        action->setObjectName(QStringLiteral("language_") + language.first);
        action->setData(language.first);
        action->setCheckable(true);
        action->setChecked(language.first.startsWith(QLatin1String("zh")) == chinese);
        m_languages->addAction(action);
        const QString code = language.first;
        connect(action, &QAction::triggered, this, [this, code] { switchLanguage(code); });
    }

    m_helpMenu = menuBar()->addMenu(QString());
    m_commandLineAction =
            m_helpMenu->addAction(QString(), this, &DemoMainWindow::showCommandLineHelp);
    m_aboutAction = m_helpMenu->addAction(QString(), this, &DemoMainWindow::showAbout);
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
