#include "ServerConfig.h"

// Placeholder until the network client lands: no interface can be created.
IMatrixConfig *GetMatrixConfig()
{
    return nullptr;
}

IBaseMatrixConfig *CreateBaseMatrixConfig()
{
    return nullptr;
}

void ReleaseMatrixConfig(IMatrixConfig *)
{
}

void ReleaseBaseMatrixConfig(IBaseMatrixConfig *)
{
}
