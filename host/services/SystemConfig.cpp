#include "SystemConfig.h"

#include <QDir>
#include <QMutexLocker>
#include <QSettings>

namespace PARSERXML {

SystemConfig *SystemConfig::instance()
{
    static SystemConfig config;
    return &config;
}

int SystemConfig::getMatrixVideoBitStream() const
{
    bool ok = false;
    const int code = value(QStringLiteral("Stream/matrixCode")).trimmed().toInt(&ok);
    return ok ? code : 1;
}

void SystemConfig::setConfigFile(const QString &fileName)
{
    QMutexLocker locker(&m_mutex);
    m_file = fileName;
}

QString SystemConfig::configFile() const
{
    QMutexLocker locker(&m_mutex);
    return fileLocked();
}

QString SystemConfig::fileLocked() const
{
    if (!m_file.isEmpty())
        return m_file;
    return QDir::current().absoluteFilePath(QStringLiteral("sysConfig.ini"));
}

QString SystemConfig::value(const QString &key, const QString &defaultValue) const
{
    QMutexLocker locker(&m_mutex);
    const QSettings settings(fileLocked(), QSettings::IniFormat);
    return settings.value(key, defaultValue).toString();
}

bool SystemConfig::setValue(const QString &key, const QString &value)
{
    if (key.isEmpty())
        return false;
    QMutexLocker locker(&m_mutex);
    QSettings settings(fileLocked(), QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace PARSERXML
