// Shared set-up of the X86 page's tests against the recording service: a data centre, host
// log and settings in a temporary folder, the fake service, scripted message boxes, stored
// servers and the page logged in to a wall the fake reports.
#pragma once

#include "DigitalMatrix.h"
#include "FakeMatrixService.h"
#include "MessageBoxScript.h"
#include "WallGeometry.h"

#include <QString>
#include <QVector>

#include <memory>

class QPushButton;
class QTemporaryDir;

namespace LUMO_DIGITALMATRIX_MODULE {
class MatrixManageWidget;
class ServerSelectWidget;
} // namespace LUMO_DIGITALMATRIX_MODULE

// Checks inside the helpers use QTest macros: a caller stops when QTest::currentTestFailed().
class X86PageHarness
{
public:
    X86PageHarness();
    ~X86PageHarness();
    X86PageHarness(const X86PageHarness &) = delete;
    X86PageHarness &operator=(const X86PageHarness &) = delete;

    // Data centre, log, settings, the recording service and boxes answering 0.
    void start();
    // Page, boxes, service, settings, data centre, in that order.
    void stop();

    // Stores a server (before the page exists, its announcement is delivered at once); gives
    // back its key.
    QString addServer(const QString &name, const QString &ip, int port = 9010, int type = 2,
                      const QString &user = QString(), const QString &password = QString());
    // Builds the page, shown on screen or not; the call log starts empty.
    void makePage(bool show);
    QPushButton *button(const QString &name) const;
    LUMO_DIGITALMATRIX_MODULE::ServerSelectWidget *selector() const;
    LUMO_DIGITALMATRIX_MODULE::MatrixManageWidget *wall() const;
    FakeX86Matrix *x86() const { return service->x86(); }
    void selectServer(int row);
    void clickConnect();
    // Selects the server, connects and logs in with result 0.
    void loginTo(int row);
    // Builds the page on screen and waits until it has selected the first stored server.
    void showPage();
    // "Alpha" (10.0.0.1) stored, the page built (on screen or not), logged in to it and these
    // windows laid out; the call log starts empty.
    void loggedInWall(bool show = false, const QVector<_MIRRORINFO> &mirrors = fourWindows());
    // A layout of these windows on a 1600 x 900 wall, delivered.
    void fireLayout(const QVector<_MIRRORINFO> &mirrors, int p2 = 0, int p3 = 1, int p4 = 1);
    // The wall's command buttons: "enabled" (all), "disabled" (all) or "mixed".
    QString controls() const;

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeMatrixService> service;
    std::unique_ptr<MessageBoxScript> boxes;
    std::unique_ptr<LUMO_DIGITALMATRIX_MODULE::DigitalMatrix> page;
};
