#include "app/ImportPreview.h"

#include "app/AircraftParams.h"
#include "app/ParameterFreshness.h"

#include <QCoreApplication>

#include <cstring>

namespace {
struct Member
{
    const char *key;
    int mask; // the field's width: import keeps only these bits
    int (*read)(const AircraftParams &);
    const char *name;
};

// The eleven members of the file, with the field each one is stored in.
// clang-format off
#define MEMBER(field, mask, name) \
    {#field, mask, [](const AircraftParams &p) { return int(p.field); }, name}
const Member kMembers[] = {
    MEMBER(Uav_Type, 0xFF, QT_TRANSLATE_NOOP("ImportPreview", "机型")),
    MEMBER(Contrl_type, 0xFF, QT_TRANSLATE_NOOP("ImportPreview", "接收机类型")),
    MEMBER(Contrl_Rec, 0xFF, QT_TRANSLATE_NOOP("ImportPreview", "通道反向")),
    MEMBER(Uav_wid, 0xFF, QT_TRANSLATE_NOOP("ImportPreview", "飞机轴距")),
    MEMBER(sensRateD, 0xFFFF, QT_TRANSLATE_NOOP("ImportPreview", "稳定感度")),
    MEMBER(sensRateP, 0xFFFF, QT_TRANSLATE_NOOP("ImportPreview", "姿态感度")),
    MEMBER(altRateP, 0xFFFF, QT_TRANSLATE_NOOP("ImportPreview", "油门感度")),
    MEMBER(LV1, 0xFFFF, QT_TRANSLATE_NOOP("ImportPreview", "一级保护电压")),
    MEMBER(LV2, 0xFFFF, QT_TRANSLATE_NOOP("ImportPreview", "二级保护电压")),
    MEMBER(SP_S, 0xFF, QT_TRANSLATE_NOOP("ImportPreview", "保护措施")),
    MEMBER(M_CCR0, 0xFF, QT_TRANSLATE_NOOP("ImportPreview", "电机怠速")),
};
// clang-format on
#undef MEMBER

const Member *member(const char *key)
{
    for (const Member &m : kMembers) {
        if (std::strcmp(m.key, key) == 0)
            return &m;
    }
    return nullptr;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("ImportPreview", text);
}

// The frame types in code order, named as on the settings page.
const char *const kFrameNames[] = {
    QT_TRANSLATE_NOOP("KivSettingWgt", "四旋翼 I"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "四旋翼 X"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "六旋翼 Y"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "六旋翼 IY"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "六旋翼 I"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "六旋翼 V"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "八旋翼 I"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "八旋翼 V"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "八旋翼 X"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "异型 X"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "异型 I"),
};
const char *const kActionNames[] = {
    QT_TRANSLATE_NOOP("KivSettingWgt", "报警"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "返航"),
    QT_TRANSLATE_NOOP("KivSettingWgt", "着陆"),
};
} // namespace

ImportPreview::Change ImportPreview::Setting::change() const
{
    if (!aircraft)
        return Change::Unknown;
    return sent == *aircraft ? Change::Same : Change::Changed;
}

bool ImportPreview::Group::changes() const
{
    for (const Setting &setting : settings) {
        if (setting.change() != Change::Same)
            return true;
    }
    return false;
}

ImportPreview::ImportPreview(const QJsonObject &document,
                             const AircraftParams &params,
                             const ParameterFreshness &freshness)
{
    for (int g = 0; g < ParameterFile::kGroupCount; ++g) {
        Group group;
        group.index = g;
        for (const char *key : ParameterFile::groups()[g].keys) {
            const Member *m = key ? member(key) : nullptr;
            if (!m)
                continue;
            Setting setting;
            setting.key = m->key;
            const int stored = m->read(params);
            if (freshness.isConfirmed(g))
                setting.aircraft = stored;
            const QJsonValue value = document.value(QLatin1String(key));
            if (!value.isUndefined())
                setting.file = value.toInt(0) & m->mask; // as ParameterFile::storeGroup keeps it
            setting.sent = setting.file.value_or(stored);
            group.settings << setting;
        }
        m_groups << group;
    }
}

void ImportPreview::setChecked(int group, bool checked)
{
    if (group >= 0 && group < m_groups.size())
        m_groups[group].checked = checked;
}

QList<int> ImportPreview::checkedGroups() const
{
    QList<int> checked;
    for (const Group &group : m_groups) {
        if (group.checked)
            checked << group.index;
    }
    return checked;
}

void ImportPreview::setOutcomes(const QList<int> &sent, const QList<int> &unconfirmed)
{
    for (Group &group : m_groups) {
        group.outcome = !sent.contains(group.index)         ? Outcome::NotSent
                        : unconfirmed.contains(group.index) ? Outcome::NotConfirmed
                                                            : Outcome::Acknowledged;
    }
}

QStringList ImportPreview::warnings() const
{
    QStringList texts;
    for (const Group &group : m_groups) {
        for (const Setting &s : group.settings) {
            const bool identity
                = std::strcmp(s.key, "Uav_Type") == 0 || std::strcmp(s.key, "Uav_wid") == 0;
            if (!identity || !s.file)
                continue;
            if (s.change() == Change::Changed)
                texts << tr("文件的%1（%2）与飞机的（%3）不同，这个文件可能是另一架飞机的。")
                             .arg(settingName(s.key),
                                  displayValue(s.key, *s.file),
                                  displayValue(s.key, *s.aircraft));
            else if (s.change() == Change::Unknown)
                texts << tr("还没有从飞机读到%1，无法与文件的%2比较。")
                             .arg(settingName(s.key), displayValue(s.key, *s.file));
        }
    }
    return texts;
}

QString ImportPreview::settingName(const char *key)
{
    const Member *m = member(key);
    return m ? tr(m->name) : QString::fromLatin1(key);
}

QString ImportPreview::displayValue(const char *key, int value)
{
    const QByteArray k(key);
    if (k == "Uav_Type" && value >= 0 && value < int(std::size(kFrameNames)))
        return QCoreApplication::translate("KivSettingWgt", kFrameNames[value]);
    if (k == "Contrl_type" && value >= 0 && value <= 2) {
        static const char *const kReceivers[] = {"SBUS", "PPM", "PWM"}; // code = 3 - option
        return QLatin1String(kReceivers[value]);
    }
    if (k == "Contrl_Rec") // one bit per channel
        return QStringLiteral("0x")
               + QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    if (k == "Uav_wid")
        return QStringLiteral("%1 mm").arg(value * 250);
    if (k == "LV1" || k == "LV2")
        return QStringLiteral("%1 V").arg(value / 100.0, 0, 'f', 2);
    if (k == "SP_S" && value >= 0 && value <= 2)
        return QCoreApplication::translate("KivSettingWgt", kActionNames[value]);
    if (k == "M_CCR0") // the motor page's five levels, 1 to 5
        return QString::number(value + 1);
    return QString::number(value);
}
