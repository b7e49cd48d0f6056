<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>FirmwareTransfer</name>
    <message>
        <source>未知的模块，无法更新</source>
        <translation>Unknown module; cannot update</translation>
    </message>
    <message>
        <source>%1的固件版本未知，无法更新</source>
        <translation>The firmware version of %1 is unknown; cannot update</translation>
    </message>
    <message>
        <source>%1的固件文件无法读取，无法更新</source>
        <translation>The firmware file of %1 cannot be read; cannot update</translation>
    </message>
    <message>
        <source>%1的固件文件过大，无法更新</source>
        <translation>The firmware file of %1 is too large; cannot update</translation>
    </message>
    <message>
        <source>%1的固件文件为空或不完整，无法更新</source>
        <translation>The firmware file of %1 is empty or incomplete; cannot update</translation>
    </message>
</context>
<context>
    <name>FlightCharts</name>
    <message>
        <source>时间（秒）</source>
        <translation>Time (s)</translation>
    </message>
    <message>
        <source>向东（米）</source>
        <translation>East (m)</translation>
    </message>
    <message>
        <source>向北（米）</source>
        <translation>North (m)</translation>
    </message>
    <message>
        <source>航迹</source>
        <translation>Ground track</translation>
    </message>
    <message>
        <source>起点</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>电池电压</source>
        <translation>Pack voltage</translation>
    </message>
    <message>
        <source>姿态</source>
        <translation>Attitude</translation>
    </message>
    <message>
        <source>药泵与油门</source>
        <translation>Pump and throttle</translation>
    </message>
    <message>
        <source>米</source>
        <translation>m</translation>
    </message>
    <message>
        <source>米/秒</source>
        <translation>m/s</translation>
    </message>
    <message>
        <source>水平速度</source>
        <translation>Ground speed</translation>
    </message>
    <message>
        <source>垂直速度</source>
        <translation>Vertical speed</translation>
    </message>
    <message>
        <source>伏</source>
        <translation>V</translation>
    </message>
    <message>
        <source>度</source>
        <translation>Degrees</translation>
    </message>
    <message>
        <source>横滚</source>
        <translation>Roll</translation>
    </message>
    <message>
        <source>俯仰</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>航向（右轴）</source>
        <translation>Heading (right axis)</translation>
    </message>
    <message>
        <source>航向（度）</source>
        <translation>Heading (degrees)</translation>
    </message>
    <message>
        <source>油门</source>
        <translation>Throttle</translation>
    </message>
    <message>
        <source>喷洒开关（CH6）</source>
        <translation>Spray switch (CH6)</translation>
    </message>
</context>
<context>
    <name>FlightLog</name>
    <message>
        <source>无法打开文件：%1</source>
        <translation>Cannot open the file: %1</translation>
    </message>
    <message>
        <source>这不是导出的黑匣子数据文件。</source>
        <translation>This is not an exported black-box file.</translation>
    </message>
</context>
<context>
    <name>FlightPlotWindow</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>飞行曲线</source>
        <translation>Flight plots</translation>
    </message>
    <message>
        <source>没有打开文件</source>
        <translation>No file open</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message numerus="yes">
        <source>%n 个样本</source>
        <translation>
            <numerusform>%n sample</numerusform>
            <numerusform>%n samples</numerusform>
        </translation>
    </message>
    <message>
        <source>，时长 %1 秒</source>
        <translation>, %1 s long</translation>
    </message>
    <message numerus="yes">
        <source>，跳过 %n 行无法读取的数据</source>
        <translation>
            <numerusform>, %n unreadable line skipped</numerusform>
            <numerusform>, %n unreadable lines skipped</numerusform>
        </translation>
    </message>
    <message>
        <source>，文件过长，只显示前 %1 个样本</source>
        <translation>; the file is too long, only the first %1 samples are shown</translation>
    </message>
    <message>
        <source>图表</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>打开文件(&amp;O)…</source>
        <extracomment>Buttons of the flight-plot window; &amp; marks the Alt key letter.</extracomment>
        <translation>&amp;Open file…</translation>
    </message>
    <message>
        <source>打开导出的黑匣子文件</source>
        <translation>Open an exported black-box file</translation>
    </message>
    <message>
        <source>保存此图为 PNG(&amp;S)…</source>
        <translation>&amp;Save chart as PNG…</translation>
    </message>
    <message>
        <source>把当前图表保存为 PNG 图片</source>
        <translation>Save the chart shown as a PNG picture</translation>
    </message>
    <message>
        <source>全部保存为 PNG(&amp;A)…</source>
        <translation>Save &amp;all as PNG…</translation>
    </message>
    <message>
        <source>把全部图表保存为 PNG 图片到文件夹</source>
        <translation>Save every chart as a PNG picture into a folder</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>%1曲线</source>
        <translation>%1 chart</translation>
    </message>
    <message>
        <source>无法保存图片 %1：%2</source>
        <translation>Cannot save the picture %1: %2</translation>
    </message>
    <message>
        <source>黑匣子数据 (*.xls);;所有文件 (*)</source>
        <translation>Black-box data (*.xls);;All files (*)</translation>
    </message>
    <message>
        <source>保存为 PNG</source>
        <translation>Save as PNG</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG pictures (*.png)</translation>
    </message>
    <message>
        <source>选择保存图片的文件夹</source>
        <translation>Choose the folder for the pictures</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message numerus="yes">
        <source>已保存 %n 张图片到 %1</source>
        <translation>
            <numerusform>%n picture saved in %1</numerusform>
            <numerusform>%n pictures saved in %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>没有找到帮助页面 %1。请重新安装本程序。</source>
        <translation>The help page %1 was not found. Please reinstall the program.</translation>
    </message>
</context>
<context>
    <name>ImportPreview</name>
    <message>
        <source>机型</source>
        <translation>Frame type</translation>
    </message>
    <message>
        <source>接收机类型</source>
        <translation>Receiver type</translation>
    </message>
    <message>
        <source>通道反向</source>
        <translation>Channel reverse</translation>
    </message>
    <message>
        <source>飞机轴距</source>
        <translation>Wheelbase</translation>
    </message>
    <message>
        <source>稳定感度</source>
        <translation>Stability gain</translation>
    </message>
    <message>
        <source>姿态感度</source>
        <translation>Attitude gain</translation>
    </message>
    <message>
        <source>油门感度</source>
        <translation>Throttle gain</translation>
    </message>
    <message>
        <source>一级保护电压</source>
        <translation>Level 1 voltage</translation>
    </message>
    <message>
        <source>二级保护电压</source>
        <translation>Level 2 voltage</translation>
    </message>
    <message>
        <source>保护措施</source>
        <translation>Protection action</translation>
    </message>
    <message>
        <source>电机怠速</source>
        <translation>Motor idle</translation>
    </message>
    <message>
        <source>文件的%1（%2）与飞机的（%3）不同，这个文件可能是另一架飞机的。</source>
        <translation>%1 in the file (%2) differs from the aircraft&apos;s (%3): this file may be for another aircraft.</translation>
    </message>
    <message>
        <source>还没有从飞机读到%1，无法与文件的%2比较。</source>
        <translation>%1 has not been read from the aircraft yet: it cannot be compared with the file&apos;s %2.</translation>
    </message>
</context>
<context>
    <name>KivApplication</name>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>找到了飞机的串口 %1，但没有打开它的权限。

请安装本软件的 udev 规则（安装软件包时已装好），然后重新插拔飞机的 USB 线；或者把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），注销后重新登录。</source>
        <translation>The aircraft&apos;s serial port %1 was found, but you have no permission to open it.

Install this program&apos;s udev rule (the package installs it), then unplug the aircraft&apos;s USB cable and plug it in again; or add your user to the dialout group (sudo usermod -aG dialout $USER) and log out and in again.</translation>
    </message>
</context>
<context>
    <name>KivBlackBoxesProgress</name>
    <message>
        <source>正在导出数据.....请耐心等待</source>
        <translation>Exporting data... please wait</translation>
    </message>
    <message>
        <source>文件名：</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>关闭并停止导出</source>
        <translation>Close and stop the export</translation>
    </message>
    <message>
        <source>导出进度</source>
        <translation>Export progress</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>导出黑匣子数据</source>
        <translation>Export black-box data</translation>
    </message>
    <message>
        <source>（已完整，跳过）</source>
        <translation>(complete, skipped)</translation>
    </message>
    <message>
        <source>（从第 %1 块继续）</source>
        <translation>(continuing from chunk %1)</translation>
    </message>
</context>
<context>
    <name>KivGuiController</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>飞控没有回应，出厂设置可能没有恢复！</source>
        <translation>The flight controller did not answer: the factory settings may not have been restored!</translation>
    </message>
    <message>
        <source>、</source>
        <extracomment>Separator between the names of parameter groups in a message.</extracomment>
        <translation>, </translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>这些参数还没有从飞机读到，不能导出：%1。请稍候再试。</source>
        <translation>These parameters have not been read from the aircraft yet, so they cannot be exported: %1. Please try again in a moment.</translation>
    </message>
    <message>
        <source>写入文件失败</source>
        <translation>Failed to write the file</translation>
    </message>
    <message>
        <source>导出成功!</source>
        <translation>Export succeeded!</translation>
    </message>
    <message>
        <source>打开文件失败！</source>
        <translation>Failed to open the file!</translation>
    </message>
    <message>
        <source>读取文件错误！</source>
        <translation>Error reading the file!</translation>
    </message>
    <message>
        <source>导入成功!</source>
        <translation>Import succeeded!</translation>
    </message>
    <message>
        <source>导入未完成，飞机没有确认这些参数：%1</source>
        <translation>Import incomplete: the aircraft did not confirm these parameters: %1</translation>
    </message>
    <message>
        <source>机型</source>
        <translation>Frame type</translation>
    </message>
    <message>
        <source>接收机类型</source>
        <translation>Receiver type</translation>
    </message>
    <message>
        <source>遥控器通道反向</source>
        <translation>RC channel reverse</translation>
    </message>
    <message>
        <source>轴距</source>
        <translation>Wheelbase</translation>
    </message>
    <message>
        <source>感度</source>
        <translation>Gains</translation>
    </message>
    <message>
        <source>低压保护</source>
        <translation>Low-voltage protection</translation>
    </message>
    <message>
        <source>电机怠速</source>
        <translation>Motor idle</translation>
    </message>
    <message>
        <source>这些参数没有从飞机读到：%1</source>
        <translation>These parameters could not be read from the aircraft: %1</translation>
    </message>
    <message>
        <source>写入文件失败：%1</source>
        <translation>Failed to write the file: %1</translation>
    </message>
    <message>
        <source>参数备份失败。%1

不备份参数，继续吗？</source>
        <translation>The parameters could not be backed up. %1

Continue without a backup?</translation>
    </message>
    <message>
        <source>不备份，继续</source>
        <translation>Continue without backup</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>参数没有备份。</source>
        <translation>The parameters were not backed up.</translation>
    </message>
    <message>
        <source>原来的参数已备份到：%1</source>
        <translation>The previous parameters were backed up to: %1</translation>
    </message>
    <message>
        <source>（备份前先从飞机读取了：%1）</source>
        <translation>(Read from the aircraft before the backup: %1)</translation>
    </message>
</context>
<context>
    <name>KivMainWindow</name>
    <message>
        <source>R7 Assitant</source>
        <translation>R7 Assistant</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>工具</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>植保</source>
        <translation>Spraying</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>版本：</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>连接指示灯</source>
        <translation>Connection indicator</translation>
    </message>
    <message>
        <source>通信指示灯</source>
        <translation>Communication indicator</translation>
    </message>
    <message>
        <source>飞机连接状态</source>
        <translation>Aircraft connection status</translation>
    </message>
    <message>
        <source>服务器证书不可信，已拒绝连接</source>
        <translation>Untrusted server certificate: connection refused</translation>
    </message>
    <message>
        <source>固件服务器或软件更新服务器的证书没有通过检查：没有下载任何内容。</source>
        <translation>The certificate of the firmware or software-update server failed the check: nothing was downloaded.</translation>
    </message>
</context>
<context>
    <name>KivSettingWgt</name>
    <message>
        <source>机型</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>遥控器</source>
        <translation>Remote</translation>
    </message>
    <message>
        <source>感度</source>
        <translation>Gains</translation>
    </message>
    <message>
        <source>电池</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>返航高度</source>
        <translation>Return height</translation>
    </message>
    <message>
        <source>GPS位置</source>
        <translation>GPS position</translation>
    </message>
    <message>
        <source>飞机上的值是 %1，超出这里的范围 %2～%3：框中的值还不是飞机上的值。</source>
        <extracomment>Tool tip of a box whose value from the aircraft lies outside what the box can show.</extracomment>
        <translation>The aircraft has %1, outside %2 to %3 here: the value in the box is not the aircraft&apos;s.</translation>
    </message>
    <message>
        <source>请输入0~60之间的值，并按回车键确认。</source>
        <extracomment>Tool tip of the three voltage boxes of the battery sub-page.</extracomment>
        <translation>Enter a value between 0 and 60 and press Enter to confirm.</translation>
    </message>
    <message>
        <source>保护开关</source>
        <translation>Protection</translation>
    </message>
    <message>
        <source>电压校准</source>
        <translation>Voltage calibration</translation>
    </message>
    <message>
        <source>校准</source>
        <translation>Calibrate</translation>
    </message>
    <message>
        <source>当前电压：</source>
        <translation>Now:</translation>
    </message>
    <message>
        <source>当前电压</source>
        <translation>Current pack voltage</translation>
    </message>
    <message>
        <source>电压保护</source>
        <translation>Voltage protection</translation>
    </message>
    <message>
        <source>一级保护</source>
        <translation>Level 1</translation>
    </message>
    <message>
        <source>二级保护</source>
        <translation>Level 2</translation>
    </message>
    <message>
        <source>保护措施：</source>
        <translation>Action:</translation>
    </message>
    <message>
        <source>保护电压：</source>
        <translation>Voltage:</translation>
    </message>
    <message>
        <source>返航</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>着陆</source>
        <translation>Landing</translation>
    </message>
    <message>
        <source>一级保护措施</source>
        <translation>Level-1 action</translation>
    </message>
    <message>
        <source>一级保护电压</source>
        <translation>Level-1 voltage</translation>
    </message>
    <message>
        <source>二级保护电压</source>
        <translation>Level-2 voltage</translation>
    </message>
    <message>
        <source>报警</source>
        <extracomment>Level-1 and level-2 protection actions: 报警 alarm, 返航 return home, 着陆 land.</extracomment>
        <translation>Warning</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>电压设置有误，一级要高于二级!</source>
        <translation>The voltages are wrong: level 1 must be higher than level 2!</translation>
    </message>
    <message>
        <source>四旋翼 I</source>
        <translation>Quad I</translation>
    </message>
    <message>
        <source>四旋翼 X</source>
        <translation>Quad X</translation>
    </message>
    <message>
        <source>六旋翼 Y</source>
        <translation>Hexa Y</translation>
    </message>
    <message>
        <source>六旋翼 IY</source>
        <translation>Hexa IY</translation>
    </message>
    <message>
        <source>六旋翼 I</source>
        <translation>Hexa I</translation>
    </message>
    <message>
        <source>六旋翼 V</source>
        <translation>Hexa V</translation>
    </message>
    <message>
        <source>八旋翼 I</source>
        <translation>Octo I</translation>
    </message>
    <message>
        <source>八旋翼 V</source>
        <translation>Octo V</translation>
    </message>
    <message>
        <source>八旋翼 X</source>
        <translation>Octo X</translation>
    </message>
    <message>
        <source>异型 X</source>
        <translation>Allotype X</translation>
    </message>
    <message>
        <source>异型 I</source>
        <translation>Allotype I</translation>
    </message>
    <message>
        <source>姿态感度</source>
        <translation>Attitude gain</translation>
    </message>
    <message>
        <source>稳定感度</source>
        <translation>Stability gain</translation>
    </message>
    <message>
        <source>油门感度</source>
        <translation>Throttle gain</translation>
    </message>
    <message>
        <source>飞机轴距</source>
        <translation>Wheelbase</translation>
    </message>
    <message>
        <source>感度微调</source>
        <translation>Gain fine-tuning</translation>
    </message>
    <message>
        <source>飞机轴距 %1</source>
        <translation>Wheelbase %1</translation>
    </message>
    <message>
        <source>返航高度示意图</source>
        <translation>Picture: return height</translation>
    </message>
    <message>
        <source>返航高度：</source>
        <translation>Return height:</translation>
    </message>
    <message>
        <source>米</source>
        <extracomment>Unit suffix of the return height (metres), shown after the number.</extracomment>
        <translation> m</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>GPS天线位置示意图</source>
        <translation>Picture: GPS antenna position</translation>
    </message>
    <message>
        <source>绿色区域请填写负数</source>
        <translation>Enter negative values in the green area</translation>
    </message>
    <message>
        <source>蓝色区域请填写正数</source>
        <translation>Enter positive values in the blue area</translation>
    </message>
    <message>
        <source>X轴：</source>
        <translation>X axis:</translation>
    </message>
    <message>
        <source>Y轴</source>
        <translation>Y axis:</translation>
    </message>
    <message>
        <source>GPS天线 X轴位置</source>
        <translation>GPS antenna X offset</translation>
    </message>
    <message>
        <source>GPS天线 Y轴位置</source>
        <translation>GPS antenna Y offset</translation>
    </message>
    <message>
        <source>厘米</source>
        <extracomment>Unit suffix of the GPS antenna offsets (centimetres), shown after the number.</extracomment>
        <translation> cm</translation>
    </message>
    <message>
        <source>滚转</source>
        <translation>Roll</translation>
    </message>
    <message>
        <source>俯仰</source>
        <translation>Pitch</translation>
    </message>
    <message>
        <source>油门</source>
        <translation>Throttle</translation>
    </message>
    <message>
        <source>偏航</source>
        <translation>Yaw</translation>
    </message>
    <message>
        <source>%1 反向</source>
        <extracomment>Accessible name of a channel&apos;s REV button; %1 is the channel (roll, CH5, ...).</extracomment>
        <translation>Reverse %1</translation>
    </message>
    <message>
        <source>接收机类型</source>
        <translation>Receiver type</translation>
    </message>
    <message>
        <source>遥控器校准</source>
        <translation>RC calibration</translation>
    </message>
    <message>
        <source>接收机类型 %1</source>
        <translation>Receiver type %1</translation>
    </message>
    <message>
        <source>停止校准</source>
        <translation>Stop calibration</translation>
    </message>
    <message>
        <source>开始校准</source>
        <translation>Start calibration</translation>
    </message>
</context>
<context>
    <name>KivSliderLarger</name>
    <message>
        <source>姿态</source>
        <translation>Attitude</translation>
    </message>
    <message>
        <source>失控</source>
        <translation>Failsafe</translation>
    </message>
    <message>
        <source>作业模式</source>
        <translation>Work mode</translation>
    </message>
    <message>
        <source>GPS</source>
        <translation>GPS</translation>
    </message>
</context>
<context>
    <name>KivSliderReturn</name>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
</context>
<context>
    <name>KivSwitch</name>
    <message>
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
</context>
<context>
    <name>KivToolsWgt</name>
    <message>
        <source>电机</source>
        <translation>Motors</translation>
    </message>
    <message>
        <source>硬件自检</source>
        <translation>Hardware check</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>IMU数据</source>
        <translation>IMU data</translation>
    </message>
    <message>
        <source>计时器</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>打开目录</source>
        <translation>Open folder</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>%1（缺少 %2 个数据块）</source>
        <translation>%1 (%2 chunks missing)</translation>
    </message>
    <message>
        <source>滚转角</source>
        <translation>Roll angle</translation>
    </message>
    <message>
        <source>俯仰角</source>
        <translation>Pitch angle</translation>
    </message>
    <message>
        <source>加速度X轴</source>
        <translation>Acceleration X</translation>
    </message>
    <message>
        <source>加速度Y轴</source>
        <translation>Acceleration Y</translation>
    </message>
    <message>
        <source>加速度Z轴</source>
        <translation>Acceleration Z</translation>
    </message>
    <message>
        <source>内置</source>
        <translation>Built-in</translation>
    </message>
    <message>
        <source>外置</source>
        <translation>External</translation>
    </message>
    <message>
        <source>低速</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>推荐</source>
        <translation>Recommended</translation>
    </message>
    <message>
        <source>高速</source>
        <translation>High</translation>
    </message>
    <message>
        <source>马达怠速速度：</source>
        <translation>Motor idle speed:</translation>
    </message>
    <message>
        <source>马达怠速 %1/5</source>
        <extracomment>Screen-reader name of idle radio n of 5; the scale runs from low (1) to high (5).</extracomment>
        <translation>Motor idle %1/5</translation>
    </message>
    <message>
        <source>电机测试</source>
        <translation>Motor test</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>以下文件的数据不完整：
%1</source>
        <translation>These files are incomplete:
%1</translation>
    </message>
    <message>
        <source>请确认您的螺旋桨已卸下</source>
        <translation>Please confirm that the propellers are removed</translation>
    </message>
    <message>
        <source>已确认</source>
        <translation>Confirmed</translation>
    </message>
    <message>
        <source>还未卸下</source>
        <translation>Not removed yet</translation>
    </message>
    <message>
        <source>恢复出厂设置</source>
        <translation>Restore factory settings</translation>
    </message>
    <message>
        <source>导出黑匣子数据</source>
        <translation>Export black-box data</translation>
    </message>
    <message>
        <source>导入参数</source>
        <translation>Import parameters</translation>
    </message>
    <message>
        <source>导出参数</source>
        <translation>Export parameters</translation>
    </message>
    <message>
        <source>确定将飞控恢复出厂设置？</source>
        <translation>Restore the flight controller to its factory settings?</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>气压计</source>
        <translation>Barometer</translation>
    </message>
    <message>
        <source>IMU</source>
        <translation>IMU</translation>
    </message>
    <message>
        <source>GPS</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>磁罗盘</source>
        <translation>Compass</translation>
    </message>
    <message>
        <source>接收机</source>
        <translation>Receiver</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>异常</source>
        <translation>Abnormal</translation>
    </message>
    <message>
        <source>外置IMU</source>
        <translation>External IMU</translation>
    </message>
    <message>
        <source>备份GPS</source>
        <translation>Backup GPS</translation>
    </message>
    <message>
        <source>%1：正常</source>
        <extracomment>Screen-reader names of a self-check row&apos;s two boxes: the unit, then the state.</extracomment>
        <translation>%1: normal</translation>
    </message>
    <message>
        <source>%1：异常</source>
        <translation>%1: abnormal</translation>
    </message>
    <message>
        <source>累计通电时间</source>
        <translation>Total power-on time</translation>
    </message>
    <message>
        <source>累计飞行时间</source>
        <translation>Total flight time</translation>
    </message>
    <message>
        <source>距离下次保养时间</source>
        <translation>Time to next service</translation>
    </message>
    <message>
        <source>保养周期</source>
        <translation>Service cycle</translation>
    </message>
    <message>
        <source>分钟</source>
        <translation>min</translation>
    </message>
    <message>
        <source>%1（分钟）</source>
        <extracomment>Screen-reader name of a maintenance field: its caption and unit.</extracomment>
        <translation>%1 (minutes)</translation>
    </message>
    <message>
        <source>保养提示</source>
        <translation>Service reminder</translation>
    </message>
    <message>
        <source>重置</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>保养完成，重置计时</source>
        <translation>Service done: reset the countdown</translation>
    </message>
    <message>
        <source>飞机上的保养周期是 %1 分钟，超出这里的范围 %2～%3：框中的值还不是飞机上的值。</source>
        <extracomment>Tool tip of the service-cycle box when the aircraft&apos;s cycle lies outside 100..6000.</extracomment>
        <translation>The aircraft&apos;s service cycle is %1 minutes, outside the range %2 to %3 here: the box does not show the aircraft&apos;s value.</translation>
    </message>
    <message>
        <source>请输入100~6000之间的值，并按回车键确认。</source>
        <translation>Enter a value from 100 to 6000 and press Enter.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>所选目录中已有导出的黑匣子文件。
完整的文件将被跳过，中断的记录从断点继续下载。

是否重新下载已完整的文件？</source>
        <translation>The chosen folder already holds exported black-box files.
Complete files will be skipped; interrupted records continue where they stopped.

Download the complete files again?</translation>
    </message>
    <message>
        <source>重新下载</source>
        <translation>Download again</translation>
    </message>
    <message>
        <source>跳过已有文件</source>
        <translation>Skip existing files</translation>
    </message>
    <message numerus="yes">
        <source>已导出 %n 个文件到 %1。</source>
        <translation>
            <numerusform>%n file exported to %1.</numerusform>
            <numerusform>%n files exported to %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>查看飞行曲线</source>
        <translation>View flight plots</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>打开导出的黑匣子文件</source>
        <translation>Open an exported black-box file</translation>
    </message>
    <message>
        <source>黑匣子数据 (*.xls);;所有文件 (*)</source>
        <translation>Black-box data (*.xls);;All files (*)</translation>
    </message>
    <message>
        <source>电机测试中，按 Esc 停止</source>
        <translation>Motor test running: press Esc to stop</translation>
    </message>
    <message>
        <source>电机测试已停止</source>
        <translation>Motor test stopped</translation>
    </message>
    <message>
        <source>打开导出的黑匣子文件，查看飞行曲线</source>
        <translation>Open an exported black-box file and view its flight plots</translation>
    </message>
</context>
<context>
    <name>KivUpdateWgt</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>确认将固件升级到%1</source>
        <translation>Upgrade the firmware to %1?</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1升级进度%2%</source>
        <translation>%1 upgrade progress %2%</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>固件更新完成!</source>
        <translation>Firmware update complete!</translation>
    </message>
    <message>
        <source>模块名称</source>
        <translation>Module</translation>
    </message>
    <message>
        <source>硬件ID</source>
        <translation>Hardware ID</translation>
    </message>
    <message>
        <source>固件版本</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>升级</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>无可用更新</source>
        <translation>No update</translation>
    </message>
    <message>
        <source>升级%1</source>
        <translation>Upgrade %1</translation>
    </message>
    <message>
        <source>固件更新说明</source>
        <translation>Firmware update notes</translation>
    </message>
</context>
<context>
    <name>LumActaPhytophySin</name>
    <message>
        <source>喷幅</source>
        <translation>Spray width</translation>
    </message>
    <message>
        <source>工作速度</source>
        <translation>Work speed</translation>
    </message>
    <message>
        <source>药泵校准</source>
        <translation>Pump calibration</translation>
    </message>
    <message>
        <source>传感开关</source>
        <translation>Sensor switches</translation>
    </message>
    <message>
        <source>药泵校准示意图</source>
        <translation>Pump calibration picture</translation>
    </message>
    <message>
        <source>打开开关后药泵按设定转速运转（会喷出药液）。同一时间只运行一路；按 Esc 立即停止。</source>
        <translation>Switched on, the pump runs at the set speed (liquid comes out). One row runs at a time; Esc stops it at once.</translation>
    </message>
    <message>
        <source>工作喷速</source>
        <translation>Working spray speed</translation>
    </message>
    <message>
        <source>最小喷速</source>
        <translation>Minimum spray speed</translation>
    </message>
    <message>
        <source>工作喷速药泵开关</source>
        <translation>Working spray speed pump switch</translation>
    </message>
    <message>
        <source>最小喷速药泵开关</source>
        <translation>Minimum spray speed pump switch</translation>
    </message>
    <message>
        <source>药泵运行中，按 Esc 停止</source>
        <translation>Pump running: press Esc to stop</translation>
    </message>
    <message>
        <source>传感器示意图</source>
        <translation>Sensors picture</translation>
    </message>
    <message>
        <source>辅助定高雷达开关</source>
        <translation>Altitude radar switch</translation>
    </message>
    <message>
        <source>当前探测高度</source>
        <translation>Current detected height</translation>
    </message>
    <message>
        <source>米</source>
        <extracomment>Unit of the radar&apos;s measured height (metres).
----------
Unit suffix of the spray width (metres), shown after the number.</extracomment>
        <translation> m</translation>
    </message>
    <message>
        <source>液位传感器开关</source>
        <translation>Liquid-level sensor switch</translation>
    </message>
    <message>
        <source>当前探测高度：无数据</source>
        <translation>Current detected height: no reading</translation>
    </message>
    <message>
        <source>当前探测高度：%1 米</source>
        <translation>Current detected height: %1 m</translation>
    </message>
    <message>
        <source>喷幅示意图</source>
        <translation>Spray width picture</translation>
    </message>
    <message>
        <source>相邻两条航线之间的距离，1～15 米。</source>
        <translation>Distance between two neighbouring passes, 1 to 15 m.</translation>
    </message>
    <message>
        <source>喷幅：</source>
        <translation>Spray width:</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>设置喷幅</source>
        <translation>Set spray width</translation>
    </message>
    <message>
        <source>工作速度示意图</source>
        <translation>Work speed picture</translation>
    </message>
    <message>
        <source>自主作业时沿航线飞行的速度，2～20 米/秒。</source>
        <translation>Speed along the passes in automatic work, 2 to 20 m/s.</translation>
    </message>
    <message>
        <source>工作速度：</source>
        <translation>Work speed:</translation>
    </message>
    <message>
        <source>米/秒</source>
        <extracomment>Unit suffix of the work speed (metres per second), shown after the number.</extracomment>
        <translation> m/s</translation>
    </message>
    <message>
        <source>设置工作速度</source>
        <translation>Set work speed</translation>
    </message>
    <message>
        <source>流量计算…</source>
        <translation>Flow helper…</translation>
    </message>
    <message>
        <source>喷洒流量计算</source>
        <translation>Spray-rate helper</translation>
    </message>
</context>
<context>
    <name>LumBlackBoxesData</name>
    <message>
        <source>无法写入文件 %1：%2</source>
        <extracomment>Shared with the export&apos;s own writer: the same text for any file of the export.</extracomment>
        <translation>Cannot write the file %1: %2</translation>
    </message>
</context>
<context>
    <name>LumSliderReturn</name>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
</context>
<context>
    <name>SerialLink</name>
    <message>
        <source>系统准备复位!</source>
        <translation>System is about to reset!</translation>
    </message>
    <message>
        <source>程序更新请求成功!</source>
        <translation>Firmware update request succeeded!</translation>
    </message>
    <message>
        <source>程序更新部件设置成功!</source>
        <translation>Update target set successfully!</translation>
    </message>
    <message>
        <source>If the motor does not start, please start the motor and push the throttle to the middle point!</source>
        <translation>If the motors do not start, start them and push the throttle to the middle!</translation>
    </message>
    <message>
        <source>Please make sure the UAV has taken off and under GPS mode.</source>
        <translation>Make sure the UAV has taken off and is in GPS mode.</translation>
    </message>
    <message>
        <source>Please reupload the target point!</source>
        <translation>Please upload the target point again!</translation>
    </message>
    <message>
        <source>Model setup successfully！</source>
        <translation>Frame type set successfully!</translation>
    </message>
    <message>
        <source>Model setup failed！</source>
        <translation>Failed to set frame type!</translation>
    </message>
    <message>
        <source>Failed to download model!</source>
        <translation>Failed to download frame type!</translation>
    </message>
    <message>
        <source>Model information download success!</source>
        <translation>Frame type downloaded successfully!</translation>
    </message>
    <message>
        <source>GPS setup successfully！</source>
        <translation>GPS set up successfully!</translation>
    </message>
    <message>
        <source>Download GPS Setup parameter success！</source>
        <translation>GPS settings downloaded successfully!</translation>
    </message>
    <message>
        <source>Receiver type setting success！</source>
        <translation>Receiver type set successfully!</translation>
    </message>
    <message>
        <source>Receiver type download success!</source>
        <translation>Receiver type downloaded successfully!</translation>
    </message>
    <message>
        <source>指令已接收！</source>
        <translation>Command received!</translation>
    </message>
    <message>
        <source>指令有误！</source>
        <translation>Invalid command!</translation>
    </message>
    <message>
        <source>遥控器通道正反向已设置</source>
        <translation>Remote channel reversing set</translation>
    </message>
    <message>
        <source>遥控器通道正反向设置信息下载成功</source>
        <translation>Remote channel reversing downloaded successfully</translation>
    </message>
    <message>
        <source>开始校准电调！</source>
        <translation>ESC calibration started!</translation>
    </message>
    <message>
        <source>单个电调校准完毕！</source>
        <translation>One ESC calibrated!</translation>
    </message>
    <message>
        <source>所有电调校准完毕！</source>
        <translation>All ESCs calibrated!</translation>
    </message>
    <message>
        <source>指令未执行！！！</source>
        <translation>Command not executed!!!</translation>
    </message>
    <message>
        <source>电机怠速设置成功！</source>
        <translation>Motor idle speed set successfully!</translation>
    </message>
    <message>
        <source>电机怠速值下载成功</source>
        <translation>Motor idle speed downloaded successfully</translation>
    </message>
    <message>
        <source>飞机轴距设置成功！</source>
        <translation>Wheelbase set successfully!</translation>
    </message>
    <message>
        <source>下载飞机轴距参数成功</source>
        <translation>Wheelbase downloaded successfully</translation>
    </message>
    <message>
        <source>电压校准成功！</source>
        <translation>Voltage calibrated successfully!</translation>
    </message>
    <message>
        <source>电压校准失败！</source>
        <translation>Voltage calibration failed!</translation>
    </message>
    <message>
        <source>低压保护设置成功！</source>
        <translation>Low-voltage protection set successfully!</translation>
    </message>
    <message>
        <source>低压保护参数下载成功！</source>
        <translation>Low-voltage protection downloaded successfully!</translation>
    </message>
    <message>
        <source>失控保护参数设置成功！</source>
        <translation>Failsafe parameters set successfully!</translation>
    </message>
    <message>
        <source>失控保护参数设置失败！</source>
        <translation>Failed to set failsafe parameters!</translation>
    </message>
    <message>
        <source>失控保护参数下载失败</source>
        <translation>Failed to download failsafe parameters</translation>
    </message>
    <message>
        <source>失控保护参数下载成功</source>
        <translation>Failsafe parameters downloaded successfully</translation>
    </message>
    <message>
        <source>指令已接收</source>
        <translation>Command received</translation>
    </message>
    <message>
        <source>校准失败</source>
        <translation>Calibration failed</translation>
    </message>
    <message>
        <source>指令接收错误</source>
        <translation>Command not received correctly</translation>
    </message>
    <message>
        <source>恢复出厂设置成功！</source>
        <translation>Factory reset successful!</translation>
    </message>
    <message>
        <source>恢复出厂设置失败！</source>
        <translation>Factory reset failed!</translation>
    </message>
    <message>
        <source>Attitude</source>
        <translation>Attitude</translation>
    </message>
    <message>
        <source>M</source>
        <translation>M</translation>
    </message>
    <message>
        <source>Hover</source>
        <translation>Hover</translation>
    </message>
    <message>
        <source>UAV is hovering</source>
        <translation>The UAV is hovering</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>The number of circles passed is</source>
        <translation>Circles completed:</translation>
    </message>
    <message>
        <source>Guided</source>
        <translation>Guided</translation>
    </message>
    <message>
        <source>UAV is flying to the target point</source>
        <translation>The UAV is flying to the target point</translation>
    </message>
    <message>
        <source>UAV has reached the target point already</source>
        <translation>The UAV has reached the target point</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>The number of destination waypoint is</source>
        <translation>Next waypoint:</translation>
    </message>
    <message>
        <source>UAV is ready to return</source>
        <translation>The UAV is ready to return home</translation>
    </message>
    <message>
        <source>UAV is climbing to the returning height</source>
        <translation>The UAV is climbing to return height</translation>
    </message>
    <message>
        <source>UAV is returning to point above home</source>
        <translation>The UAV is returning above the home point</translation>
    </message>
    <message>
        <source>UAV is hovering above the home point</source>
        <translation>The UAV is hovering above the home point</translation>
    </message>
    <message>
        <source>UAV is going to down</source>
        <translation>The UAV is descending</translation>
    </message>
    <message>
        <source>UAV is going to land</source>
        <translation>The UAV is landing</translation>
    </message>
    <message>
        <source>RTL</source>
        <translation>RTL</translation>
    </message>
    <message>
        <source>TakeOff</source>
        <translation>Takeoff</translation>
    </message>
    <message>
        <source>UAV is taking off</source>
        <translation>The UAV is taking off</translation>
    </message>
    <message>
        <source>UAV has reached a predetermined height</source>
        <translation>The UAV has reached the preset height</translation>
    </message>
    <message>
        <source>UAV is flighting to the land point</source>
        <translation>The UAV is flying to the landing point</translation>
    </message>
    <message>
        <source>UAV is hovering above the land point</source>
        <translation>The UAV is hovering above the landing point</translation>
    </message>
    <message>
        <source>Land</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>GPS</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>hover</source>
        <translation>Hovering</translation>
    </message>
</context>
<context>
    <name>SprayRateDialog</name>
    <message>
        <source>喷洒流量计算</source>
        <translation>Spray-rate helper</translation>
    </message>
    <message>
        <source>所需流量</source>
        <translation>Required flow</translation>
    </message>
    <message>
        <source>药泵校准：计时试喷</source>
        <translation>Pump calibration: timed run</translation>
    </message>
    <message>
        <source>施药量</source>
        <translation>Application rate</translation>
    </message>
    <message>
        <source>喷幅</source>
        <translation>Spray width</translation>
    </message>
    <message>
        <source>工作速度</source>
        <translation>Work speed</translation>
    </message>
    <message>
        <source>试喷时的药泵百分比</source>
        <translation>Pump percentage of the run</translation>
    </message>
    <message>
        <source>试喷时间</source>
        <translation>Run time</translation>
    </message>
    <message>
        <source>量得的体积</source>
        <translation>Volume collected</translation>
    </message>
    <message>
        <source>RWSPTV</source>
        <extracomment>Keyboard letters of the six boxes (Alt + letter): rate, width, speed, percent, time, volume.</extracomment>
        <translation>RWSPTV</translation>
    </message>
    <message>
        <source> 升/公顷</source>
        <extracomment>Units after the numbers: litres per hectare, metres, metres per second, percent, seconds, litres.</extracomment>
        <translation> L/ha</translation>
    </message>
    <message>
        <source> 米</source>
        <translation> m</translation>
    </message>
    <message>
        <source> 米/秒</source>
        <translation> m/s</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source> 升</source>
        <translation> L</translation>
    </message>
    <message>
        <source>%1(&amp;%2)：</source>
        <extracomment>A box&apos;s caption: %1 its name, %2 its keyboard letter (Alt + letter).</extracomment>
        <translation>%1 (&amp;%2):</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>请输入大于 0 的数值</source>
        <translation>Enter numbers above 0</translation>
    </message>
    <message>
        <source>所需流量：%1 升/分钟</source>
        <translation>Required flow: %1 L/min</translation>
    </message>
    <message>
        <source>实测流量：%1 升/分钟</source>
        <translation>Measured flow: %1 L/min</translation>
    </message>
    <message>
        <source>试喷后输入时间和量得的体积</source>
        <translation>After a timed run, enter its time and the volume collected</translation>
    </message>
    <message>
        <source>应设药泵百分比：%1 %（超出药泵的 110 %，请降低速度或施药量）</source>
        <translation>Pump setting: %1 % (above the pump&apos;s 110 %: fly slower or lower the rate)</translation>
    </message>
    <message>
        <source>应设药泵百分比：%1 %</source>
        <translation>Pump setting: %1 %</translation>
    </message>
    <message>
        <source>应设药泵百分比：—</source>
        <translation>Pump setting: —</translation>
    </message>
</context>
<context>
    <name>StagedImportDialog</name>
    <message>
        <source>导入参数</source>
        <translation>Import parameters</translation>
    </message>
    <message>
        <source>发送前请核对文件中的参数。只发送勾选的组；底色标出的是导入会改变的参数。</source>
        <translation>Check the file&apos;s parameters before sending. Only checked groups are sent; highlighted rows are the settings the import changes.</translation>
    </message>
    <message>
        <source>警告：%1</source>
        <translation>Warning: %1</translation>
    </message>
    <message>
        <source>文件与飞机的参数对比</source>
        <translation>File and aircraft parameters</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>文件中的值</source>
        <translation>In the file</translation>
    </message>
    <message>
        <source>飞机当前的值</source>
        <translation>On the aircraft now</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>发送所选</source>
        <translation>Send selected</translation>
    </message>
    <message>
        <source>全部发送</source>
        <translation>Send all</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>（文件中没有）</source>
        <translation>(not in the file)</translation>
    </message>
    <message>
        <source>文件中没有这一项，这一组会发送程序中现有的值。</source>
        <translation>The file does not have this setting; the group sends the value the program holds.</translation>
    </message>
    <message>
        <source>还没有从飞机读到这个值。</source>
        <translation>This value has not been read from the aircraft yet.</translation>
    </message>
    <message>
        <source>会改变</source>
        <translation>will change</translation>
    </message>
    <message>
        <source>飞机的值未知</source>
        <translation>aircraft&apos;s value unknown</translation>
    </message>
    <message>
        <source>不变</source>
        <translation>unchanged</translation>
    </message>
    <message>
        <source>%1，文件：%2，飞机：%3，%4</source>
        <translation>%1, file: %2, aircraft: %3, %4</translation>
    </message>
    <message>
        <source>正在发送…</source>
        <translation>Sending…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>飞机已确认</source>
        <translation>Acknowledged by the aircraft</translation>
    </message>
    <message>
        <source>飞机没有确认</source>
        <translation>Not confirmed by the aircraft</translation>
    </message>
    <message>
        <source>没有发送</source>
        <translation>Not sent</translation>
    </message>
    <message>
        <source>%1组已确认，%2组没有确认。</source>
        <translation>%1 groups acknowledged, %2 not confirmed.</translation>
    </message>
</context>
<context>
    <name>UpdateHint</name>
    <message>
        <source>更新提示</source>
        <translation>Update available</translation>
    </message>
    <message>
        <source>软件有新版本可用，请及时更新！</source>
        <translation>A new version is available. Please update!</translation>
    </message>
    <message>
        <source>链接：</source>
        <translation>Link:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
