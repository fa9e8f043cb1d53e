// The host's system settings, kept in one INI file.
#pragma once

#include "lumohost_export.h"

#include <QMutex>
#include <QString>

namespace PARSERXML {

class LUMOHOST_EXPORT SystemConfig
{
public:
    static SystemConfig *instance();

    // "Stream/matrixCode" of the settings file as a number; 1 when missing or not a number.
    int getMatrixVideoBitStream() const;

    // The settings file; without a call, "sysConfig.ini" in the current working directory
    // (resolved when used).
    void setConfigFile(const QString &fileName);
    QString configFile() const;

    // One value by "Group/key"; defaultValue when missing.
    QString value(const QString &key, const QString &defaultValue = QString()) const;
    // Writes one value (the file is replaced atomically); false when it cannot be written.
    bool setValue(const QString &key, const QString &value);

private:
    SystemConfig() = default;
    ~SystemConfig() = default;
    Q_DISABLE_COPY(SystemConfig)

    QString fileLocked() const;

    mutable QMutex m_mutex;
    QString m_file;
};

} // namespace PARSERXML
