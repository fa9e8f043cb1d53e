#pragma once

#include "digitalmatrix_export.h"

#include "MatrixMetaTypes.h"

#include <QByteArray>
#include <QString>

namespace LUMO_DIGITALMATRIX_MODULE {

// Builds the channel records (_ST_ChnInfo) that the X86 matrix service takes as the sources of
// a window: texts zero-terminated and cut to their fields, every other byte zero.
class DIGITALMATRIX_EXPORT ChannelRecordBuilder
{
public:
    struct Fields
    {
        QString channelName; // converted to GBK
        QString deviceText5; // local 8-bit, the rest as well
        int deviceNumber = 0;
        QString ipAddress;
        QString account;
        QString password;
        int channelNo = 0;
        int sequence = 0; // 1-based pane position
    };

    static _ST_ChnInfo build(const Fields &fields);
    // The name as the channel-name field holds it: GBK, cut to whole characters so that it
    // fits the field with its terminating zero.
    static QByteArray gbkName(const QString &name);
    // The record of a channel of the data centre at a pane (1-based); *found false, and an
    // empty record, when the data centre has no such channel or device.
    static _ST_ChnInfo forChannel(const QString &channelGuid, int sequence, bool *found);

private:
    ChannelRecordBuilder() = delete;
};

} // namespace LUMO_DIGITALMATRIX_MODULE
