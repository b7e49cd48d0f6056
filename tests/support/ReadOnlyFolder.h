#pragma once

// A folder in which this process cannot create files: a temporary one made read-only, or, where
// permissions do not bind (tests running as root), /proc, which takes no new files from anyone.
// Empty when there is none.

#include <QDir>
#include <QFile>
#include <QString>

inline QString readOnlyFolder(const QString &parent)
{
    const QString path = parent + QStringLiteral("/read-only");
    QDir().mkpath(path);
    QFile::setPermissions(path,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QFile probe(path + QStringLiteral("/probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return path;
    probe.remove();
#ifdef Q_OS_LINUX
    return QStringLiteral("/proc");
#else
    return QString();
#endif
}
