// What the demo host was asked to do on its command line.
#pragma once

#include <QString>

struct DemoOptions
{
    QString dataFile; // the data centre; empty = "datacenter.db" in the user's data folder
    bool simulator = true; // run the matrix simulator in-process
    int x86Port = 9010; // ports of the in-process matrices; 0 picks a free port
    int linuxPort = 6000;
    QString stateFile; // walls of the in-process matrices; empty = beside the data centre
    QString linuxHang; // how the simulated Linux screens hang; empty = the demo's default
    QString language; // "en", "zh_cn"; empty = the language stored in the settings
    bool showWall = false; // open the simulated walls at start
    QString styleFile; // style sheet; empty = the host's config/qss/style_1/style_1.qss
    bool noStyle = false;
    QString siteFile; // site imported on the first run; empty = the sample site
    QString logFile; // host log; empty = log/matrix-client.log beside the data centre
};
