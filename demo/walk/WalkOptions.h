// What the scripted walk was asked to do on its command line.
#pragma once

#include <QString>

struct WalkOptions
{
    QString out = QStringLiteral("."); // folder of the screenshots
    QString language = QStringLiteral("en"); // "en" or "zh_cn"
    int x86Port = 9010; // ports of the demo host's matrices; 0 picks a free port
    int linuxPort = 6000;
    bool refusals = false; // picture the X86 page's refusal messages instead of the session
    bool onAir = false; // picture both pages with a turn show running instead of the session
    bool reconnect = false; // picture the X86 page connecting again after its matrix restarted
    bool presets = false; // picture the X86 page's presets and a camera dragged onto a window
};
