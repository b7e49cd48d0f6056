#include "config/Translation.h"

#include "config/AppConstants.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QTranslator>

QStringList translationSearchFolders()
{
    QStringList folders{QDir::currentPath()};
    if (QCoreApplication::instance()) {
        const QString programFolder = QCoreApplication::applicationDirPath();
        folders << programFolder
                << QDir::cleanPath(programFolder
                                   + QStringLiteral("/../share/r7assistant/translations"));
    }
    const QStringList dataFolders
        = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    for (const QString &folder : dataFolders)
        folders << folder + QStringLiteral("/translations");
    folders.removeDuplicates();
    return folders;
}

QStringList translationCandidates(const QString &fileName, const QStringList &folders)
{
    QStringList files;
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo(path).isFile())
            files << path;
    }
    return files;
}

QString findTranslationFile(const QString &fileName)
{
    return translationCandidates(fileName, translationSearchFolders()).value(0);
}

QTranslator *appTranslator()
{
    static QPointer<QTranslator> translator;
    if (!translator && QCoreApplication::instance())
        translator = new QTranslator(QCoreApplication::instance());
    return translator;
}

bool installTranslationFrom(const QStringList &candidates)
{
    QTranslator *translator = appTranslator();
    if (!translator)
        return false;
    // Installing twice would list the translator twice; take it out before reloading.
    QCoreApplication::removeTranslator(translator);
    for (const QString &file : candidates) {
        if (translator->load(file)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    return false;
}

bool applyTranslation(int code)
{
    if (code == 0) {
        return installTranslationFrom(
            translationCandidates(QLatin1String(TranslationFileName), translationSearchFolders()));
    }
    if (code == 1) {
        if (QTranslator *translator = appTranslator())
            QCoreApplication::removeTranslator(translator);
        return true;
    }
    return false;
}
