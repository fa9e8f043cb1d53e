#include "LinuxMatrixPeer.h"

#include "DigitalMatrixInteractionPort.h"

#include "ServerConfig.h"

#include <cstring>
#include <vector>

using LUMO_DIGITALMATRIX_MODULE::CellChannelItem;
using LUMO_DIGITALMATRIX_MODULE::DigitalMatrixInteractionPort;

LinuxMatrixPeer::LinuxMatrixPeer()
    : m_config(CreateBaseMatrixConfig())
{ }

LinuxMatrixPeer::~LinuxMatrixPeer()
{
    ReleaseBaseMatrixConfig(m_config);
}

int LinuxMatrixPeer::connectTo(int port, const char *host)
{
    if (host)
        m_config->SetClientName(host);
    const int result = m_config->Login(1, "admin", "admin", "127.0.0.1", port);
    return result != 0 ? result : m_config->StartSession();
}

int LinuxMatrixPeer::setCellChannels(int cell, int split, const QList<CellChannelItem> &items)
{
    std::vector<CellChannelRecord> records;
    for (const CellChannelItem &item : items) {
        CellChannelRecord record = DigitalMatrixInteractionPort::buildCellChannelRecord(item, 1);
        if (record.protocol[0] == 0)
            std::strcpy(record.protocol, "qbz");
        records.push_back(record);
    }
    return m_config->SetCellChannels(cell, records.data(), int(records.size()), split);
}
