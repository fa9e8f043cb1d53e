// Meta-type declarations of the matrix-service records that travel in queued signals.
#pragma once

#include "digitalmatrix_export.h"

#include "MatrixServiceTypes.h"

#include <QMetaType>
#include <QVector>

Q_DECLARE_METATYPE(RECT)
Q_DECLARE_METATYPE(PST_ChnInfo)
Q_DECLARE_METATYPE(ConnType)
Q_DECLARE_METATYPE(_ST_ChnInfo)
Q_DECLARE_METATYPE(QVector<_ST_ChnInfo>)

namespace LUMO_DIGITALMATRIX_MODULE {

// Registers every type that crosses threads in the module's signals. Safe to call
// from any thread and more than once; the hub calls it before it can emit.
DIGITALMATRIX_EXPORT void registerMatrixMetaTypes();

} // namespace LUMO_DIGITALMATRIX_MODULE
