// Fuzz target: the client side of the matrix protocol. The input is a byte stream as a matrix
// might send it; it is split into frames, decoded and read the way the interfaces read it.
#include "FrameDecoder.h"
#include "MatrixProtocol.h"
#include "MatrixServiceTypes.h"
#include "PayloadReader.h"
#include "ServerMessage.h"

#include <cstdint>
#include <cstring>
#include <vector>

using namespace MatrixProtocol;

namespace {

volatile unsigned sink = 0;

void use(int value)
{
    sink = sink + unsigned(value);
}

void readReply(const ServerMessage &message)
{
    PayloadReader reader(message.body);
    qint32 count = 0;
    qint32 split = 0;
    switch (message.requestType) {
    case LinuxGetScreenNumbers: {
        uint8_t bytes[MaxLinuxOutputs];
        if (reader.getInt32(count) && reader.getBytes(bytes, count))
            use(bytes[0]);
        break;
    }
    case LinuxGetScreenGrid: {
        ScreenRegionEntry entry;
        reader.getInt32(count);
        for (int k = 0; k < count && reader.getRecord(entry); ++k)
            use(entry.region.index);
        break;
    }
    case LinuxGetCellChannels: {
        CellChannelRecord record;
        reader.getInt32(split);
        reader.getInt32(count);
        for (int k = 0; k < count && reader.getRecord(record); ++k)
            use(record.position);
        break;
    }
    case LinuxGetUpgradeStatus:
    case LinuxGetCellTurnShow: {
        UpgradeStatusBlock block;
        if (reader.getRecord(block))
            use(block.done);
        break;
    }
    default:
        break;
    }
}

void readLayout(const ServerMessage &message)
{
    // As the X86 interface hands it to its callback.
    std::vector<char> buffer(
            std::max<std::size_t>(sizeof(_MIRRORLAYOUT), std::size_t(message.body.size())), 0);
    std::memcpy(buffer.data(), message.body.constData(), std::size_t(message.body.size()));
    const auto *layout = reinterpret_cast<const _MIRRORLAYOUT *>(buffer.data());
    if (mirrorLayoutSize(layout->mirrorCount) != std::size_t(message.body.size()))
        __builtin_trap();
    for (int k = 0; k < layout->mirrorCount; ++k)
        use(layout->mirrors[k].mirrorParam1);
}

void takeFrames(FrameDecoder &decoder)
{
    Frame frame;
    while (decoder.takeFrame(frame)) {
        if (frame.payload.size() > MaxPayloadSize)
            __builtin_trap();
        const ServerMessage message = decodeServerMessage(frame);
        if (message.kind == ServerMessage::Reply)
            readReply(message);
        else if (message.kind == ServerMessage::Layout)
            readLayout(message);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte says where the stream is cut in two, as two socket reads would.
    const std::size_t cut = std::size_t(data[0]) % size;
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    const int length = int(size - 1);
    FrameDecoder decoder;
    decoder.feed(bytes, int(qMin<std::size_t>(cut, std::size_t(length))));
    takeFrames(decoder);
    decoder.feed(bytes + qMin<std::size_t>(cut, std::size_t(length)),
                 length - int(qMin<std::size_t>(cut, std::size_t(length))));
    takeFrames(decoder);
    return 0;
}
