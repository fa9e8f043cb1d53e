// A window that shows what the screens of one simulated matrix show right now. It redraws
// when the matrix changes and twice a second, so that turn shows step at their interval.
#pragma once

#include "SimulatedWallScene.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class MatrixSimulator;
class QLabel;
class SimulatedWallView;

class SimulatedWallWindow : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(SimulatedWallWindow)

public:
    enum Matrix { X86Matrix, LinuxMatrix };
    Q_ENUM(Matrix)

    SimulatedWallWindow(MatrixSimulator *simulator, Matrix matrix, QWidget *parent = nullptr);
    ~SimulatedWallWindow() override;

    Matrix matrix() const { return m_matrix; }
    // How the Linux matrix's screens hang (ignored for the X86 matrix).
    void setLinuxHang(const LinuxWallHang &hang);
    LinuxWallHang linuxHang() const { return m_hang; }
    // Names Linux channels (the matrix keeps only device addresses and numbers).
    void setChannelNamer(const WallChannelNamer &namer);
    // What the window shows now.
    const WallPicture &picture() const;

public slots:
    // Reads the matrix again and repaints.
    void refresh();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QPointer<MatrixSimulator> m_simulator;
    Matrix m_matrix;
    LinuxWallHang m_hang;
    WallChannelNamer m_namer;
    QElapsedTimer m_time;
    QTimer m_stepTimer;
    QLabel *m_title = nullptr;
    QLabel *m_notes = nullptr;
    SimulatedWallView *m_view = nullptr;
};
