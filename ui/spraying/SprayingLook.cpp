#include "ui/spraying/SprayingLook.h"

#include <QLabel>
#include <QPixmap>

namespace SprayingLook {

QString setBoxStyle(bool pending)
{
    return QStringLiteral("QDoubleSpinBox{font: 11pt \"微软雅黑\"; color: rgb(%1); border: 1px solid gray;"
                          "border-radius: 6px; height: 35px; selection-background-color: darkgray;"
                          "background: white; margin-left: 80px; margin-right: 10px;}"
                          "QDoubleSpinBox:focus{border: 2px solid rgb(34, 192, 99);}")
        .arg(QLatin1String(pending ? "255, 0, 0" : "123, 123, 123"));
}

QString pumpBoxStyle()
{
    return QStringLiteral("QDoubleSpinBox{font: 11pt \"微软雅黑\"; color: rgb(65, 65, 65); border: 1px solid gray;"
                          "border-radius: 6px; selection-background-color: darkgray; background: white;"
                          "padding: 2px 4px;}"
                          "QDoubleSpinBox:disabled{color: rgb(170, 170, 170); border: 1px solid rgb(210, 210, 210);"
                          "background: rgb(245, 245, 245);}"
                          "QDoubleSpinBox:focus{border: 2px solid rgb(34, 192, 99);}");
}

QString rowCaptionStyle()
{
    return QStringLiteral("font: 11pt \"微软雅黑\"; color: rgb(90, 90, 90);");
}

QString probeHeightStyle(bool measuring)
{
    return QStringLiteral("font: bold 14pt \"微软雅黑\"; color: rgb(%1);")
        .arg(QLatin1String(measuring ? "34, 192, 99" : "150, 150, 150"));
}

void showPicture(QLabel *label, const char *name)
{
    label->setPixmap(QPixmap(QStringLiteral(":/spraying/%1.png").arg(QLatin1String(name))));
    label->setAlignment(Qt::AlignCenter);
}

} // namespace SprayingLook
