#pragma once

#include "digitalmatrix_export.h"

#include "DataCoreTypes.h"

#include <QMetaType>
#include <QString>

namespace LUMO_DIGITALMATRIX_MODULE {

// Pointer to a server record held by an entry of the X86 page's server selector.
using PUServerInfo = UServerInfo *;

// The module's description of one matrix server.
struct DIGITALMATRIX_EXPORT DigitalMatrixServerInfo
{
    enum MatrixKind { X86Matrix = 1, LinuxMatrix = 2 };

    QString id; // key in the host data centre; empty while not stored
    QString name;
    QString ip;
    int port = 0;
    int matrixKind = LinuxMatrix;
    QString user;
    QString password;

    bool operator==(const DigitalMatrixServerInfo &other) const;
    bool operator!=(const DigitalMatrixServerInfo &other) const { return !(*this == other); }
};

} // namespace LUMO_DIGITALMATRIX_MODULE

Q_DECLARE_METATYPE(LUMO_DIGITALMATRIX_MODULE::DigitalMatrixServerInfo)
