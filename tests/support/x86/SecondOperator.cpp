#include "SecondOperator.h"

#include "ServerConfig.h"

#include <QtTest>

SecondOperator::SecondOperator()
    : config(GetMatrixConfig())
{
    config->RegisterCallbacks(this, &SecondOperator::onStatus, &SecondOperator::onInfo,
                              &SecondOperator::onLayout, &SecondOperator::onResult,
                              &SecondOperator::onReserved);
}

SecondOperator::~SecondOperator()
{
    ReleaseMatrixConfig(config);
}

bool SecondOperator::connectTo(int port)
{
    status = -1;
    config->Connect("127.0.0.1", port);
    return QTest::qWaitFor([this] { return status.load() != -1; }, 5000)
            && status.load() == ConnSuccess;
}

int SecondOperator::logIn(int port, const char *host, const char *user, const char *password)
{
    config->SetClientName(host);
    return connectTo(port) ? config->Login(user, password) : MatrixErrNotConnected;
}

int SecondOperator::watch(int port, const char *host, const char *user, const char *password)
{
    config->SetClientName(host);
    return connectTo(port) ? config->Watch(user, password) : MatrixErrNotConnected;
}

void SecondOperator::onStatus(void *ctx, int type)
{
    static_cast<SecondOperator *>(ctx)->status = type;
}
