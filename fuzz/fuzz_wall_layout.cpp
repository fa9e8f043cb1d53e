// Fuzz target: a wall layout as the X86 service hands it to the layout callback, unpacked by
// the event hub into a real monitor wall, which places, paints, resets and drags its windows.
//
// Input, all integers little endian (missing bytes read as zero):
//   u16 wall width, u16 wall height (pixels modulo 2049, 0 allowed), u8 flags,
//   the 36-byte _MIRRORLAYOUT head (wallRect, mirrorCount, layoutParam1..4),
//   then window records of 52 bytes. As a service honouring its contract would, the buffer
//   holds as many records as mirrorCount says (up to the hub's limit); records the input does
//   not supply are zero.
//   The last 8 bytes, when present, are a drag: press point and release offset.
#include "DigitalMatrixConfigSignals.h"
#include "DigitalMatrixInteractionPort.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

using namespace LUMO_DIGITALMATRIX_MODULE;

namespace {

class Input
{
public:
    Input(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    { }
    void take(void *out, size_t n)
    {
        std::memset(out, 0, n);
        const size_t k = std::min(n, m_size - m_pos);
        std::memcpy(out, m_data + m_pos, k);
        m_pos += k;
    }
    template<typename T>
    T take()
    {
        T value;
        take(&value, sizeof value);
        return value;
    }
    size_t left() const { return m_size - m_pos; }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &local, Qt::MouseButton button,
               Qt::MouseButtons held)
{
    QMouseEvent event(type, local, target->mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The module's debug lines would drown libFuzzer's report.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.info=false");
    static int argc = 1;
    static char name[] = "fuzz_wall_layout";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives as long as the process
    // Commands the wall sends go nowhere: no service interfaces.
    DigitalMatrixInteractionPort::ServiceFactory none;
    DigitalMatrixInteractionPort::setServiceFactory(none);
    DigitalMatrixInteractionPort::instance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Input input(data, size);
    const int width = input.take<uint16_t>() % 2049;
    const int height = input.take<uint16_t>() % 2049;
    const uint8_t flags = input.take<uint8_t>();

    _MIRRORLAYOUT head;
    input.take(&head, offsetof(_MIRRORLAYOUT, mirrors));
    const int records =
            std::clamp(head.mirrorCount, 0, int(DigitalMatrixConfigSignals::MaxMirrorsPerLayout));
    std::vector<char> buffer(mirrorLayoutSize(std::max(records, 1)), 0);
    std::memcpy(buffer.data(), &head, offsetof(_MIRRORLAYOUT, mirrors));
    auto *layout = reinterpret_cast<_MIRRORLAYOUT *>(buffer.data());
    for (int k = 0; k < records && input.left() > 8; ++k)
        input.take(&layout->mirrors[k], sizeof(_MIRRORINFO));
    const int16_t pressX = input.take<int16_t>();
    const int16_t pressY = input.take<int16_t>();
    const int16_t dx = input.take<int16_t>();
    const int16_t dy = input.take<int16_t>();

    auto wall = std::make_unique<MatrixManageWidget>();
    wall->resize(width, height);
    wall->setEditable(!(flags & 1));
    DigitalMatrixConfigSignals *hub = DigitalMatrixConfigSignals::instance();
    // The page's handling of a layout, as far as the wall is concerned.
    QObject::connect(hub, &DigitalMatrixConfigSignals::signalCreateNewLayout, wall.get(),
                     &MatrixManageWidget::setLayoutInfo);
    QObject::connect(hub, &DigitalMatrixConfigSignals::signalSetOneMirror, wall.get(),
                     &MatrixManageWidget::setMirror);
    QObject::connect(hub, &DigitalMatrixConfigSignals::signalSetMirrorEnd, wall.get(),
                     &MatrixManageWidget::raiseMirrorsByLayer);

    // The service calls back with its buffer; the same layout may come twice (an update).
    DigitalMatrixConfigSignals::onLayout(nullptr, layout);
    if (flags & 2)
        DigitalMatrixConfigSignals::onLayout(nullptr, layout);
    wall->setSwapMode(flags & 4);

    if (flags & 8) {
        // A resize keeps pixel rectangles and recomputes the scales.
        wall->resize(height, width);
    }
    for (MirrorWidget *mirror : wall->getMirrors())
        wall->placeMirror(mirror);
    if (flags & 16)
        wall->resetLayout();

    // Drag the current window: press, move, release (moves or resizes by its zone).
    if (MirrorWidget *current = wall->getCurrMirror()) {
        const QPoint press(pressX, pressY);
        sendMouse(current, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
        sendMouse(current, QEvent::MouseMove, press + QPoint(dx, dy) / 2, Qt::NoButton,
                  Qt::LeftButton);
        sendMouse(current, QEvent::MouseMove, press + QPoint(dx, dy), Qt::NoButton, Qt::LeftButton);
        sendMouse(current, QEvent::MouseButtonRelease, press + QPoint(dx, dy), Qt::LeftButton,
                  Qt::NoButton);
        if (flags & 32)
            sendMouse(current, QEvent::MouseButtonDblClick, press, Qt::LeftButton, Qt::LeftButton);
    }
    if (flags & 64)
        wall->setMirrorState(layout->mirrors[0].mirrorParam1, X86TurnState(flags & 3),
                             layout->mirrors[0].mirrorParam2);

    // Paint the wall and every window once; only small walls, so that runs stay quick.
    if (width * height <= 320 * 240)
        wall->grab();
    wall->clearData();
    return 0;
}
