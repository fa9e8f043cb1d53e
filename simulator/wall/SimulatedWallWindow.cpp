#include "SimulatedWallWindow.h"

#include "MatrixSimulator.h"
#include "SimulatedWallView.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {
// Turn shows step in whole seconds; two looks a second never miss a step.
constexpr int StepCheckMs = 500;
} // namespace

SimulatedWallWindow::SimulatedWallWindow(MatrixSimulator *simulator, Matrix matrix, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_simulator(simulator)
    , m_matrix(matrix)
{
    setObjectName(matrix == X86Matrix ? QStringLiteral("x86WallWindow")
                                      : QStringLiteral("linuxWallWindow"));
    m_time.start();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("wallTitle"));
    m_title->setStyleSheet(QStringLiteral(
            "background:#1b1d22; color:#e8ecf0; font-weight:bold; padding:8px 12px 2px 12px;"));
    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("wallNotes"));
    m_notes->setStyleSheet(
            QStringLiteral("background:#1b1d22; color:#aab4be; padding:0px 12px 4px 12px;"));
    m_view = new SimulatedWallView(this);
    layout->addWidget(m_title);
    layout->addWidget(m_notes);
    layout->addWidget(m_view, 1);

    retranslate();
    resize(820, 520);

    if (simulator) {
        connect(simulator, &MatrixSimulator::stateChanged, this, &SimulatedWallWindow::refresh);
    }
    m_stepTimer.setInterval(StepCheckMs);
    connect(&m_stepTimer, &QTimer::timeout, this, &SimulatedWallWindow::refresh);
    m_stepTimer.start();
    refresh();
}

SimulatedWallWindow::~SimulatedWallWindow() = default;

void SimulatedWallWindow::retranslate()
{
    const QString matrixName = m_matrix == X86Matrix ? tr("X86 matrix") : tr("Linux matrix");
    quint16 port = 0;
    if (m_simulator)
        port = m_matrix == X86Matrix ? m_simulator->x86Port() : m_simulator->linuxPort();
    setWindowTitle(port ? tr("Simulated wall: %1 on port %2").arg(matrixName).arg(port)
                        : tr("Simulated wall: %1").arg(matrixName));
}

void SimulatedWallWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        refresh();
    }
}

void SimulatedWallWindow::setLinuxHang(const LinuxWallHang &hang)
{
    m_hang = hang;
    refresh();
}

void SimulatedWallWindow::setChannelNamer(const WallChannelNamer &namer)
{
    m_namer = namer;
    refresh();
}

const WallPicture &SimulatedWallWindow::picture() const
{
    return m_view->picture();
}

void SimulatedWallWindow::refresh()
{
    WallPicture picture;
    const qint64 now = m_time.elapsed();
    if (!m_simulator || !m_simulator->isRunning()) {
        picture.title = tr("The matrix simulator is not running");
    } else if (m_matrix == X86Matrix) {
        picture = m_simulator->x86Port()
                ? SimulatedWallScene::x86Picture(m_simulator->x86State(), nullptr, now)
                : WallPicture();
        if (!m_simulator->x86Port())
            picture.title = tr("The X86 matrix is switched off");
    } else {
        picture = m_simulator->linuxPort() ? SimulatedWallScene::linuxPicture(
                          m_simulator->linuxState(), m_hang, nullptr, now, m_namer)
                                           : WallPicture();
        if (!m_simulator->linuxPort())
            picture.title = tr("The Linux matrix is switched off");
    }
    m_title->setText(picture.title);
    m_notes->setText(picture.notes.join(QStringLiteral("  ·  ")));
    m_notes->setVisible(!picture.notes.isEmpty());
    m_view->setPicture(picture);
}
