#include "DigitalMatrixServerInfo.h"

namespace LUMO_DIGITALMATRIX_MODULE {

bool DigitalMatrixServerInfo::operator==(const DigitalMatrixServerInfo &other) const
{
    return id == other.id && name == other.name && ip == other.ip && port == other.port
            && matrixKind == other.matrixKind && user == other.user && password == other.password;
}

} // namespace LUMO_DIGITALMATRIX_MODULE
