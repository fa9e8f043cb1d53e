<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>COMMONUSELIB::AreaWithChannelTree</name>
    <message>
        <location filename="../host/commonuselib/AreaWithChannelTree.cpp" line="+27"/>
        <location line="+161"/>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
</context>
<context>
    <name>COMMONUSELIB::MessageBoxW</name>
    <message>
        <location filename="../host/commonuselib/MessageBoxW.cpp" line="+82"/>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+5"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location line="-4"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>COMMONUSELIB::PictureHintWidget</name>
    <message>
        <location filename="../host/commonuselib/PictureHintWidget.cpp" line="+27"/>
        <location line="+22"/>
        <source>Add Server</source>
        <translation>添加服务器</translation>
    </message>
</context>
<context>
    <name>COMMONUSELIB::ServerOperWidget</name>
    <message>
        <location filename="../host/commonuselib/ServerOperWidget.cpp" line="+19"/>
        <location line="+115"/>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <location line="-113"/>
        <location line="+114"/>
        <source>Edit server</source>
        <translation>编辑服务器</translation>
    </message>
    <message>
        <location line="-112"/>
        <location line="+113"/>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <location line="-111"/>
        <location line="+112"/>
        <source>Delete server</source>
        <translation>删除服务器</translation>
    </message>
    <message>
        <location line="-12"/>
        <source>Disconnect</source>
        <translation>断开</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Disconnect server</source>
        <translation>断开服务器</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Connect server</source>
        <translation>连接服务器</translation>
    </message>
</context>
<context>
    <name>COMMONUSELIB::ServerSelWidget</name>
    <message>
        <location filename="../host/commonuselib/ServerSelWidget.cpp" line="+27"/>
        <location line="+138"/>
        <source>Add server</source>
        <translation>添加服务器</translation>
    </message>
</context>
<context>
    <name>COMMONUSELIB::WaitDialog</name>
    <message>
        <location filename="../host/commonuselib/WaitDialog.cpp" line="+86"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>DemoCommandLine</name>
    <message>
        <location filename="../demo/DemoCommandLine.cpp" line="+21"/>
        <source>Data centre file (SQLite). Default: datacenter.db in the user&apos;s data folder.</source>
        <translation>数据中心文件（SQLite）。默认：用户数据文件夹中的 datacenter.db。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Do not start the built-in matrix simulator; connect to a matrix-sim or a real matrix whose address you enter in the server dialog.</source>
        <translation>不启动内置矩阵模拟器；连接在服务器对话框中输入地址的 matrix-sim 或真实矩阵。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Port of the built-in X86 matrix (default 9010; 0 picks a free port).</source>
        <translation>内置 X86 矩阵的端口（默认 9010；0 表示自动选择空闲端口）。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Port of the built-in Linux matrix (default 6000; 0 picks a free port).</source>
        <translation>内置 Linux 矩阵的端口（默认 6000；0 表示自动选择空闲端口）。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Where the built-in matrices keep their walls. Default: matrix-walls.json beside the data centre.</source>
        <translation>内置矩阵保存电视墙的文件。默认：数据中心旁的 matrix-walls.json。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>How the built-in Linux matrix&apos;s screens hang on the simulated wall: ROWSxCOLUMNS:OUTPUTS, the output at each position row by row (default 2x2:2,1,4,3).</source>
        <translation>内置 Linux 矩阵的屏幕在模拟电视墙上的悬挂方式：行数x列数:输出，按行依次给出每个位置的输出（默认 2x2:2,1,4,3）。</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>User-interface language: en or zh_cn. It is kept in the settings for the next start.</source>
        <translation>界面语言：en 或 zh_cn。会保存在设置中，下次启动时沿用。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Open the simulated walls at start (also in the Matrix menu).</source>
        <translation>启动时打开模拟电视墙（也可在“矩阵”菜单中打开）。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Style sheet of the host. Default: config/qss/style_1/style_1.qss of the host folder.</source>
        <translation>主机样式表。默认：主机文件夹中的 config/qss/style_1/style_1.qss。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Use no style sheet (plain Qt look).</source>
        <translation>不使用样式表（Qt 默认外观）。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Site (areas, devices, channels, views) to import when the data centre holds no area yet. Default: the sample site.</source>
        <translation>数据中心尚无区域时导入的站点（区域、设备、通道、视图）。默认：示例站点。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Host log file. Default: log/matrix-client.log beside the data centre.</source>
        <translation>主机日志文件。默认：数据中心旁的 log/matrix-client.log。</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Demo host of the digital matrix module: the module&apos;s configuration page with the host&apos;s data centre, settings and log, and a built-in matrix simulator (an X86 matrix and a Linux matrix on 127.0.0.1).</source>
        <translation>数字矩阵模块的演示主机：模块的配置页面，配有主机的数据中心、设置和日志，以及内置矩阵模拟器（位于 127.0.0.1 的一台 X86 矩阵和一台 Linux 矩阵）。</translation>
    </message>
</context>
<context>
    <name>DemoHost</name>
    <message>
        <location filename="../demo/DemoHost.cpp" line="+96"/>
        <source>Cannot create the folder %1.</source>
        <translation>无法创建文件夹 %1。</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Bad value for --linux-wall: %1</source>
        <translation>--linux-wall 的值无效：%1</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+36"/>
        <source>Cannot store the language %1 in %2.</source>
        <translation>无法将语言 %1 保存到 %2。</translation>
    </message>
    <message>
        <location line="-28"/>
        <source>Cannot open the data centre %1: %2</source>
        <translation>无法打开数据中心 %1：%2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Cannot import the site %1: %2</source>
        <translation>无法导入站点 %1：%2</translation>
    </message>
    <message>
        <location line="+76"/>
        <source>No translation %1.qm was found in %2.</source>
        <translation>在 %2 中找不到翻译文件 %1.qm。</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>No host folder with %1 was found; the demo runs without the host&apos;s images.</source>
        <translation>找不到包含 %1 的主机文件夹；演示程序将不使用主机图片运行。</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Cannot read the style sheet %1: %2</source>
        <translation>无法读取样式表 %1：%2</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>The built-in matrix simulator cannot start: %1
Choose other ports with --x86-port and --linux-port, or use --no-simulator to connect to a matrix-sim that already runs.</source>
        <translation>内置矩阵模拟器无法启动：%1
请用 --x86-port 和 --linux-port 选择其他端口，或使用 --no-simulator 连接已在运行的 matrix-sim。</translation>
    </message>
</context>
<context>
    <name>DemoMainWindow</name>
    <message>
        <location filename="../demo/DemoMainWindow.cpp" line="+47"/>
        <source>Digital Matrix - demo host</source>
        <translation>数字矩阵 - 演示主机</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Built-in matrices: X86 on 127.0.0.1:%1, Linux on 127.0.0.1:%2</source>
        <translation>内置矩阵：X86 位于 127.0.0.1:%1，Linux 位于 127.0.0.1:%2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>No built-in matrices: add the address of a running matrix</source>
        <translation>没有内置矩阵：请添加正在运行的矩阵的地址</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Data: %1</source>
        <translation>数据：%1</translation>
    </message>
    <message>
        <location line="-18"/>
        <source>&amp;Matrix</source>
        <translation>矩阵(&amp;M)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Show &amp;simulated wall</source>
        <translation>显示模拟电视墙(&amp;S)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;X86 matrix page</source>
        <translation>X86矩阵页面(&amp;X)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Linux matrix page</source>
        <translation>Linux矩阵页面(&amp;L)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>L&amp;anguage</source>
        <translation>语言(&amp;A)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Command-line options</source>
        <translation>命令行选项(&amp;C)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <location line="+145"/>
        <source>Command-line options</source>
        <translation>命令行选项</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>About the demo host</source>
        <translation>关于演示主机</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&lt;p&gt;Demo host of the digital matrix module %1.&lt;/p&gt;&lt;p&gt;Data centre: %2&lt;br/&gt;Settings and log: %3&lt;br/&gt;Walls of the built-in matrices: %4&lt;/p&gt;</source>
        <translation>&lt;p&gt;数字矩阵模块 %1 的演示主机。&lt;/p&gt;&lt;p&gt;数据中心：%2&lt;br/&gt;设置与日志：%3&lt;br/&gt;内置矩阵的电视墙：%4&lt;/p&gt;</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>(not running)</source>
        <translation>（未运行）</translation>
    </message>
</context>
<context>
    <name>SimulatedWallScene</name>
    <message>
        <location filename="../simulator/wall/SimulatedWallScene.cpp" line="+176"/>
        <source>X86 matrix: %1 outputs, no screen arrangement yet</source>
        <translation>X86矩阵：%1 路输出，尚未设置屏幕排列</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>X86 matrix: %1 x %2 screens</source>
        <translation>X86矩阵：%1 × %2 块屏幕</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+117"/>
        <source>Outputs not on the wall: %1</source>
        <translation>未上墙的输出：%1</translation>
    </message>
    <message>
        <location line="-113"/>
        <source>Configuration mode</source>
        <translation>配置模式</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>(no user name)</source>
        <translation>（无用户名）</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Operators: %1</source>
        <translation>操作员：%1</translation>
    </message>
    <message>
        <location line="+61"/>
        <location line="+99"/>
        <source>Turn show: page %1 of %2, every %3 s</source>
        <translation>轮巡：第 %1/%2 页，每 %3 秒</translation>
    </message>
    <message>
        <location line="-94"/>
        <location line="+98"/>
        <source>Turn show running</source>
        <translation>轮巡中</translation>
    </message>
    <message>
        <location line="-96"/>
        <location line="+98"/>
        <source>Turn show paused: page %1 of %2</source>
        <translation>轮巡已暂停：第 %1/%2 页</translation>
    </message>
    <message>
        <location line="-97"/>
        <source>Turn show paused</source>
        <translation>轮巡已暂停</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Linux matrix: %1 x %2 cells</source>
        <translation>Linux矩阵：%1 × %2 个单元</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Linux matrix: %1 x %2 saved, no cells yet</source>
        <translation>Linux矩阵：已保存 %1 × %2，尚无单元</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Linux matrix: no rows and columns yet</source>
        <translation>Linux矩阵：尚未设置行列</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Arrangement mode: every screen shows its number</source>
        <translation>排列模式：每块屏幕显示自己的编号</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cell %1 spread over the wall</source>
        <translation>单元 %1 铺满整墙</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Cell %1</source>
        <translation>单元 %1</translation>
    </message>
</context>
<context>
    <name>SimulatedWallView</name>
    <message>
        <location filename="../simulator/wall/SimulatedWallView.cpp" line="+108"/>
        <source>No signal</source>
        <translation>无信号</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>Screen %1</source>
        <translation>屏幕 %1</translation>
    </message>
</context>
<context>
    <name>SimulatedWallWindow</name>
    <message>
        <location filename="../simulator/wall/SimulatedWallWindow.cpp" line="+56"/>
        <source>X86 matrix</source>
        <translation>X86矩阵</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Linux matrix</source>
        <translation>Linux矩阵</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Simulated wall: %1 on port %2</source>
        <translation>模拟电视墙：%1，端口 %2</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Simulated wall: %1</source>
        <translation>模拟电视墙：%1</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>The matrix simulator is not running</source>
        <translation>矩阵模拟器未运行</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The X86 matrix is switched off</source>
        <translation>X86矩阵已关闭</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The Linux matrix is switched off</source>
        <translation>Linux矩阵已关闭</translation>
    </message>
</context>
</TS>
