// The child side of the start-up benchmark (bench_startup.cpp).
#pragma once

#include <QString>

// Runs one start-up in this process ("module" or "empty") and prints "startup_ms <ms>";
// returns the process's exit code.
int runStartupChild(const QString &mode, const QString &database, int argc, char **argv);
