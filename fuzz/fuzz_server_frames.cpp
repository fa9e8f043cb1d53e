// Fuzz target: the matrix side of the protocol. The input is a byte stream as a client might
// send it; the simulator's matrices answer each frame. Every answer must be one a client
// accepts, and every wall a request leaves behind must survive the state file.
#include "FrameDecoder.h"
#include "Handshake.h"
#include "LinuxMatrixModel.h"
#include "MatrixProtocol.h"
#include "PayloadWriter.h"
#include "ServerMessage.h"
#include "StateFile.h"
#include "X86MatrixModel.h"

#include <cstdint>

using namespace MatrixProtocol;
using namespace MatrixSim;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkOutcome(quint16 type, const RequestOutcome &outcome)
{
    check(replyBodyIsValid(type, outcome.result, outcome.body));
    check(outcome.body.size() + 4 <= MaxPayloadSize);
    for (const auto &event : outcome.events) {
        Frame frame = event.second;
        const ServerMessage message = decodeServerMessage(frame);
        check(message.kind != ServerMessage::Invalid);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // First byte: bit 0 picks the matrix, bit 1 logs the client in before the stream.
    const bool linuxSide = data[0] & 1;
    const bool loggedIn = data[0] & 2;
    X86MatrixModel x86(8, {{QString(), QString()}});
    LinuxMatrixModel linuxWall({{QStringLiteral("admin"), QStringLiteral("admin")}}, 2,
                               QStringLiteral("usb-2.0.bin"), QStringLiteral("1.0.0"));
    x86.addSession(1);
    x86.addSession(2);
    linuxWall.addSession(1);
    if (loggedIn) {
        PayloadWriter login;
        login.putText(QByteArray()).putText(QByteArray());
        x86.handle(1, X86Login, login.data());
        PayloadWriter linuxLogin;
        linuxLogin.putInt32(1).putText("admin").putText("admin");
        linuxWall.handle(1, LinuxLogin, linuxLogin.data());
        linuxWall.handle(1, LinuxStartSession, QByteArray());
    }

    FrameDecoder decoder;
    decoder.feed(reinterpret_cast<const char *>(data + 1), int(size - 1));
    Frame frame;
    bool greeted = loggedIn;
    int handled = 0;
    while (decoder.takeFrame(frame) && handled < 64) {
        if (!greeted) {
            quint16 version = 0;
            quint16 role = 0;
            if (frame.type != Hello || !decodeHello(frame.payload, version, role))
                return 0; // the simulator drops such a client
            greeted = true;
            continue;
        }
        if (isGenericRequest(frame.type))
            continue; // the keep-alive is answered by the server, not by a wall
        const bool known = linuxSide ? isLinuxRequest(frame.type) : isX86Request(frame.type);
        if (!known)
            return 0;
        ++handled;
        const RequestOutcome outcome = linuxSide ? linuxWall.handle(1, frame.type, frame.payload)
                                                 : x86.handle(1, frame.type, frame.payload);
        checkOutcome(frame.type, outcome);
        if (outcome.reboot)
            linuxWall.rebooted();
    }

    // Whatever the requests left behind is a wall the state file can hold and give back.
    const QByteArray json = StateFile::toJson(x86.state(), linuxWall.state());
    SimX86State x86Read;
    SimLinuxState linuxRead;
    bool hasX86 = false;
    bool hasLinux = false;
    check(StateFile::fromJson(json, &x86Read, &hasX86, &linuxRead, &hasLinux, nullptr));
    X86MatrixModel x86Again(8, {});
    LinuxMatrixModel linuxAgain({}, 2, QString(), QStringLiteral("1.0.0"));
    check(x86Again.restore(x86Read, nullptr));
    check(linuxAgain.restore(linuxRead, nullptr));
    return 0;
}
