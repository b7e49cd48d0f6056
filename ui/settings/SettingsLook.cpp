#include "ui/settings/SettingsLook.h"

#include "widgets/LumHoverWidget.h"

#include <QAbstractSpinBox>
#include <QLabel>
#include <QPushButton>

namespace SettingsLook {

namespace {
const char kFont[] = "font: 11pt \"微软雅黑\";";
const char kFocusRing[] = "border: 2px solid rgb(34, 192, 99);";
} // namespace

QString subPageStyle()
{
    return QStringLiteral(
               "LumHoverWidget{background: rgb(255, 255, 255); border: 1px solid rgb(222, 222, 222);"
               "border-radius: 6px;}"
               "QLabel{%1 color: rgb(90, 90, 90); background: transparent; border: none;}"
               "QLabel[tileTitle=\"true\"]{font: bold 11pt \"微软雅黑\"; color: rgb(65, 65, 65);}"
               "QRadioButton{%1 color: rgb(90, 90, 90); background: transparent; spacing: 6px;}"
               "QRadioButton:focus{color: rgb(31, 175, 88);}"
               "QRadioButton::indicator{width: 12px; height: 12px; border-radius: 7px;"
               "border: 1px solid rgb(150, 150, 150); background: white;}"
               "QRadioButton::indicator:checked{border: 4px solid rgb(34, 192, 99); width: 6px; height: 6px;}"
               "QComboBox{%1 color: rgb(65, 65, 65); border: 1px solid rgb(181, 181, 181);"
               "border-radius: 6px; padding: 2px 8px; background: white;}"
               "QComboBox:focus{%2}"
               "QScrollArea{background: transparent; border: none;}")
        .arg(QLatin1String(kFont), QLatin1String(kFocusRing));
}

QString revButtonStyle(bool reversed)
{
    const char *colour = reversed ? "255, 0, 0" : "34, 192, 99";
    return QStringLiteral("QPushButton{border: 0px solid; color: white; font: 10pt \"微软雅黑\";"
                          "background: rgb(%1); border-radius: 2px;}"
                          "QPushButton:hover{background: rgb(%1);}"
                          "QPushButton:pressed{background: rgb(31, 175, 88);}"
                          "QPushButton:focus{border: 2px solid rgb(60, 60, 60);}")
        .arg(QLatin1String(colour));
}

QString gainStyle(bool pending)
{
    return QStringLiteral("QSpinBox{%1 color: rgb(%2); border: 1px solid rgb(181, 181, 181);"
                          "border-radius: 6px; padding: 2px 4px; background: white;}"
                          "QSpinBox:focus{%3}")
        .arg(QLatin1String(kFont), QLatin1String(pending ? "255, 0, 0" : "181, 181, 181"),
             QLatin1String(kFocusRing));
}

QString voltageStyle(Voltage state)
{
    const char *colour = "123, 123, 123";
    switch (state) {
    case Voltage::Pending: colour = "255, 0, 0"; break;
    case Voltage::Confirmed: colour = "0, 0, 0"; break;
    case Voltage::Sent: colour = "131, 131, 131"; break;
    case Voltage::Shown: break;
    }
    return QStringLiteral("QDoubleSpinBox{%1 color: rgb(%2); border: 1px solid rgb(181, 181, 181);"
                          "border-radius: 8px; padding: 2px 4px; background: white;}"
                          "QDoubleSpinBox:focus{%3}")
        .arg(QLatin1String(kFont), QLatin1String(colour), QLatin1String(kFocusRing));
}

namespace {
QString boxStyle(bool pending, const char *margins)
{
    return QStringLiteral("QDoubleSpinBox{%1 color: rgb(%2); border: 1px solid gray; border-radius: 6px;"
                          "height: 35px; selection-background-color: darkgray; background: white; %3}"
                          "QDoubleSpinBox:focus{border: 2px solid rgb(34, 192, 99);}")
        .arg(QLatin1String(kFont), QLatin1String(pending ? "255, 0, 0" : "123, 123, 123"),
             QLatin1String(margins));
}
} // namespace

QString heightStyle(bool pending)
{
    return boxStyle(pending, "margin-left: 30px; margin-right: 10px;");
}

QString offsetStyle(bool pending)
{
    return boxStyle(pending, "");
}

QString frameButtonStyle()
{
    return QStringLiteral("QPushButton{background: transparent; border: 2px dashed rgb(199, 199, 199);}"
                          "QPushButton:hover{border-image: url(:/images/jixing_select.PNG);}"
                          "QPushButton:checked{border-image: url(:/images/jixing_checked.PNG);}"
                          "QPushButton:focus{border: 2px solid rgb(34, 192, 99);}");
}

LumHoverWidget *makeTile(QWidget *parent, const char *objectName)
{
    auto *tile = new LumHoverWidget(parent);
    tile->setObjectName(QLatin1String(objectName));
    return tile;
}

QLabel *makeTitle(QWidget *tile)
{
    QLabel *title = makeCaption(tile);
    title->setProperty("tileTitle", true);
    return title;
}

QLabel *makeCaption(QWidget *parent, const char *objectName)
{
    auto *label = new QLabel(parent);
    if (objectName)
        label->setObjectName(QLatin1String(objectName));
    return label;
}

QPushButton *makeActionButton(QWidget *parent, const char *objectName)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setMinimumHeight(30);
    button->setStyleSheet(QStringLiteral(
        "QPushButton{font: 10pt \"微软雅黑\"; color: white; background: rgb(34, 192, 99); border: none;"
        "border-radius: 4px; padding: 4px 16px;}"
        "QPushButton:pressed, QPushButton:checked{background: rgb(31, 175, 88);}"
        "QPushButton:focus{border: 2px solid rgb(60, 60, 60);}"));
    return button;
}

void prepareSpinBox(QAbstractSpinBox *box, const char *objectName)
{
    box->setObjectName(QLatin1String(objectName));
    box->setFocusPolicy(Qt::StrongFocus);
    box->setMinimumHeight(30);
    // The rounded style sheets leave the step buttons without arrows: the arrow keys step.
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setAlignment(Qt::AlignCenter);
}

} // namespace SettingsLook
