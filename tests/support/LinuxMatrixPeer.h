// Another workstation on a Linux matrix, through its own interface of the matrix-service
// library: it changes the matrix behind the page's back (channels, splits, an upgrade).
#pragma once

#include "CellChannelItem.h"

#include "MatrixServiceTypes.h"

#include <QList>

class IBaseMatrixConfig;

class LinuxMatrixPeer
{
public:
    LinuxMatrixPeer();
    ~LinuxMatrixPeer();
    LinuxMatrixPeer(const LinuxMatrixPeer &) = delete;
    LinuxMatrixPeer &operator=(const LinuxMatrixPeer &) = delete;

    // Logs in as admin/admin and opens the session: 0 or the library's result.
    // host: the console's host name told to the matrix, if any.
    int connectTo(int port, const char *host = nullptr);
    // The channels as records the page would send (a channel the data centre does not
    // know gets only its position and protocol).
    int setCellChannels(int cell, int split,
                        const QList<LUMO_DIGITALMATRIX_MODULE::CellChannelItem> &items);
    IBaseMatrixConfig *config() const { return m_config; }

private:
    IBaseMatrixConfig *m_config = nullptr;
};
