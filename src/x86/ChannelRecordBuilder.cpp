#include "ChannelRecordBuilder.h"

#include "FixedText.h"

#include "AlgorithmCollection.h"
#include "UserManagerCore.h"

namespace LUMO_DIGITALMATRIX_MODULE {

_ST_ChnInfo ChannelRecordBuilder::build(const Fields &fields)
{
    _ST_ChnInfo record {};
    // Converted from the whole UTF-8 name: the converter cuts at a whole GBK character, where
    // cutting the UTF-8 bytes first could split a character in two.
    const QByteArray utf8 = fields.channelName.toUtf8();
    COMMONUSELIB::AlgorithmCollection::UTF8ToGBK(utf8.constData(), record.channelName,
                                                 int(sizeof record.channelName));
    FixedText::writeLocal(record.deviceText5, fields.deviceText5);
    record.deviceNumber = fields.deviceNumber;
    FixedText::writeLocal(record.ipAddress, fields.ipAddress);
    FixedText::writeLocal(record.account, fields.account);
    FixedText::writeLocal(record.password, fields.password);
    record.channelNo = fields.channelNo;
    record.sequence = fields.sequence;
    return record;
}

QByteArray ChannelRecordBuilder::gbkName(const QString &name)
{
    _ST_ChnInfo record {};
    const QByteArray utf8 = name.toUtf8();
    COMMONUSELIB::AlgorithmCollection::UTF8ToGBK(utf8.constData(), record.channelName,
                                                 int(sizeof record.channelName));
    return FixedText::read(record.channelName);
}

_ST_ChnInfo ChannelRecordBuilder::forChannel(const QString &channelGuid, int sequence, bool *found)
{
    const DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    const DeviceChancelInfo channel = channelGuid.isEmpty()
            ? DeviceChancelInfo()
            : dataCentre->getChannelInfoByChannelGuid(channelGuid);
    const UDeviceInfo device = channel.channelGuid.isEmpty()
            ? UDeviceInfo()
            : dataCentre->getDevInfo(channel.deviceGuid);
    const bool known = !channel.channelGuid.isEmpty() && !device.struct_DeviceGuid.isEmpty();
    if (found)
        *found = known;
    if (!known)
        return _ST_ChnInfo {};
    Fields fields;
    fields.channelName = channel.channelName;
    fields.deviceText5 = device.struct_SerialNumber;
    fields.deviceNumber = device.struct_deviceNumber;
    fields.ipAddress = device.struct_IpAddress;
    fields.account = device.struct_account;
    fields.password = device.struct_password;
    fields.channelNo = channel.channelNo;
    fields.sequence = sequence;
    return build(fields);
}

} // namespace LUMO_DIGITALMATRIX_MODULE
