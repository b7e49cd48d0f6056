#include "sim/FirmwareCatalogue.h"

#include "sim/ModuleTable.h"

#include <QStringList>

namespace {
struct Notes
{
    const char *chinese;
    const char *english;
};

// Three or four items a module, one a line.
const Notes kNotes[ModuleTable::kCount] = {
    {"1. 优化悬停定高精度\n2. 修复低电压返航偶发不触发的问题\n3. 提高喷洒航线拐弯平顺性\n4. 新增黑匣子记录雷达高度",
     "1. Improved height hold accuracy in hover\n2. Fixed low-voltage return occasionally not triggering\n3. Smoother turns between spray passes\n4. Black box now records the radar height"},
    {"1. 优化加速度计温度补偿\n2. 降低振动环境下的姿态漂移\n3. 修复上电自检偶发超时",
     "1. Better accelerometer temperature compensation\n2. Less attitude drift under vibration\n3. Fixed an occasional power-on self-test timeout"},
    {"1. 提高卫星搜星速度\n2. 优化磁罗盘干扰检测\n3. 修复定位数据偶发跳变",
     "1. Faster satellite acquisition\n2. Improved compass interference detection\n3. Fixed occasional jumps in the position"},
    {"1. 优化液位检测滤波\n2. 新增空箱提示\n3. 修复药箱余量显示不准的问题",
     "1. Better liquid-level filtering\n2. New empty-tank warning\n3. Fixed an inaccurate tank level reading"},
    {"1. 优化图传叠加字体\n2. 新增电池电压显示\n3. 修复画面闪烁",
     "1. Clearer on-screen display font\n2. Pack voltage now shown\n3. Fixed flickering"},
    {"1. 提高数传链路抗干扰能力\n2. 优化断线重连速度\n3. 修复丢包统计错误",
     "1. More robust data link under interference\n2. Faster reconnection after a drop\n3. Fixed the packet loss statistics"},
    {"1. 优化电源电压采样精度\n2. 新增过流保护记录\n3. 修复待机功耗偏高的问题",
     "1. More accurate power voltage sampling\n2. Over-current events are now recorded\n3. Fixed high standby consumption"},
    {"1. 支持外置IMU冗余切换\n2. 优化数据同步时序\n3. 修复初始化失败的问题",
     "1. Redundant switch-over to the external IMU\n2. Better data synchronisation timing\n3. Fixed an initialisation failure"},
    {"1. 提高RTK固定解速度\n2. 优化基站数据转发\n3. 修复双天线航向偶发错误",
     "1. Faster RTK fix\n2. Better forwarding of base-station data\n3. Fixed an occasional dual-antenna heading error"},
    {"1. 优化喷头流量控制\n2. 新增离心喷头转速反馈\n3. 修复流量计校准丢失的问题",
     "1. Better nozzle flow control\n2. Rotary nozzle speed feedback\n3. Fixed a lost flow-meter calibration"},
};

QString releaseDate(int module)
{
    return QStringLiteral("2024-%1-%2 10:%3:00")
        .arg(3 + module % 3, 2, 10, QLatin1Char('0'))
        .arg(5 + 2 * module, 2, 10, QLatin1Char('0'))
        .arg(10 + module, 2, 10, QLatin1Char('0'));
}
} // namespace

QString FirmwareCatalogue::releaseNote(int module)
{
    return QString::fromUtf8(kNotes[qBound(0, module, ModuleTable::kCount - 1)].chinese);
}

QString FirmwareCatalogue::englishReleaseNote(int module)
{
    return QString::fromUtf8(kNotes[qBound(0, module, ModuleTable::kCount - 1)].english);
}

QString FirmwareCatalogue::imageFileName(int module)
{
    return QStringLiteral("%1-%2.bin").arg(QLatin1String(ModuleTable::module(module).name),
                                           ModuleTable::offeredVersion(module));
}

QString FirmwareCatalogue::imagePath(int module)
{
    return QStringLiteral("/files/") + imageFileName(module);
}

int FirmwareCatalogue::moduleOfFileName(const QString &fileName)
{
    for (int i = 0; i < ModuleTable::kCount; ++i) {
        if (fileName == imageFileName(i))
            return i;
    }
    return -1;
}

QJsonObject FirmwareCatalogue::document(const QString &baseUrl)
{
    QJsonObject catalogue;
    for (int i = 0; i < ModuleTable::kCount; ++i) {
        QJsonObject entry;
        entry.insert(QStringLiteral("version"), ModuleTable::offeredVersion(i));
        entry.insert(QStringLiteral("releaseNote"), releaseNote(i));
        entry.insert(QStringLiteral("eng_releaseNote"), englishReleaseNote(i));
        entry.insert(QStringLiteral("releaseDate"), releaseDate(i));
        entry.insert(QStringLiteral("url"), baseUrl + imagePath(i));
        catalogue.insert(QLatin1String(ModuleTable::module(i).name), entry);
    }
    return catalogue;
}
