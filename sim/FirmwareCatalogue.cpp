#include "sim/FirmwareCatalogue.h"

#include "sim/ModuleTable.h"

#include <QStringList>

namespace {
struct Notes
{
    const char *chinese;
    const char *english;
};

// Three or four items a module, one a line; the program shows them as a numbered list.
const Notes kNotes[ModuleTable::kCount] = {
    {"优化悬停定高精度\n修复低电压返航偶发不触发的问题\n提高喷洒航线拐弯平顺性\n新增黑匣子记录雷达高度",
     "Improved height hold accuracy in hover\nFixed low-voltage return occasionally not triggering\nSmoother turns between spray passes\nBlack box now records the radar height"},
    {"优化加速度计温度补偿\n降低振动环境下的姿态漂移\n修复上电自检偶发超时",
     "Better accelerometer temperature compensation\nLess attitude drift under vibration\nFixed an occasional power-on self-test timeout"},
    {"提高卫星搜星速度\n优化磁罗盘干扰检测\n修复定位数据偶发跳变",
     "Faster satellite acquisition\nImproved compass interference detection\nFixed occasional jumps in the position"},
    {"优化液位检测滤波\n新增空箱提示\n修复药箱余量显示不准的问题",
     "Better liquid-level filtering\nNew empty-tank warning\nFixed an inaccurate tank level reading"},
    {"优化图传叠加字体\n新增电池电压显示\n修复画面闪烁",
     "Clearer on-screen display font\nPack voltage now shown\nFixed flickering"},
    {"提高数传链路抗干扰能力\n优化断线重连速度\n修复丢包统计错误",
     "More robust data link under interference\nFaster reconnection after a drop\nFixed the packet loss statistics"},
    {"优化电源电压采样精度\n新增过流保护记录\n修复待机功耗偏高的问题",
     "More accurate power voltage sampling\nOver-current events are now recorded\nFixed high standby consumption"},
    {"支持外置IMU冗余切换\n优化数据同步时序\n修复初始化失败的问题",
     "Redundant switch-over to the external IMU\nBetter data synchronisation timing\nFixed an initialisation failure"},
    {"提高RTK固定解速度\n优化基站数据转发\n修复双天线航向偶发错误",
     "Faster RTK fix\nBetter forwarding of base-station data\nFixed an occasional dual-antenna heading error"},
    {"优化喷头流量控制\n新增离心喷头转速反馈\n修复流量计校准丢失的问题",
     "Better nozzle flow control\nRotary nozzle speed feedback\nFixed a lost flow-meter calibration"},
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
