#include "app/ParameterFile.h"

#include "app/AircraftParams.h"

#include <QJsonDocument>
#include <QtEndian>

#include <cmath>

namespace ParameterFile {

const std::array<Group, kGroupCount> &groups()
{
    static const std::array<Group, kGroupCount> table{{
        {0x02, {"Uav_Type", nullptr, nullptr}, QT_TRANSLATE_NOOP("KivGuiController", "机型")},
        {0x04,
         {"Contrl_type", nullptr, nullptr},
         QT_TRANSLATE_NOOP("KivGuiController", "接收机类型")},
        {0x06,
         {"Contrl_Rec", nullptr, nullptr},
         QT_TRANSLATE_NOOP("KivGuiController", "遥控器通道反向")},
        {0x09, {"Uav_wid", nullptr, nullptr}, QT_TRANSLATE_NOOP("KivGuiController", "轴距")},
        {0x0A,
         {"sensRateD", "sensRateP", "altRateP"},
         QT_TRANSLATE_NOOP("KivGuiController", "感度")},
        {0x0C, {"LV1", "LV2", "SP_S"}, QT_TRANSLATE_NOOP("KivGuiController", "低压保护")},
        {0x08, {"M_CCR0", nullptr, nullptr}, QT_TRANSLATE_NOOP("KivGuiController", "电机怠速")},
    }};
    return table;
}

int groupOfCommand(uint8_t command)
{
    for (int i = 0; i < kGroupCount; ++i) {
        if (groups()[i].command == command)
            return i;
    }
    return -1;
}

QByteArray encode(const AircraftParams &p)
{
    // The bytes that the aircraft reads as signed are written as signed numbers (a reverse mask
    // of 0x80 is -128), the others as unsigned.
    QJsonObject object;
    object.insert(QLatin1String("Contrl_Rec"), int(int8_t(p.Contrl_Rec.load())));
    object.insert(QLatin1String("Contrl_type"), int(int8_t(p.Contrl_type.load())));
    object.insert(QLatin1String("LV1"), int(p.LV1));
    object.insert(QLatin1String("LV2"), int(p.LV2));
    object.insert(QLatin1String("M_CCR0"), int(int8_t(p.M_CCR0.load())));
    object.insert(QLatin1String("SP_S"), int(p.SP_S));
    object.insert(QLatin1String("Uav_Type"), int(p.Uav_Type));
    object.insert(QLatin1String("Uav_wid"), int(int8_t(p.Uav_wid.load())));
    object.insert(QLatin1String("altRateP"), int(p.altRateP));
    object.insert(QLatin1String("sensRateD"), int(p.sensRateD));
    object.insert(QLatin1String("sensRateP"), int(p.sensRateP));
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Compact).toBase64();
    QByteArray bytes(4, '\0');
    qToBigEndian(quint32(text.size()), bytes.data());
    return bytes + text;
}

namespace {
bool isBase64(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+'
           || c == '/' || c == '=';
}

// The values a field can hold: either reading of a byte the aircraft takes as signed (export
// writes -128 for 0x80), the unsigned range of the others.
bool fitsField(const char *key, const QJsonValue &value)
{
    static const struct
    {
        const char *key;
        double min;
        double max;
    } ranges[] = {{"Uav_Type", 0, 255},
                  {"Contrl_type", -128, 255},
                  {"Contrl_Rec", -128, 255},
                  {"Uav_wid", -128, 255},
                  {"sensRateD", 0, 65535},
                  {"sensRateP", 0, 65535},
                  {"altRateP", 0, 65535},
                  {"LV1", 0, 65535},
                  {"LV2", 0, 65535},
                  {"SP_S", 0, 255},
                  {"M_CCR0", -128, 255}};
    // Fractions and texts are not whole numbers: they store 0 as before.
    const double number = value.toDouble(0.5);
    if (!value.isDouble() || std::trunc(number) != number)
        return true;
    for (const auto &range : ranges) {
        if (qstrcmp(range.key, key) == 0)
            return number >= range.min && number <= range.max;
    }
    return true;
}
} // namespace

std::optional<QJsonObject> decode(const QByteArray &bytes)
{
    // A length byte can itself be a Base64 letter (a length of 65 ends in 'A'): a prefix that
    // states the length of what follows is dropped whole, before the filter.
    QByteArray body = bytes;
    if (bytes.size() >= 4
        && qFromBigEndian<quint32>(bytes.constData()) == quint32(bytes.size() - 4))
        body = bytes.mid(4);
    QByteArray text;
    text.reserve(body.size());
    for (char c : body) {
        if (isBase64(c))
            text.append(c);
    }
    const auto decoded
        = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(*decoded, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    bool known = false;
    for (const Group &group : groups()) {
        for (const char *key : group.keys) {
            if (!key || !object.contains(QLatin1String(key)))
                continue;
            known = true;
            if (!fitsField(key, object.value(QLatin1String(key))))
                return std::nullopt;
        }
    }
    return known ? std::optional<QJsonObject>(object) : std::nullopt;
}

namespace {
template<typename T>
void storeMember(SharedValue<T> &field, const QJsonObject &document, const char *key)
{
    const QJsonValue value = document.value(QLatin1String(key));
    if (value.isUndefined())
        return;
    // toInt gives 0 for 10.5, "10" and anything else that is not a whole number.
    field = T(value.toInt(0));
}
} // namespace

void storeGroup(AircraftParams &p, const QJsonObject &d, int group)
{
    switch (group) {
    case 0:
        storeMember(p.Uav_Type, d, "Uav_Type");
        break;
    case 1:
        storeMember(p.Contrl_type, d, "Contrl_type");
        break;
    case 2:
        storeMember(p.Contrl_Rec, d, "Contrl_Rec");
        break;
    case 3:
        storeMember(p.Uav_wid, d, "Uav_wid");
        break;
    case 4:
        storeMember(p.sensRateD, d, "sensRateD");
        storeMember(p.sensRateP, d, "sensRateP");
        storeMember(p.altRateP, d, "altRateP");
        break;
    case 5:
        storeMember(p.LV1, d, "LV1");
        storeMember(p.LV2, d, "LV2");
        storeMember(p.SP_S, d, "SP_S");
        break;
    case 6:
        storeMember(p.M_CCR0, d, "M_CCR0");
        break;
    default:
        break;
    }
}

} // namespace ParameterFile
