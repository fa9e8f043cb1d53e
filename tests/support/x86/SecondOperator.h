// A second X86 workstation for end-to-end tests.
#pragma once

#include "IMatrixConfig.h"
#include "MatrixServiceTypes.h"

#include <atomic>

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

    IMatrixConfig *config;
    std::atomic<int> status {-1};

private:
    static void MATRIX_CALLBACK onStatus(void *ctx, int type);
    static void MATRIX_CALLBACK onInfo(void *, int, int, int) { }
    static void MATRIX_CALLBACK onLayout(void *, _MIRRORLAYOUT *) { }
    static void MATRIX_CALLBACK onResult(void *, int, int) { }
    static void MATRIX_CALLBACK onReserved(void *) { }
};
