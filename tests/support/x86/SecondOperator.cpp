#include "SecondOperator.h"

#include "ServerConfig.h"

#include <QtTest>

#include <cstring>

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

std::vector<_ST_ChnInfo> channelRecords(const QStringList &names)
{
    std::vector<_ST_ChnInfo> records(std::size_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        _ST_ChnInfo &record = records[std::size_t(i)];
        std::memset(&record, 0, sizeof record);
        qstrncpy(record.channelName, names.at(i).toUtf8().constData(), sizeof record.channelName);
        qstrncpy(record.ipAddress, "10.0.0.9", sizeof record.ipAddress);
        record.channelNo = i + 1;
        record.sequence = i + 1;
    }
    return records;
}
