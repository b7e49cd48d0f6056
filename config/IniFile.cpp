#include "config/IniFile.h"

#include "config/ServiceUrls.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

struct DefaultKey
{
    const char *section; // "General" holds the top-level keys
    const char *name;
    QString value;
};

} // namespace

// A value as QSettings' INI reader reads it back unchanged: commas (list separators), semicolons,
// and surrounding blanks need quotes; backslashes and quotes are escaped; a leading '@' (type
// marker) is doubled.
QString iniEscapedValue(const QString &value)
{
    bool needsQuotes = value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' '));
    QString body;
    if (value.startsWith(QLatin1Char('@')))
        body += QLatin1Char('@');
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            body += QLatin1String("\\\\");
            break;
        case '"':
            body += QLatin1String("\\\"");
            break;
        case '\n':
            body += QLatin1String("\\n");
            break;
        case '\r':
            body += QLatin1String("\\r");
            break;
        case '\t':
            body += QLatin1String("\\t");
            break;
        case ',':
        case ';':
            needsQuotes = true;
            body += c;
            break;
        default:
            if (c.unicode() >= 0x20)
                body += c; // other control characters have no place in a setting; drop them
        }
    }
    return needsQuotes ? QLatin1Char('"') + body + QLatin1Char('"') : body;
}

QByteArray defaultIniText()
{
    // QSettings orders the sections of a new file by name, so the defaults are written as text to
    // keep the documented order.
    const DefaultKey keys[] = {
        {"General", "Language", QStringLiteral("CH")},
        {"URL", "Firmware", firmwareIniDefaultUrl().toString(QUrl::FullyEncoded)},
        {"FCU", "version", QStringLiteral("3.00")},
        {"GMU", "version", QStringLiteral("2.02")},
        {"LIU", "version", QStringLiteral("2.01")},
        {"OSD", "version", QStringLiteral("2.04")},
        {"PMU", "version", QStringLiteral("2.01")},
        {"IMU", "version", QStringLiteral("1.00")},
    };
    QString text;
    for (const DefaultKey &key : keys) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QLatin1Char('[') + QLatin1String(key.section) + QLatin1String("]\n")
                + QLatin1String(key.name) + QLatin1Char('=') + iniEscapedValue(key.value)
                + QLatin1Char('\n');
    }
    return text.toUtf8();
}

bool ensureConfigFile(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder)) {
        qDebug() << folder << "Failed to create directory!";
        return false;
    }
    if (info.exists())
        return true;

    // NewOnly: a file that appeared meanwhile is left alone rather than replaced.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(path))
            return true;
        qDebug() << path << "could not be created:" << file.errorString();
        return false;
    }
    const QByteArray text = defaultIniText();
    if (file.write(text) != text.size() || !file.flush()) {
        qDebug() << path << "could not be written:" << file.errorString();
        file.close();
        file.remove(); // a half-written file would hide the defaults for good
        return false;
    }
    return true;
}

QString readIniValue(const QString &path, const QString &key)
{
    if (!QFileInfo::exists(path))
        ensureConfigFile(path);
    const QSettings settings(path, QSettings::IniFormat);
    return settings.value(key).toString();
}

void writeIniValue(const QString &path, const QString &key, const QString &value)
{
    if (!QFileInfo::exists(path))
        ensureConfigFile(path);
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qDebug() << path << "could not be written";
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.exists()) {
        qDebug() << "读取文件不存在";
        return {};
    }
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
