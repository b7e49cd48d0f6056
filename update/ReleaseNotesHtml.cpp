#include "update/ReleaseNotesHtml.h"

#include <QStringList>

QString releaseNotesHtml(const QString &module,
                         const QString &version,
                         const QString &date,
                         const QString &notes,
                         bool english)
{
    // Fixed texts in both languages, not run through the translator: each language has its own
    // notes, chosen by the stored language.
    const QString heading
        = english ? QStringLiteral("%1 Firmware Update") : QStringLiteral("%1固件更新说明");
    const QString versionLabel
        = english ? QStringLiteral("Firmware version:") : QStringLiteral("固件版本：");
    const QString dateLabel
        = english ? QStringLiteral("Release Date:") : QStringLiteral("发布日期：");
    const QString contentLabel
        = english ? QStringLiteral("Update Content：") : QStringLiteral("更新内容：");

    QString html = QStringLiteral(
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
        "<style type=\"text/css\">body{margin:0px;font-size:12px;}p{margin:10px 5px;}"
        "ol{margin-left:-20px;width:215px;}</style></head><body>"
        "<div style=\"width:240px;min-height:400px;margin-top:50px;\">");
    html += QStringLiteral("<h3 align=\"center\">%1</h3>").arg(heading.arg(module.toHtmlEscaped()));
    html += QStringLiteral("<b>%1</b><p>%2</p>").arg(versionLabel, version.toHtmlEscaped());
    html += QStringLiteral("<b>%1</b><p>%2</p>").arg(dateLabel, date.left(10).toHtmlEscaped());
    html += QStringLiteral("<b>%1</b><ol>").arg(contentLabel);
    for (const QString &line : notes.split(QLatin1Char('\n')))
        html += QStringLiteral("<li>") + line.toHtmlEscaped() + QStringLiteral("</li>");
    html += QStringLiteral("</ol></div></body></html>");
    return html;
}
