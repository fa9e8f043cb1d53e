// A second X86 workstation for end-to-end tests.
#pragma once

#include "IMatrixConfig.h"
#include "MatrixServiceTypes.h"

#include <QStringList>

#include <atomic>
#include <vector>

// Channel records as a workstation sends them: the names in turn, numbered from 1.
std::vector<_ST_ChnInfo> channelRecords(const QStringList &names);

// Another X86 workstation on the same matrix, through its own interface of the library; the
// fixture's matrix knows its account "second" (password "second").
class SecondOperator
{
public:
    SecondOperator();
    ~SecondOperator();
    SecondOperator(const SecondOperator &) = delete;
    SecondOperator &operator=(const SecondOperator &) = delete;

    bool connectTo(int port);
    // Names the console host, connects and logs in: the login's result, -2 unconnected.
    int logIn(int port, const char *host, const char *user, const char *password);
    // The same, watching instead of logging in: the watch request's result.
    int watch(int port, const char *host, const char *user, const char *password);

    IMatrixConfig *config;
    std::atomic<int> status {-1};
    // Layouts the matrix sent to this workstation.
    std::atomic<int> layouts {0};

private:
    static void MATRIX_CALLBACK onStatus(void *ctx, int type);
    static void MATRIX_CALLBACK onInfo(void *, int, int, int) { }
    static void MATRIX_CALLBACK onLayout(void *ctx, _MIRRORLAYOUT *)
    {
        ++static_cast<SecondOperator *>(ctx)->layouts;
    }
    static void MATRIX_CALLBACK onResult(void *, int, int) { }
    static void MATRIX_CALLBACK onReserved(void *) { }
};
