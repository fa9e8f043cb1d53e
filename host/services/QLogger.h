// The host's log file: one line per call with time, thread and text.
#pragma once

#include "lumohost_export.h"

#include <QString>

#include <memory>

class QLoggerPrivate;

class LUMOHOST_EXPORT QLogger
{
public:
    // The process-wide logger.
    static QLogger *instance();

    // Sets the file the following lines go to. Without a call, lines go to
    // "log/LumoHost.log" under the application's local data folder; the folder and the file
    // are created on the first write.
    void setLogFile(const QString &fileName);
    // The file the next line goes to.
    QString logFile() const;

    // Appends "<ISO time with ms> [<thread id>] <text>" and flushes. Line breaks inside the
    // text are written as "\n" so that every call stays one line. When the file cannot be
    // written, the line goes to the Qt message log (category "dm.host.logger") instead.
    void LogInfo(const QString &text);
    void LogInfo(const char *text);

private:
    QLogger();
    ~QLogger();
    Q_DISABLE_COPY(QLogger)

    std::unique_ptr<QLoggerPrivate> d;
};
