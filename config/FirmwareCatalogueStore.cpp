#include "config/FirmwareCatalogueStore.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString &storedVersionText()
{
    static QString text;
    return text;
}

QHash<QString, QString> &fileMap()
{
    static QHash<QString, QString> map;
    return map;
}

} // namespace

void setVersionText(const QString &text)
{
    storedVersionText() = text;
}

QString versionText()
{
    return storedVersionText();
}

QString versionJsonValue(const QString &key1, const QString &key2)
{
    const QJsonDocument document = QJsonDocument::fromJson(storedVersionText().toUtf8());
    if (!document.isObject())
        return {};
    const QJsonObject root = document.object();
    if (!root.contains(key1))
        return {};
    return root.value(key1).toObject().value(key2).toString();
}

void setFileMapValue(const QString &key, const QString &value)
{
    fileMap().insert(key, value);
}

QString fileMapValue(const QString &key)
{
    return fileMap().value(key);
}
