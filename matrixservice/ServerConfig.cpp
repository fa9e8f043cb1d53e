#include "ServerConfig.h"

#include "private/LinuxMatrixClient.h"
#include "private/X86MatrixClient.h"

IMatrixConfig *GetMatrixConfig()
{
    return new MatrixService::X86MatrixClient;
}

IBaseMatrixConfig *CreateBaseMatrixConfig()
{
    return new MatrixService::LinuxMatrixClient;
}

void ReleaseMatrixConfig(IMatrixConfig *config)
{
    if (config)
        static_cast<MatrixService::X86MatrixClient *>(config)->release();
}

void ReleaseBaseMatrixConfig(IBaseMatrixConfig *config)
{
    delete static_cast<MatrixService::LinuxMatrixClient *>(config);
}
