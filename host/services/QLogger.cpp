#include "QLogger.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QThread>

namespace {
// Where the lines of a log file that cannot be written go instead.
Q_LOGGING_CATEGORY(lcLogger, "dm.host.logger", QtInfoMsg)
} // namespace

class QLoggerPrivate
{
public:
    QMutex mutex;
    QString fileName; // empty: the default file
    QFile file;
    QString failedFile; // the file whose failure was already reported

    QString targetFile() const
    {
        if (!fileName.isEmpty())
            return fileName;
        return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                + QStringLiteral("/log/LumoHost.log");
    }

    // Writes one line; on failure returns false and fills *why.
    bool write(const QByteArray &line, QString *why)
    {
        const QString target = targetFile();
        if (file.isOpen() && file.fileName() != target)
            file.close();
        if (!file.isOpen()) {
            const QFileInfo info(target);
            if (!QDir().mkpath(info.absolutePath())) {
                *why = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
                return false;
            }
            file.setFileName(target);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
                *why = file.errorString();
                return false;
            }
        }
        if (file.write(line) != line.size() || !file.flush()) {
            *why = file.errorString();
            file.close();
            return false;
        }
        return true;
    }
};

QLogger *QLogger::instance()
{
    static QLogger logger;
    return &logger;
}

QLogger::QLogger()
    : d(std::make_unique<QLoggerPrivate>())
{ }

QLogger::~QLogger() = default;

void QLogger::setLogFile(const QString &fileName)
{
    QMutexLocker locker(&d->mutex);
    d->fileName = fileName;
    d->file.close();
    d->failedFile.clear();
}

QString QLogger::logFile() const
{
    QMutexLocker locker(&d->mutex);
    return d->targetFile();
}

void QLogger::LogInfo(const QString &text)
{
    QString body = text;
    body.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    body.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    body.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    const QString threadId = QStringLiteral("0x%1").arg(
            reinterpret_cast<quintptr>(QThread::currentThreadId()), 0, 16);

    QString line;
    QString why;
    QString failedFile;
    bool written = false;
    {
        QMutexLocker locker(&d->mutex);
        // The time is taken under the lock so that the file is in time order.
        line = QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + QStringLiteral(" [")
                + threadId + QStringLiteral("] ") + body;
        written = d->write(line.toUtf8() + '\n', &why);
        if (!written) {
            const QString target = d->targetFile();
            if (d->failedFile != target) {
                d->failedFile = target;
                failedFile = target;
            }
        }
    }
    // Outside the lock: a message handler may log through this logger again.
    if (!written) {
        if (!failedFile.isEmpty())
            qCWarning(lcLogger).noquote() << "QLogger: cannot write" << failedFile << "-" << why;
        qCWarning(lcLogger).noquote() << line;
    }
}

void QLogger::LogInfo(const char *text)
{
    LogInfo(text ? QString::fromUtf8(text) : QString());
}
