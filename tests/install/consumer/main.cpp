// A host built against the installed module: starts it and reaches the port.
#include <DigitalMatrixInteractionPort.h>
#include <MatrixModuleConfig.h>

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    LUMO_DIGITALMATRIX_MODULE::MatrixModuleConfig::instance();
    auto *port = LUMO_DIGITALMATRIX_MODULE::DigitalMatrixInteractionPort::instance();
    std::printf("%s\n", port ? "port ready" : "no port");
    return port ? 0 : 1;
}
