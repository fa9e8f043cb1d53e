// Options and fault switches of the matrix simulator.
#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

struct SimulatorAccount
{
    QString user;
    QString password;
};

struct MatrixSimulatorOptions
{
    QHostAddress listenAddress = QHostAddress(QHostAddress::LocalHost);
    // Ports: 0 picks a free port, -1 switches that matrix off.
    int x86Port = 9010;
    int linuxPort = 6000;
    // Empty: the walls live in memory only.
    QString stateFile;
    int x86Outputs = 8; // 1..64
    QList<SimulatorAccount> x86Accounts = {{QString(), QString()}};
    QList<SimulatorAccount> linuxAccounts = {{QStringLiteral("admin"), QStringLiteral("admin")}};
    int rebootMs = 10000; // Linux matrix refuses connections this long after a reboot
    int upgradePolls = 3; // status polls an upgrade runs for, the last one ends it
    QString firmwareVersion = QStringLiteral("1.0.0"); // of a new Linux matrix
    QString usbFirmware; // file name on the USB stick; empty = no stick
    bool logRequests = true; // one log line per request through qInfo
    int handshakeTimeoutMs = 5000; // a connection without a hello this long is dropped
    int maxClients = 64; // connections beyond this are refused (HelloAck -10) and closed
    int stateWriteIntervalMs = 250; // the state file is written at most once per interval
};

// Faults for tests; all off by default.
struct MatrixSimulatorFaults
{
    bool silent = false; // accept connections but never answer anything
    int answerDelayMs = 0; // hold every frame to a client this long
    bool garbageAnswers = false; // after the handshake, answer with bytes that are no frame
    // Requests of these types are refused with refusedResult and change nothing.
    QList<quint16> refusedRequests;
    qint32 refusedResult = -1;
    // Requests of these types are read and never answered; they change nothing.
    QList<quint16> unansweredRequests;
};
