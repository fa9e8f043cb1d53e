<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::CellChannelsCheckDlg</name>
    <message>
        <location filename="../forms/CellChannelsCheckDlg.ui" line="+20"/>
        <source>CellChannelsCheckDlg</source>
        <translation>单元通道查看</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Cell Channels Check</source>
        <translation>单元通道查看</translation>
    </message>
    <message>
        <location line="+74"/>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <location filename="../src/linux/CellChannelsCheckDlg.cpp" line="+49"/>
        <source>Unknown channel</source>
        <translation>未知通道</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Please seclect channels to delete!</source>
        <translation>请选择要删除的通道！</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Make sure delete select channels from cell?</source>
        <translation>确定从单元中删除所选通道吗？</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Make sure clear channels from cell?</source>
        <translation>确定清空单元中的通道吗？</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Delete channel from cell fail!</source>
        <translation>从单元删除通道失败！</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::CellChannelsTableWt</name>
    <message>
        <location filename="../src/linux/CellChannelsTableWt.cpp" line="+23"/>
        <source>Channel Name</source>
        <translation>通道名称</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Device Name</source>
        <translation>设备名称</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::CellForConfigChannels</name>
    <message>
        <location filename="../src/linux/CellForConfigChannels.cpp" line="+737"/>
        <source>Turn Show</source>
        <translation>轮巡</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Time Set</source>
        <translation>时间设置</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete Source</source>
        <translation>删除源</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete The Channel</source>
        <translation>删除该通道</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete Cell Channels</source>
        <translation>删除单元通道</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Check Source</source>
        <translation>查看源</translation>
    </message>
    <message>
        <location line="-365"/>
        <source>page %1 of %2, every %3 s</source>
        <translation>第 %1/%2 页，每 %3 秒</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>turn show, every %1 s</source>
        <translation>轮巡中，每 %1 秒</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>paused: page %1 of %2</source>
        <translation>已暂停：第 %1/%2 页</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Show all windows fail!</source>
        <translation>恢复全部画面失败！</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Show single window fail!</source>
        <translation>单画面显示失败！</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>Start turn show fail!</source>
        <translation>开始轮巡失败！</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Stop turn show fail!</source>
        <translation>停止轮巡失败！</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Pause turn show fail!</source>
        <translation>暂停轮巡失败！</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Continue turn show fail!</source>
        <translation>继续轮巡失败！</translation>
    </message>
    <message>
        <location line="+56"/>
        <source>Set turn show time fail!</source>
        <translation>设置轮巡时间失败！</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>no channel is selected!</source>
        <translation>未选择通道！</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Make sure delete the channel:%1?</source>
        <translation>确定删除通道：%1？</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Delete channel from cell fail!</source>
        <translation>从单元删除通道失败！</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Make sure clear cell channels?</source>
        <translation>确定清空单元通道吗？</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Delete cell channels fail!</source>
        <translation>删除单元通道失败！</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>split screen fail!</source>
        <translation>分屏失败！</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Forbid to melting flat while turn show! Stop the turn show and melt flat?</source>
        <translation>轮巡时禁止铺满整墙！是否停止轮巡并铺满整墙？</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::ChannelsOperWidget</name>
    <message>
        <location filename="../src/linux/ChannelsOperWidget.cpp" line="+39"/>
        <source>Set channels to cell</source>
        <translation>将通道设置到单元</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete channels from cell</source>
        <translation>从单元删除通道</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::ConfigChannelsWidget</name>
    <message>
        <location filename="../src/linux/ConfigChannelsWidget.cpp" line="+162"/>
        <source>The matrix has no arrangement of its screens yet: use &quot;Config Matrix&quot; to arrange them.</source>
        <translation>矩阵的屏幕尚未排列：请使用“配置矩阵”进行排列。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The matrix has no arrangement of its screens yet.</source>
        <translation>矩阵的屏幕尚未排列。</translation>
    </message>
    <message>
        <location line="+72"/>
        <source>Forbid to melting flat while some cells turn show! Stop the turn shows and melt flat?</source>
        <translation>有单元正在轮巡时禁止铺满整墙！是否停止所有轮巡并铺满整墙？</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Melting flat fail!</source>
        <translation>铺满整墙失败！</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Cancel melting flat fail!</source>
        <translation>取消铺满整墙失败！</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Please select cell to set channels!</source>
        <translation>请选择要设置通道的单元！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Please select channels to set!</source>
        <translation>请选择要设置的通道！</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The max channel count can set in cell is:%1</source>
        <translation>单元最多可设置的通道数为：%1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>set cell channels fail!</source>
        <translation>设置单元通道失败！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Whether start turn show?</source>
        <translation>是否开始轮巡？</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Please select cell to set channel!</source>
        <translation>请选择要设置通道的单元！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Please select channel to set!</source>
        <translation>请选择要设置的通道！</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>modify cell channel fail</source>
        <translation>修改单元通道失败</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>add channel to cell fail</source>
        <translation>向单元添加通道失败</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Please select cell to clear channels!</source>
        <translation>请选择要清空通道的单元！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Cell has none channels!</source>
        <translation>该单元没有通道！</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Make sure delete cell channels?</source>
        <translation>确定删除单元通道吗？</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Delete cell channels fail!</source>
        <translation>删除单元通道失败！</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>All cells have none channels!</source>
        <translation>所有单元都没有通道！</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Make sure delete all channels?</source>
        <translation>确定删除全部通道吗？</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>clear channels fail!</source>
        <translation>清空通道失败！</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Stop turn show fail!</source>
        <translation>停止轮巡失败！</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::CustomSearchEdit</name>
    <message>
        <location filename="../src/widgets/CustomSearchEdit.cpp" line="+19"/>
        <location line="+22"/>
        <location line="+30"/>
        <source>Search ...</source>
        <translation>搜索 ...</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::DigitalMatrix</name>
    <message>
        <location filename="../forms/DigitalMatrix.ui" line="+14"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location line="+103"/>
        <location filename="../src/x86/DigitalMatrix.cpp" line="+345"/>
        <location line="+1421"/>
        <source>select server</source>
        <translation>选择服务器</translation>
    </message>
    <message>
        <location line="+82"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>EditMatrix</source>
        <translation>编辑矩阵</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>clearSource</source>
        <translation>清除源</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>turnshow</source>
        <translation>轮巡</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>setsource</source>
        <translation>设置源</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>reset</source>
        <translation>复位</translation>
    </message>
    <message>
        <location line="+84"/>
        <location filename="../src/x86/DigitalMatrix.cpp" line="-1554"/>
        <location line="+422"/>
        <location line="+114"/>
        <location line="+128"/>
        <location line="+894"/>
        <source>Connect server</source>
        <translation>连接服务器</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>server switch</source>
        <translation>服务器开关</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Edit server</source>
        <translation>编辑服务器</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Delete server</source>
        <translation>删除服务器</translation>
    </message>
    <message>
        <location filename="../src/x86/DigitalMatrix.cpp" line="-1250"/>
        <location line="+99"/>
        <source>Connecting...</source>
        <translation>正在连接...</translation>
    </message>
    <message>
        <location line="+31"/>
        <location line="+1119"/>
        <source>Disconnect server</source>
        <translation>断开服务器</translation>
    </message>
    <message>
        <location line="-1646"/>
        <location line="+6"/>
        <location line="+738"/>
        <location line="+39"/>
        <location line="+121"/>
        <location line="+40"/>
        <location line="+35"/>
        <location line="+179"/>
        <location line="+553"/>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <location line="-1736"/>
        <source>Login failed!%1 holds the matrix since %2.Do you want to force login?</source>
        <translation>登录失败！%1 自 %2 起占用该矩阵。是否强制登录？</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Login failed!Do you want to force login?</source>
        <translation>登录失败！是否强制登录？</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Login failed!Wrong user or password. Do you want to try again?</source>
        <translation>登录失败！用户名或密码错误，是否重试？</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Force Login failed!</source>
        <translation>强制登录失败！</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Login failed!No answer from the matrix server.</source>
        <translation>登录失败！矩阵服务器没有应答。</translation>
    </message>
    <message>
        <location line="+100"/>
        <location line="+1547"/>
        <source>Stop all turns</source>
        <translation>停止全部轮巡</translation>
    </message>
    <message>
        <location line="-1409"/>
        <location line="+1401"/>
        <source>Watch the matrix without taking control</source>
        <translation>观看矩阵，不取得控制权</translation>
    </message>
    <message>
        <location line="-1252"/>
        <source>No matrix server yet: add one with the + button below.</source>
        <translation>还没有矩阵服务器：请用下方的 + 按钮添加。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix has no screens arranged yet.</source>
        <translation>矩阵尚未排列屏幕。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Not connected: press the connect button at the lower right to show the matrix&apos;s wall.</source>
        <translation>未连接：请按右下角的连接按钮以显示矩阵的电视墙。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The matrix has no screens arranged yet: arrange them with &quot;EditMatrix&quot;.</source>
        <translation>矩阵尚未设置屏幕：请用“编辑矩阵”设置。</translation>
    </message>
    <message>
        <location line="+163"/>
        <source>Logging in...</source>
        <translation>正在登录...</translation>
    </message>
    <message>
        <location line="+174"/>
        <source>Watch failed!Wrong user or password.</source>
        <translation>观看失败！用户名或密码错误。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Watch failed!No answer from the matrix server.</source>
        <translation>观看失败！矩阵服务器没有应答。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Watch failed!Error code %1.</source>
        <translation>观看失败！错误码 %1。</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Connect Matrix Server failed!Do you need to reconnect?</source>
        <translation>连接矩阵服务器失败！是否重新连接？</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+10"/>
        <location line="+6"/>
        <location line="+5"/>
        <location line="+79"/>
        <location line="+82"/>
        <location line="+44"/>
        <location line="+155"/>
        <location line="+180"/>
        <location line="+65"/>
        <location line="+26"/>
        <location line="+4"/>
        <location line="+93"/>
        <location line="+24"/>
        <source>Warn</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="-772"/>
        <source>Connect Matrix Server time out!Do you need to reconnect?</source>
        <translation>连接矩阵服务器超时！是否重新连接？</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>%1 took over the matrix at %2.Do you want to watch the matrix?</source>
        <translation>%1 已于 %2 接管该矩阵。是否改为观看该矩阵？</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Matrix Server disconnect!Do you need to reconnect?</source>
        <translation>矩阵服务器已断开！是否重新连接？</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Connect Matrix Server error!Do you need to reconnect?</source>
        <translation>连接矩阵服务器出错！是否重新连接？</translation>
    </message>
    <message>
        <location line="+79"/>
        <source>The number of servers can&apos;t beyond 5!</source>
        <translation>服务器数量不能超过5个！</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Add matrix server failed!</source>
        <translation>添加矩阵服务器失败！</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Edit matrix server failed!</source>
        <translation>编辑矩阵服务器失败！</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Delete selected server?</source>
        <translation>删除所选服务器？</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Delete matrix server failed!</source>
        <translation>删除矩阵服务器失败！</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>Do you want to clear the setting of matrix</source>
        <translation>是否清除矩阵的设置</translation>
    </message>
    <message>
        <location line="-613"/>
        <location line="+622"/>
        <source>Reading the matrix&apos;s screens...</source>
        <translation>正在读取矩阵的屏幕...</translation>
    </message>
    <message>
        <location line="+94"/>
        <source>The matrix server did not answer in time!</source>
        <translation>矩阵服务器未及时应答！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix server refused the screen count!</source>
        <translation>矩阵服务器拒绝了屏幕数量！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix server refused to swap the windows!</source>
        <translation>矩阵服务器拒绝交换窗口！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix server refused the configuration mode!</source>
        <translation>矩阵服务器拒绝了配置模式！</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The matrix server refused the split!</source>
        <translation>矩阵服务器拒绝了分屏！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix server refused the sources!</source>
        <translation>矩阵服务器拒绝了信号源！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix server refused to change the turn show!</source>
        <translation>矩阵服务器拒绝更改轮巡！</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The matrix server refused to clear the source!</source>
        <translation>矩阵服务器拒绝清除信号源！</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The matrix server refused to zoom the window!</source>
        <translation>矩阵服务器拒绝放大窗口！</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The matrix server refused to move the window!</source>
        <translation>矩阵服务器拒绝移动窗口！</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>This console only watches the matrix: take control first.</source>
        <translation>本终端只在观看该矩阵：请先取得控制权。</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Do you want to clear the source?</source>
        <translation>是否清除源？</translation>
    </message>
    <message>
        <location line="+180"/>
        <source>Reset the layout?</source>
        <translation>是否复位布局？</translation>
    </message>
    <message>
        <location line="+65"/>
        <source>Do you want to stop taking turns to show</source>
        <translation>是否停止轮巡</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>No turn show runs on the wall.</source>
        <translation>电视墙上没有正在进行的轮巡。</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Do you want to stop every turn show on the wall?</source>
        <translation>是否停止电视墙上的全部轮巡？</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>Drag a window onto another to swap their numbers, then save.</source>
        <translation>将一个窗口拖到另一个窗口上以交换编号，然后保存。</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>Window %1 runs a turn show. Do you want to stop it and put the camera on the window?</source>
        <translation>窗口 %1 正在轮巡。是否停止轮巡并将摄像机放到该窗口上？</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>The camera is not in the site any more.</source>
        <translation>该摄像机已不在站点中。</translation>
    </message>
    <message>
        <location line="+50"/>
        <location line="+1"/>
        <location line="+36"/>
        <location line="+1"/>
        <source>connect server listener fail!</source>
        <translation>连接服务器监听失败！</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+28"/>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <location line="-27"/>
        <location line="+28"/>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <location line="+54"/>
        <source>Undo %1</source>
        <translation>撤销%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing to undo</source>
        <translation>没有可撤销的操作</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Redo %1</source>
        <translation>重做%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing to redo</source>
        <translation>没有可重做的操作</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::DigitalMatrixConfigPage</name>
    <message>
        <location filename="../forms/DigitalMatrixConfigPage.ui" line="+14"/>
        <source>DigitalMatrixConfigPage</source>
        <translation>数字矩阵配置</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::LinuxDigitalMatrixPage</name>
    <message>
        <location filename="../forms/LinuxDigitalMatrixPage.ui" line="+14"/>
        <source>LinuxDigitalMatrixPage</source>
        <translation>Linux数字矩阵</translation>
    </message>
    <message>
        <location filename="../src/linux/LinuxDigitalMatrixPage.cpp" line="+626"/>
        <location line="+363"/>
        <location line="+536"/>
        <source>Digital matrix server not connect yet!</source>
        <translation>数字矩阵服务器尚未连接！</translation>
    </message>
    <message>
        <location line="-867"/>
        <location line="+866"/>
        <source>Digital matrix server connect ok!</source>
        <translation>数字矩阵服务器连接成功！</translation>
    </message>
    <message>
        <location line="-974"/>
        <source>Digital matrix server connect fail!</source>
        <translation>数字矩阵服务器连接失败！</translation>
    </message>
    <message>
        <location line="-436"/>
        <location line="+1402"/>
        <source>Watch</source>
        <translation>观看</translation>
    </message>
    <message>
        <location line="-1397"/>
        <location line="+1398"/>
        <source>Watch the matrix without taking control</source>
        <translation>观看矩阵，不取得控制权</translation>
    </message>
    <message>
        <location line="-1073"/>
        <source>No matrix server yet: add one with the + button.</source>
        <translation>还没有矩阵服务器：请用 + 按钮添加。</translation>
    </message>
    <message>
        <location line="+77"/>
        <source>Digital matrix server connection lost!</source>
        <translation>与数字矩阵服务器的连接已断开！</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Wrong user name or password.</source>
        <translation>用户名或密码错误。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix is restarting or upgrading, try again later.</source>
        <translation>矩阵正在重启或升级，请稍后再试。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix cannot be reached.</source>
        <translation>无法连接到矩阵。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix did not answer in time.</source>
        <translation>矩阵未及时应答。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The matrix answered something it should not.</source>
        <translation>矩阵返回了无法识别的应答。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This console only watches the matrix: take control first.</source>
        <translation>本终端只在观看该矩阵：请先取得控制权。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Error code %1.</source>
        <translation>错误码 %1。</translation>
    </message>
    <message>
        <location line="+134"/>
        <location line="+112"/>
        <source>Digital matrix server disconnect!</source>
        <translation>数字矩阵服务器已断开！</translation>
    </message>
    <message>
        <location line="-111"/>
        <source>Digital matrix server disconnect fail!</source>
        <translation>数字矩阵服务器断开失败！</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Logging in...</source>
        <translation>正在登录...</translation>
    </message>
    <message>
        <location line="+125"/>
        <source>Watch failed!</source>
        <translation>观看失败！</translation>
    </message>
    <message>
        <location line="+13"/>
        <location line="+689"/>
        <source>Watching the matrix: commands are disabled.</source>
        <translation>正在观看矩阵：所有命令已禁用。</translation>
    </message>
    <message>
        <location line="-632"/>
        <source>%1 holds the matrix since %2.Do you want to take control?</source>
        <translation>%1 自 %2 起占用该矩阵。是否取得控制权？</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Matrix server max count is:%1</source>
        <translation>矩阵服务器最大数量为：%1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Add matrix server...</source>
        <translation>正在添加矩阵服务器...</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Add matrix server fail!</source>
        <translation>添加矩阵服务器失败！</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Edit matrix server...</source>
        <translation>正在编辑矩阵服务器...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Edit matrix server fail!</source>
        <translation>编辑矩阵服务器失败！</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>Delete selected server?</source>
        <translation>删除所选服务器？</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Delete matrix server...</source>
        <translation>正在删除矩阵服务器...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Delete matrix server fail!</source>
        <translation>删除矩阵服务器失败！</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>Do you want to reboot matrix server?</source>
        <translation>是否重启矩阵服务器？</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Reboot matrix server fail!</source>
        <translation>重启矩阵服务器失败！</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Do you want to restore factory default?</source>
        <translation>是否恢复出厂设置？</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Restore factory default fail!</source>
        <translation>恢复出厂设置失败！</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Read screen numbers fail!</source>
        <translation>读取屏幕编号失败！</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Start screen arrangement fail!</source>
        <translation>进入屏幕编排失败！</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>The new grid clears the channels of every cell. Save it?</source>
        <translation>新的布局将清除所有单元的通道，是否保存？</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Set matrix row and column arrange fail!</source>
        <translation>设置矩阵行列排列失败！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>clear cells fail!</source>
        <translation>清空单元失败！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Set logic screen map fail!</source>
        <translation>设置逻辑屏幕映射失败！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>set cells info fail!</source>
        <translation>设置单元信息失败！</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>Upgrading...</source>
        <translation>正在升级...</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Start upgrade fail!</source>
        <translation>启动升级失败！</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Firmware from %1</source>
        <translation>固件来源：%1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Firmware before the upgrade: %1, after: %2</source>
        <translation>升级前固件：%1，升级后：%2</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The matrix could not be reached during the upgrade: its result is unknown!</source>
        <translation>升级期间无法连接矩阵，升级结果未知！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Linux matrix upgrade finished! Please poweroff to restart!</source>
        <translation>Linux矩阵升级完成！请断电重启！</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Upgrade resource not found!</source>
        <translation>未找到升级资源！</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>already the latest vertion!</source>
        <translation>已是最新版本！</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>unknow error!</source>
        <translation>未知错误！</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>The max channel count can set in cell is:%1</source>
        <translation>单元最多可设置的通道数为：%1</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>No turn show runs on the wall.</source>
        <translation>电视墙上没有正在进行的轮巡。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Do you want to stop every turn show on the wall?</source>
        <translation>是否停止电视墙上的全部轮巡？</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Save As...</source>
        <translation>另存为...</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Save Preset</source>
        <translation>保存预案</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+73"/>
        <source>Preset name:</source>
        <translation>预案名称：</translation>
    </message>
    <message>
        <location line="-65"/>
        <source>The preset could not be saved: %1</source>
        <translation>无法保存预案：%1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Do you want to recall the preset &quot;%1&quot;?</source>
        <translation>是否调用预案“%1”？</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The preset &quot;%1&quot; cannot be read.</source>
        <translation>无法读取预案“%1”。</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>The matrix refused %1. The wall was put back as it was.</source>
        <translation>矩阵服务器拒绝了%1。电视墙已恢复原状。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The matrix refused %1, and then %2 while putting the wall back.</source>
        <translation>矩阵服务器拒绝了%1，恢复电视墙时又拒绝了%2。</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Rename Preset</source>
        <translation>重命名预案</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The preset could not be renamed: %1</source>
        <translation>无法重命名预案：%1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Do you want to delete the preset &quot;%1&quot;?</source>
        <translation>是否删除预案“%1”？</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>The preset could not be deleted: %1</source>
        <translation>无法删除预案：%1</translation>
    </message>
    <message>
        <location line="+78"/>
        <source>Undo %1</source>
        <translation>撤销%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing to undo</source>
        <translation>没有可撤销的操作</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Redo %1</source>
        <translation>重做%1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Nothing to redo</source>
        <translation>没有可重做的操作</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::LinuxMatrixUpgradeDlg</name>
    <message>
        <location filename="../forms/LinuxMatrixUpgradeDlg.ui" line="+26"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>Linux matrix upgrade</source>
        <translation>Linux矩阵升级</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Type:</source>
        <translation>类型：</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>HTTP</source>
        <translation>HTTP</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>FTP</source>
        <translation>FTP</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;URL:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;网址：&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../src/linux/LinuxMatrixUpgradeDlg.cpp" line="+72"/>
        <source>ftp format is wrong!</source>
        <translation>FTP地址格式错误！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>http format is wrong!</source>
        <translation>HTTP地址格式错误！</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::LinuxPrompt</name>
    <message>
        <location filename="../src/linux/LinuxDigitalMatrixPage.cpp" line="-137"/>
        <location filename="../src/linux/LinuxPrompt.cpp" line="+9"/>
        <location line="+6"/>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::LinuxWallHistory</name>
    <message>
        <location filename="../src/linux/LinuxWallHistory.cpp" line="+205"/>
        <source>The matrix server refused %1 while undoing the %2. The step stays in the list.</source>
        <translation>撤销%2时矩阵服务器拒绝了%1。该步骤仍保留在列表中。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The matrix server refused %1 while redoing the %2. The step stays in the list.</source>
        <translation>重做%2时矩阵服务器拒绝了%1。该步骤仍保留在列表中。</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>bringing back the spread cell %1</source>
        <translation>取消单元 %1 的铺满整墙</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>stopping the turn show of cell %1</source>
        <translation>停止单元 %1 的轮巡</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>the channels of cell %1</source>
        <translation>单元 %1 的通道</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the split of cell %1</source>
        <translation>单元 %1 的分屏</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>the pane shown alone in cell %1</source>
        <translation>单元 %1 的单画面显示</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the turn show of cell %1</source>
        <translation>单元 %1 的轮巡</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>spreading cell %1</source>
        <translation>单元 %1 铺满整墙</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>spread of cell %1</source>
        <translation>单元 %1 的铺满整墙</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>return of the spread cell %1</source>
        <translation>取消单元 %1 的铺满整墙</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>change of cells %1</source>
        <translation>单元 %1 的修改</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>deleting in cell %1</source>
        <translation>单元 %1 中的删除</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>channels of cell %1</source>
        <translation>单元 %1 的通道</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>split of cell %1</source>
        <translation>单元 %1 的分屏</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>pane shown alone in cell %1</source>
        <translation>单元 %1 的单画面</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>turn show of cell %1</source>
        <translation>单元 %1 的轮巡</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::LinuxWallPreset</name>
    <message>
        <location filename="../src/linux/LinuxWallPreset.cpp" line="+119"/>
        <source>The preset is for a wall of %1 x %2 cells, this wall has %3 x %4.</source>
        <translation>该预案适用于 %1 x %2 个单元的电视墙，当前电视墙为 %3 x %4。</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>the grid of %1 x %2 cells (this wall has %3 x %4)</source>
        <translation>%1 x %2 的单元格布局（此电视墙为 %3 x %4）</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>cell %1</source>
        <translation>单元格 %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the channel &quot;%1&quot;</source>
        <translation>通道“%1”</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>stopping the turn show of cell %1</source>
        <translation>停止单元 %1 的轮巡</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>bringing back the spread cell %1</source>
        <translation>取消单元 %1 的铺满整墙</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>the channels of cell %1</source>
        <translation>单元 %1 的通道</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the split of cell %1</source>
        <translation>单元 %1 的分屏</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>the pane shown alone in cell %1</source>
        <translation>单元 %1 的单画面显示</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+4"/>
        <source>the turn show of cell %1</source>
        <translation>单元 %1 的轮巡</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>spreading cell %1</source>
        <translation>单元 %1 铺满整墙</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::MatrixGroupTree</name>
    <message>
        <location filename="../forms/MatrixGroupTree.ui" line="+14"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location line="+110"/>
        <source>Start Turn</source>
        <translation>开始轮巡</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Splite:</source>
        <translation>分屏：</translation>
    </message>
    <message>
        <location line="+55"/>
        <source>Interval Time: </source>
        <translation>间隔时间：</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>S</source>
        <translation>秒</translation>
    </message>
    <message>
        <location filename="../src/x86/MatrixGroupTree.cpp" line="+365"/>
        <location line="+9"/>
        <location line="+7"/>
        <source>WARN</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>There are no channels to set!</source>
        <translation>没有可设置的通道！</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>The number of screen spliter is less than selected channels number,countine?</source>
        <translation>分屏数小于所选通道数，是否继续？</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>The number of selected channels is less than screen spliter number,countine?</source>
        <translation>所选通道数小于分屏数，是否继续？</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The value must be between 10 to 100!</source>
        <translation>数值必须在10到100之间！</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::MatrixManageWidget</name>
    <message>
        <location filename="../forms/MatrixManageWidget.ui" line="+14"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::MatrixOnlineProbe</name>
    <message>
        <location filename="../src/core/MatrixOnlineProbe.cpp" line="+161"/>
        <source>Online: the matrix answers.</source>
        <translation>在线：矩阵有应答。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Busy: the matrix answers but takes no connection now (restarting or full).</source>
        <translation>忙碌：矩阵有应答，但暂不接受连接（正在重启或连接已满）。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Offline: nothing answers at this address.</source>
        <translation>离线：该地址无应答。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Not answering: the matrix takes the connection but does not answer.</source>
        <translation>无响应：矩阵接受了连接但没有应答。</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Not probed yet.</source>
        <translation>尚未探测。</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::MatrixOperButtonsWt</name>
    <message>
        <location filename="../forms/MatrixOperButtonsWt.ui" line="+26"/>
        <source>MatrixOperButtonsWt</source>
        <translation>矩阵操作</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Config Matrix</source>
        <translation>配置矩阵</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Undo Layout</source>
        <translation>撤销布局</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Clear Channels</source>
        <translation>清空通道</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Save Config</source>
        <translation>保存配置</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Back Step</source>
        <translation>上一步</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Drag the numbers to match with physical screen numbers</source>
        <translation>拖动数字，使其与物理屏幕编号一致</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Reboot</source>
        <translation>重启</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Upgrade</source>
        <translation>升级</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Reset</source>
        <translation>恢复出厂</translation>
    </message>
    <message>
        <location filename="../src/linux/MatrixOperButtonsWt.cpp" line="+41"/>
        <location line="+61"/>
        <source>Stop All Turns</source>
        <translation>停止全部轮巡</translation>
    </message>
    <message>
        <location line="-51"/>
        <location line="+52"/>
        <source>Presets</source>
        <translation>预案</translation>
    </message>
    <message>
        <location line="-44"/>
        <location line="+45"/>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::MatrixOperatorInfo</name>
    <message>
        <location filename="../src/core/MatrixOperatorInfo.cpp" line="+62"/>
        <source>an unnamed console</source>
        <translation>未命名的控制台</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 on %2</source>
        <translation>%2 上的 %1</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 (watching)</source>
        <translation>%1（观看中）</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Also on this matrix: %1</source>
        <translation>同时连接此矩阵：%1</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::MatrixRowColumnSetDlg</name>
    <message>
        <location filename="../forms/MatrixRowColumnSetDlg.ui" line="+26"/>
        <location line="+24"/>
        <source>Matrix Setting</source>
        <translation>矩阵设置</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Row Number:</source>
        <translation>行数：</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Column Number:</source>
        <translation>列数：</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Next</source>
        <translation>下一步</translation>
    </message>
    <message>
        <location filename="../src/linux/MatrixRowColumnSetDlg.cpp" line="+51"/>
        <source>Please enter row count!</source>
        <translation>请输入行数！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Please enter column count!</source>
        <translation>请输入列数！</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The max cells count is:%1!</source>
        <translation>最大单元数为：%1！</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::MatrixViewTree</name>
    <message>
        <location filename="../forms/MatrixViewTree.ui" line="+14"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location line="+45"/>
        <location filename="../src/x86/MatrixViewTree.cpp" line="+35"/>
        <location line="+172"/>
        <source>Search...</source>
        <translation>搜索...</translation>
    </message>
    <message>
        <location filename="../src/x86/MatrixViewTree.cpp" line="-101"/>
        <source>View Error!</source>
        <translation>视图错误！</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Please select a view to set!</source>
        <translation>请选择要设置的视图！</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>The channels of view can&apos;t more than 25!</source>
        <translation>视图的通道数不能超过25个！</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::MirrorWidget</name>
    <message>
        <location filename="../forms/MirrorWidget.ui" line="+20"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location filename="../src/x86/MirrorWidget.cpp" line="+263"/>
        <source>Turning: page %1 of %2, every %3 s</source>
        <translation>轮巡中：第 %1/%2 页，每 %3 秒</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Turning, every %1 s</source>
        <translation>轮巡中，每 %1 秒</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Paused: page %1 of %2</source>
        <translation>已暂停：第 %1/%2 页</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Paused</source>
        <translation>已暂停</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::ModifyDigitalMatrixServerDlg</name>
    <message>
        <location filename="../forms/ModifyDigitalMatrixServerDlg.ui" line="+14"/>
        <location line="+24"/>
        <source>Add DigitalMatrix Server</source>
        <translation>添加数字矩阵服务器</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#ff0000; vertical-align:super;&quot;&gt;*&lt;/span&gt;Name:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#ff0000; vertical-align:super;&quot;&gt;*&lt;/span&gt;名称：&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#ff0000; vertical-align:super;&quot;&gt;*&lt;/span&gt;IPAddress:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#ff0000; vertical-align:super;&quot;&gt;*&lt;/span&gt;IP地址：&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Type:</source>
        <translation>类型：</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>TQ5100-12HD</source>
        <translation>TQ5100-12HD</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>TQ5100-4HD</source>
        <translation>TQ5100-4HD</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#ff0000; vertical-align:super;&quot;&gt;*&lt;/span&gt;Port:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#ff0000; vertical-align:super;&quot;&gt;*&lt;/span&gt;端口：&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#ff0000; vertical-align:super;&quot;&gt;*&lt;/span&gt;User:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; color:#ff0000; vertical-align:super;&quot;&gt;*&lt;/span&gt;用户名：&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Password:&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;密码：&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <location line="+59"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../src/linux/ModifyDigitalMatrixServerDlg.cpp" line="+59"/>
        <location line="+1"/>
        <location line="+71"/>
        <location line="+1"/>
        <source>Edit DigitalMatrix Server</source>
        <translation>编辑数字矩阵服务器</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::PresetMenuEntries</name>
    <message>
        <location filename="../src/widgets/PresetMenuEntries.cpp" line="+21"/>
        <source>Recall</source>
        <translation>调用</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Rename...</source>
        <translation>重命名...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::PresetMisfitQuestion</name>
    <message>
        <location filename="../src/widgets/PresetMisfitQuestion.cpp" line="+12"/>
        <source>The preset &quot;%1&quot; no longer fits the matrix. Missing: %2.

Apply the rest of the preset?</source>
        <translation>预案“%1”已不再适合该矩阵。缺少：%2。

是否应用预案的其余部分？</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Apply the rest</source>
        <translation>应用其余部分</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::ReconnectBar</name>
    <message>
        <location filename="../src/widgets/ReconnectBar.cpp" line="+79"/>
        <source>Reconnecting to %1 in %2 s... (attempt %3)</source>
        <translation>%2 秒后重新连接 %1...（第 %3 次尝试）</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Reconnecting to %1... (attempt %2)</source>
        <translation>正在重新连接 %1...（第 %2 次尝试）</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Connected to %1 again.</source>
        <translation>已重新连接到 %1。</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::ServerInputCheck</name>
    <message>
        <location filename="../src/widgets/ServerInputCheck.cpp" line="+26"/>
        <source>Please enter digital matrix server name!</source>
        <translation>请输入数字矩阵服务器名称！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please enter digital matrix server ip!</source>
        <translation>请输入数字矩阵服务器IP！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please enter digital matrix server port!</source>
        <translation>请输入数字矩阵服务器端口！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Please enter user name!</source>
        <translation>请输入用户名！</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The name of server has exsit!</source>
        <translation>服务器名称已存在！</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The IP of server has exsit!</source>
        <translation>服务器IP已存在！</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Input can&apos;t be &apos; or \ !</source>
        <translation>输入不能包含 &apos; 或 \ ！</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::SetChannelSource</name>
    <message>
        <location filename="../forms/SetChannelSource.ui" line="+26"/>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Set Source</source>
        <translation>设置源</translation>
    </message>
    <message>
        <location line="+93"/>
        <source>Group</source>
        <translation>分组</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>View</source>
        <translation>视图</translation>
    </message>
    <message>
        <location line="+84"/>
        <source>Set</source>
        <translation>设置</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::SplitScreenToolBar</name>
    <message>
        <location filename="../forms/SplitScreenToolBar.ui" line="+26"/>
        <source>SplitScreenToolBar</source>
        <translation>分屏工具栏</translation>
    </message>
    <message>
        <location line="+61"/>
        <source>1 pane</source>
        <translation>1画面</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>4 panes</source>
        <translation>4画面</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>9 panes</source>
        <translation>9画面</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>16 panes</source>
        <translation>16画面</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::SpliteWindow</name>
    <message>
        <location filename="../forms/SpliteWindow.ui" line="+26"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location line="+108"/>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <location line="+100"/>
        <source>16</source>
        <translation>16</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>25</source>
        <translation>25</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>36</source>
        <translation>36</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::SwitchChannelsShowToolBar</name>
    <message>
        <location filename="../forms/SwitchChannelsShowToolBar.ui" line="+26"/>
        <source>SwitchChannelsShowToolBar</source>
        <translation>通道翻页工具栏</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::TurnControlWidget</name>
    <message>
        <location filename="../forms/TurnControlWidget.ui" line="+26"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location line="+129"/>
        <source>start</source>
        <translation>开始</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>stop</source>
        <translation>停止</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::TurnShowTimeSetDlg</name>
    <message>
        <location filename="../forms/TurnShowTimeSetDlg.ui" line="+26"/>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>Turn Show Time Set</source>
        <translation>轮巡时间设置</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>Turn Show Time:</source>
        <translation>轮巡时间：</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>S</source>
        <translation>秒</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>(5-60)</source>
        <translation>(5-60)</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>Set</source>
        <translation>设置</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../src/linux/TurnShowTimeSetDlg.cpp" line="+44"/>
        <source>Please enter turn show time!</source>
        <translation>请输入轮巡时间！</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Turn show time range is:5-60!</source>
        <translation>轮巡时间范围为：5-60！</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::WallUndoHistory</name>
    <message>
        <location filename="../src/core/WallUndoHistory.cpp" line="+121"/>
        <source>The %1 cannot be undone: the matrix no longer holds what it left (another operator changed it). The step is dropped from the list.</source>
        <translation>无法撤销%1：矩阵上的内容已不是该操作留下的样子（其他操作员已修改）。该步骤已从列表中移除。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The %1 cannot be redone: the matrix no longer holds what its undo left (another operator changed it). The step is dropped from the list.</source>
        <translation>无法重做%1：矩阵上的内容已不是撤销后留下的样子（其他操作员已修改）。该步骤已从列表中移除。</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::WatchBanner</name>
    <message>
        <location filename="../src/widgets/WatchBanner.cpp" line="+65"/>
        <source>Watching: %1 holds the matrix since %2. Commands are disabled.</source>
        <translation>观看中：%1 自 %2 起占用该矩阵。所有命令已禁用。</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Watching: nobody holds the matrix. Commands are disabled.</source>
        <translation>观看中：当前无人占用该矩阵。所有命令已禁用。</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Take control</source>
        <translation>取得控制权</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::X86CameraPanel</name>
    <message>
        <location filename="../src/x86/X86CameraPanel.cpp" line="+92"/>
        <source>Cameras</source>
        <translation>摄像机</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show the cameras</source>
        <translation>显示摄像机</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Hide the cameras</source>
        <translation>隐藏摄像机</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::X86PresetMenu</name>
    <message>
        <location filename="../src/x86/X86PresetMenu.cpp" line="+50"/>
        <source>Presets</source>
        <translation>预案</translation>
    </message>
    <message>
        <location line="+25"/>
        <location line="+43"/>
        <location line="+22"/>
        <location line="+58"/>
        <source>Warn</source>
        <translation>警告</translation>
    </message>
    <message>
        <location line="-113"/>
        <source>Save As...</source>
        <translation>另存为...</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Save Preset</source>
        <translation>保存预案</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+82"/>
        <source>Preset name:</source>
        <translation>预案名称：</translation>
    </message>
    <message>
        <location line="-75"/>
        <source>The preset could not be saved: %1</source>
        <translation>无法保存预案：%1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Do you want to recall the preset &quot;%1&quot;?</source>
        <translation>是否调用预案“%1”？</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>The preset &quot;%1&quot; cannot be read.</source>
        <translation>无法读取预案“%1”。</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>The matrix refused %1, and then %2 while putting the wall back.</source>
        <translation>矩阵拒绝了%1，随后在恢复电视墙时又拒绝了%2。</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>The matrix refused %1. The wall was put back as it was.</source>
        <translation>矩阵拒绝了%1。电视墙已恢复原状。</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Rename Preset</source>
        <translation>重命名预案</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The preset could not be renamed: %1</source>
        <translation>无法重命名预案：%1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Do you want to delete the preset &quot;%1&quot;?</source>
        <translation>是否删除预案“%1”？</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>The preset could not be deleted: %1</source>
        <translation>无法删除预案：%1</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::X86WallHistory</name>
    <message>
        <location filename="../src/x86/X86WallHistory.cpp" line="+191"/>
        <source>The matrix server refused to undo the %1. The step stays in the list.</source>
        <translation>矩阵服务器拒绝撤销%1。该步骤仍保留在列表中。</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The matrix server refused to redo the %1. The step stays in the list.</source>
        <translation>矩阵服务器拒绝重做%1。该步骤仍保留在列表中。</translation>
    </message>
    <message>
        <location line="+134"/>
        <source>swap of windows %1 and %2</source>
        <translation>窗口%1与%2的交换</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>reset of the layout</source>
        <translation>布局的复位</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>size of window %1</source>
        <translation>窗口%1的大小调整</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>move of window %1</source>
        <translation>窗口%1的移动</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>split of window %1</source>
        <translation>窗口%1的分屏</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>clearing of window %1</source>
        <translation>窗口%1的清除</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>sources of window %1</source>
        <translation>窗口%1的信号源</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>turn shows of the wall</source>
        <translation>电视墙的轮巡</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>turn show of window %1</source>
        <translation>窗口%1的轮巡</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::X86WallPreset</name>
    <message>
        <location filename="../src/x86/X86WallPreset.cpp" line="+210"/>
        <source>The matrix has no screens arranged: the preset cannot be recalled.</source>
        <translation>矩阵尚未排列屏幕：无法调用预案。</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>the screen arrangement of %1 x %2 (the matrix has %3 outputs)</source>
        <translation>%1 x %2 的屏幕排列（矩阵只有 %3 个输出）</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>window %1</source>
        <translation>窗口 %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+113"/>
        <source>the place of window %1</source>
        <translation>窗口 %1 的位置</translation>
    </message>
    <message>
        <location line="-97"/>
        <source>the channel &quot;%1&quot;</source>
        <translation>通道“%1”</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>stopping the turn show of window %1</source>
        <translation>停止窗口 %1 的轮巡</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>the screen arrangement</source>
        <translation>屏幕排列</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>the numbers of windows %1 and %2</source>
        <translation>窗口 %1 与 %2 的编号</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>the split of window %1</source>
        <translation>窗口 %1 的分屏</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>the channels of window %1</source>
        <translation>窗口 %1 的通道</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>the turn show of window %1</source>
        <translation>窗口 %1 的轮巡</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::_ModifyDigitalMatrixServerDlg</name>
    <message>
        <location filename="../forms/_ModifyDigitalMatrixServerDlg.ui" line="+26"/>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <location line="+48"/>
        <location filename="../src/x86/_ModifyDigitalMatrixServerDlg.cpp" line="+62"/>
        <location line="+71"/>
        <source>Add DigitalMatrix Server</source>
        <translation>添加数字矩阵服务器</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>IPAddress:</source>
        <translation>IP地址：</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Type:</source>
        <translation>类型：</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>TQ5100-12HD</source>
        <translation>TQ5100-12HD</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>TQ5100-4HD</source>
        <translation>TQ5100-4HD</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Port:</source>
        <translation>端口：</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>User:</source>
        <translation>用户名：</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../src/x86/_ModifyDigitalMatrixServerDlg.cpp" line="-57"/>
        <location line="+58"/>
        <source>Edit DigitalMatrix Server</source>
        <translation>编辑数字矩阵服务器</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::private_impl::LumoTableHeader</name>
    <message>
        <location filename="../src/widgets/LumoTableHeader.cpp" line="+23"/>
        <location line="+83"/>
        <source>All</source>
        <translation>全部</translation>
    </message>
</context>
<context>
    <name>LUMO_DIGITALMATRIX_MODULE::setMatrixScreen</name>
    <message>
        <location filename="../forms/setMatrixScreen.ui" line="+20"/>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Matrix Setting</source>
        <translation>矩阵设置</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>The Number of Screen:</source>
        <translation>屏幕数量：</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Row Number:</source>
        <translation>行数：</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Column Number:</source>
        <translation>列数：</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../src/x86/setMatrixScreen.cpp" line="+77"/>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Please input correct value!</source>
        <translation>请输入正确的数值！</translation>
    </message>
</context>
</TS>
