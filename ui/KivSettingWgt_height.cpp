// Return-height and GPS-position sub-pages, with their pictures in the current language.
#include "ui/KivSettingWgt.h"

#include "app/KivGuiController.h"
#include "config/Language.h"
#include "ui/settings/SettingsLook.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
QDoubleSpinBox *makeWholeNumberBox(QWidget *parent, const char *objectName, int minimum, int maximum)
{
    auto *box = new QDoubleSpinBox(parent);
    SettingsLook::prepareSpinBox(box, objectName);
    box->setDecimals(0);
    box->setRange(minimum, maximum);
    box->setSingleStep(1);
    box->setMinimumHeight(37);
    return box;
}

// Picture by language: 0 English, 1 Chinese; another value keeps the picture on show.
void showPicture(QLabel *label, const char *english, const char *chinese)
{
    if (languageCode == 0 || languageCode == 1)
        label->setStyleSheet(QStringLiteral("image: url(%1);").arg(QLatin1String(languageCode == 0 ? english : chinese)));
}

QLabel *makeColourKey(QWidget *parent, const char *objectName, const char *colour)
{
    QLabel *key = SettingsLook::makeCaption(parent, objectName);
    key->setFixedSize(28, 4);
    key->setStyleSheet(QStringLiteral("background: %1;").arg(QLatin1String(colour)));
    return key;
}
} // namespace

void KivSettingWgt::buildReturnHeightPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(12);
    ui.lblPixmap = SettingsLook::makeCaption(page, "lblPixmap");
    ui.lblPixmap->setFixedHeight(320);
    column->addWidget(ui.lblPixmap);

    auto *row = new QHBoxLayout;
    QLabel *caption = SettingsLook::makeCaption(page);
    ui.spinReturnHeight = makeWholeNumberBox(page, "spinReturnHeight", 3, 30);
    ui.spinReturnHeight->setValue(3);
    ui.spinReturnHeight->setMinimumWidth(150);
    ui.spinReturnHeight->setStyleSheet(SettingsLook::heightStyle(false));
    ui.btnReturnHeight = SettingsLook::makeActionButton(page, "btnReturnHeight");
    row->addStretch();
    row->addWidget(caption);
    row->addWidget(ui.spinReturnHeight);
    row->addWidget(ui.btnReturnHeight);
    row->addStretch();
    column->addLayout(row);
    column->addStretch();

    addTexts([=] {
        ui.lblPixmap->setAccessibleName(tr("返航高度示意图"));
        caption->setText(tr("返航高度："));
        ui.spinReturnHeight->setAccessibleName(tr("返航高度"));
        //: Unit suffix of the return height (metres), shown after the number.
        ui.spinReturnHeight->setSuffix(tr("米"));
        ui.btnReturnHeight->setText(tr("设置"));
    });
}

void KivSettingWgt::buildGpsPositionPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(8);
    ui.lblGPSPositionPixmap = SettingsLook::makeCaption(page, "lblGPSPositionPixmap");
    ui.lblGPSPositionPixmap->setFixedHeight(330);
    column->addWidget(ui.lblGPSPositionPixmap);

    auto *keys = new QGridLayout;
    keys->setHorizontalSpacing(8);
    QLabel *greenText = SettingsLook::makeCaption(page, "lbllblGPSPositionGreen");
    QLabel *blueText = SettingsLook::makeCaption(page, "lbllblGPSPositionBule");
    keys->addWidget(makeColourKey(page, "lblGreenLine", "#22c063"), 0, 0);
    keys->addWidget(greenText, 0, 1);
    keys->addWidget(makeColourKey(page, "lblBuleLine", "#2d8cf0"), 1, 0);
    keys->addWidget(blueText, 1, 1);
    keys->setColumnStretch(1, 1);
    column->addLayout(keys);

    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    QLabel *xCaption = SettingsLook::makeCaption(page, "lblGPSPositionX");
    QLabel *yCaption = SettingsLook::makeCaption(page, "lblGPSPositionY");
    ui.spinGPSPositionX = makeWholeNumberBox(page, "spinGPSPositionX", -50, 50);
    ui.spinGPSPositionY = makeWholeNumberBox(page, "spinGPSPositionY", -50, 50);
    ui.btnSendGPSPosition = SettingsLook::makeActionButton(page, "btnSendGPSPosition");
    for (QDoubleSpinBox *box : {ui.spinGPSPositionX, ui.spinGPSPositionY}) {
        box->setValue(0);
        box->setMinimumWidth(110);
        box->setStyleSheet(SettingsLook::offsetStyle(false));
    }
    row->addWidget(xCaption);
    row->addWidget(ui.spinGPSPositionX);
    row->addSpacing(12);
    row->addWidget(yCaption);
    row->addWidget(ui.spinGPSPositionY);
    row->addSpacing(12);
    row->addWidget(ui.btnSendGPSPosition);
    row->addStretch();
    column->addLayout(row);
    column->addStretch();

    addTexts([=] {
        ui.lblGPSPositionPixmap->setAccessibleName(tr("GPS天线位置示意图"));
        greenText->setText(tr("绿色区域请填写负数"));
        blueText->setText(tr("蓝色区域请填写正数"));
        xCaption->setText(tr("X轴："));
        yCaption->setText(tr("Y轴"));
        ui.spinGPSPositionX->setAccessibleName(tr("GPS天线 X轴位置"));
        ui.spinGPSPositionY->setAccessibleName(tr("GPS天线 Y轴位置"));
        //: Unit suffix of the GPS antenna offsets (centimetres), shown after the number.
        ui.spinGPSPositionX->setSuffix(tr("厘米"));
        ui.spinGPSPositionY->setSuffix(tr("厘米"));
        ui.btnSendGPSPosition->setText(tr("设置"));
    });
}

// --- Return height -------------------------------------------------------------------------------

void KivSettingWgt::on_spinReturnHeight_valueChanged(double)
{
    clearAircraftValue(ui.spinReturnHeight);
    ui.spinReturnHeight->setStyleSheet(SettingsLook::heightStyle(true));
}

void KivSettingWgt::on_btnReturnHeight_clicked()
{
    if (guiController)
        guiController->sendReturnHeight(uint8_t(int(ui.spinReturnHeight->value())));
}

void KivSettingWgt::setReturnHeight(int height)
{
    if (deferUntilBuilt("returnHeight", [this, height] { setReturnHeight(height); }))
        return;
    // A height outside 3..30 m stays marked as not confirmed, with the aircraft's value in the tip.
    const bool fits = showAircraftValue(ui.spinReturnHeight, height);
    ui.spinReturnHeight->setStyleSheet(SettingsLook::heightStyle(!fits));
}

void KivSettingWgt::SlotReturnHeightLoadPicture()
{
    // A picture is decoded when its label is styled: only for the sub-page on show (the stack
    // loads it again when the sub-page comes on show, in the language of that moment).
    if (!m_subPagesBuilt || stackedWidget()->currentIndex() != kReturnHeightTab)
        return;
    showPicture(ui.lblPixmap, ":/images/EN_ReturnHeight.jpg", ":/images/CH_ReturnHeight.jpg");
}

// --- GPS position --------------------------------------------------------------------------------

void KivSettingWgt::on_spinGPSPositionX_valueChanged(double)
{
    clearAircraftValue(ui.spinGPSPositionX);
    ui.spinGPSPositionX->setStyleSheet(SettingsLook::offsetStyle(true));
}

void KivSettingWgt::on_spinGPSPositionY_valueChanged(double)
{
    clearAircraftValue(ui.spinGPSPositionY);
    ui.spinGPSPositionY->setStyleSheet(SettingsLook::offsetStyle(true));
}

void KivSettingWgt::on_btnSendGPSPosition_clicked()
{
    if (guiController)
        guiController->sendGpsPosition(int8_t(int(ui.spinGPSPositionX->value())),
                                       int8_t(int(ui.spinGPSPositionY->value())));
}

void KivSettingWgt::setGPSPosition(char GPS_X, char GPS_Y)
{
    if (deferUntilBuilt("gpsPosition", [=] { setGPSPosition(GPS_X, GPS_Y); }))
        return;
    const bool xFits = showAircraftValue(ui.spinGPSPositionX, int8_t(GPS_X));
    const bool yFits = showAircraftValue(ui.spinGPSPositionY, int8_t(GPS_Y));
    ui.spinGPSPositionX->setStyleSheet(SettingsLook::offsetStyle(!xFits));
    ui.spinGPSPositionY->setStyleSheet(SettingsLook::offsetStyle(!yFits));
}

void KivSettingWgt::SlotGPSPositionLoadPicture()
{
    if (!m_subPagesBuilt || stackedWidget()->currentIndex() != kGpsPositionTab)
        return;
    showPicture(ui.lblGPSPositionPixmap, ":/images/EN_GPSPosition.png", ":/images/CH_GPSPosition.png");
}
