#include "config/Language.h"

#include "config/AppConstants.h"
#include "config/AppPaths.h"
#include "config/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
const QString LanguageKey = QStringLiteral("Language");
}

int queryLanguage()
{
    const QString stored = readIniValue(configFilePath(), LanguageKey);
    if (stored == QLatin1String("EN"))
        languageCode = 0;
    else if (stored == QLatin1String("CH"))
        languageCode = 1;
    return languageCode;
}

void storeLanguage(int code)
{
    languageCode = code;
    if (code == 1)
        writeIniValue(configFilePath(), LanguageKey, QStringLiteral("CH"));
    else if (code == 0)
        writeIniValue(configFilePath(), LanguageKey, QStringLiteral("EN"));
}

QUrl helpPageUrl(const QString &fileName)
{
    const char *folder = nullptr;
    if (languageCode == 0)
        folder = HelpFolderEnglish;
    else if (languageCode == 1)
        folder = HelpFolderChinese;
    else
        return {};
    return QUrl::fromLocalFile(helpRootFolder() + QLatin1String(folder) + fileName);
}

QString helpRootFolder()
{
    // Beside the program in the build tree; under share/ when installed (bin/../share/r7assistant).
    const QString program = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(program + QStringLiteral("/../share/r7assistant"));
    if (!QFileInfo(program + QStringLiteral("/Introduction")).isDir()
        && QFileInfo(installed + QStringLiteral("/Introduction")).isDir())
        return installed;
    return program;
}

QString missingHelpPageHtml(const QString &fileName)
{
    return QStringLiteral("<p style='color: rgb(123, 123, 123); margin: 12px;'>%1</p>")
        .arg(QCoreApplication::translate("HelpPage", "没有找到帮助页面 %1。请重新安装本程序。")
                 .arg(fileName.toHtmlEscaped()));
}
