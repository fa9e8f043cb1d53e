#include "SimulatorFixture.h"

#include "DigitalMatrixInteractionPort.h"

#include "UserManagerCore.h"
#include "WaitDialog.h"

#include "ModalDriver.h"
#include "TestData.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace LUMO_DIGITALMATRIX_MODULE;
using DATACore::UserManagerCore;

SimulatorFixture::SimulatorFixture() = default;

SimulatorFixture::~SimulatorFixture()
{
    stopMatrix();
}

void SimulatorFixture::startMatrix(MatrixSimulatorOptions options, const QString &site)
{
    openTestDataCentre(dir, site);
    if (QTest::currentTestFailed())
        return;
    simulator = std::make_unique<MatrixSimulator>();
    options.logRequests = false;
    QVERIFY2(simulator->start(options), qPrintable(simulator->errorString()));
    // Read by the library when the port creates its interfaces.
    if (connectTimeoutMs > 0)
        qputenv("DM_MATRIX_CONNECT_TIMEOUT_MS", QByteArray::number(connectTimeoutMs));
    if (requestTimeoutMs > 0)
        qputenv("DM_MATRIX_REQUEST_TIMEOUT_MS", QByteArray::number(requestTimeoutMs));
    DigitalMatrixInteractionPort::release();
    DigitalMatrixInteractionPort::resetServiceFactory();
    DigitalMatrixInteractionPort::instance();
    boxes = std::make_unique<MessageBoxScript>(0);
}

void SimulatorFixture::stopMatrix()
{
    COMMONUSELIB::WaitDialog::getInstance()->hideWaitDialog();
    DigitalMatrixInteractionPort::release();
    simulator.reset();
    boxes.reset();
    if (dir)
        UserManagerCore::instance()->close();
    dir.reset();
}

QString SimulatorFixture::storeServer(int type, const QString &name, int port)
{
    const bool linuxServer = type == SERVERTYPE_LINUX_DIGITALMATRIX;
    const QString account = linuxServer ? QStringLiteral("admin") : QString();
    UserManagerCore *core = UserManagerCore::instance();
    if (!core->AddServer(name, QStringLiteral("127.0.0.1"), account, account, port, type))
        return QString();
    QCoreApplication::processEvents();
    const QList<UServerInfo> servers = core->GetServers(QString());
    return servers.isEmpty() ? QString() : servers.constLast().id;
}

QAction *SimulatorFixture::presetAction(QWidget *page, const QString &preset, const char *action)
{
    auto *menu = page->findChild<QMenu *>(QStringLiteral("presetMenu"));
    if (!menu)
        return nullptr;
    emit menu->aboutToShow();
    QMenu *owner = preset.isEmpty() ? menu : menu->findChild<QMenu *>("preset:" + preset);
    return owner ? owner->findChild<QAction *>(QLatin1String(action)) : nullptr;
}

void SimulatorFixture::answerName(QAction *action, const QString &name)
{
    QVERIFY(action && action->isEnabled());
    ModalDriver dialog([&name](QWidget *modal) {
        if (auto *input = qobject_cast<QInputDialog *>(modal)) {
            input->setTextValue(name);
            input->accept();
        }
    });
    dialog.start();
    action->trigger();
    dialog.stop();
    QVERIFY(dialog.ran());
}
