// Gain sub-page: wheelbase and the three gains, each a bar and a spin box kept in step.
#include "ui/KivSettingWgt.h"

#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "ui/settings/SettingsLook.h"
#include "widgets/ClickableButtonAccessible.h"
#include "widgets/KivSliderControl.h"
#include "widgets/LumHoverWidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// The radio labelled 1500 mm stands for code 5 (1250 / 250), as the aircraft has it.
struct Wheelbase
{
    const char *objectName;
    const char *text;
    int millimetres;
};
const Wheelbase kWheelbases[5] = {{"checkBox_FJZJ250", "250mm", 250},
                                  {"checkBox_FJZJ500", "500mm", 500},
                                  {"checkBox_FJZJ750", "750mm", 750},
                                  {"checkBox_FJZJ1000", "1000mm", 1000},
                                  {"checkBox_FJZJ1500", "1500mm", 1250}};

constexpr int kGainMinimum = 50;
constexpr int kGainMaximum = 500;

QSpinBox *gainBox(const SettingsForm &ui, int index)
{
    QSpinBox *boxes[] = {nullptr, ui.editAttitude, ui.editStable, ui.editThrottle};
    return index >= 1 && index <= 3 ? boxes[index] : nullptr;
}

KivSliderControl *gainBar(const SettingsForm &ui, int index)
{
    KivSliderControl *bars[] = {nullptr, ui.sliderAttitude, ui.sliderStable, ui.sliderThrottle};
    return index >= 1 && index <= 3 ? bars[index] : nullptr;
}

int gainIndexOf(const SettingsForm &ui, const QObject *object)
{
    for (int index = 1; index <= 3; ++index) {
        if (object == gainBox(ui, index) || object == gainBar(ui, index))
            return index;
    }
    return 0;
}
} // namespace

void KivSettingWgt::buildGainPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(8);

    auto *sizeTile = SettingsLook::makeTile(page, "widget_Settings_Sense_Size");
    auto *sizeLayout = new QVBoxLayout(sizeTile);
    sizeLayout->setContentsMargins(12, 8, 12, 10);
    QLabel *sizeTitle = SettingsLook::makeTitle(sizeTile);
    sizeLayout->addWidget(sizeTitle);
    auto *radios = new QHBoxLayout;
    radios->setSpacing(18);
    for (int i = 0; i < 5; ++i) {
        auto *radio = new QRadioButton(QLatin1String(kWheelbases[i].text), sizeTile);
        radio->setObjectName(QLatin1String(kWheelbases[i].objectName));
        makeActivationClick(radio, QAccessible::RadioButton); // the choice is sent by the click
        radios->addWidget(radio);
        ui.wheelbase[i] = radio;
    }
    ui.wheelbase[0]->setChecked(true);
    radios->addStretch();
    sizeLayout->addLayout(radios);
    column->addWidget(sizeTile);

    auto *senseTile = SettingsLook::makeTile(page, "widget_Settings_Sense_Sense");
    auto *senseLayout = new QVBoxLayout(senseTile);
    senseLayout->setContentsMargins(12, 8, 12, 10);
    QLabel *senseTitle = SettingsLook::makeTitle(senseTile);
    senseLayout->addWidget(senseTitle);
    auto *rows = new QGridLayout;
    rows->setHorizontalSpacing(10);
    rows->setVerticalSpacing(10);
    senseLayout->addLayout(rows);
    column->addWidget(senseTile);
    column->addStretch();

    struct GainRow
    {
        const char *caption;
        const char *bar;
        const char *box;
        KivSliderControl **barSlot;
        QSpinBox **boxSlot;
    };
    const GainRow gainRows[] = {
        {QT_TRANSLATE_NOOP("KivSettingWgt", "姿态感度"), "sliderAttitude", "editAttitude", &ui.sliderAttitude, &ui.editAttitude},
        {QT_TRANSLATE_NOOP("KivSettingWgt", "稳定感度"), "sliderStable", "editStable", &ui.sliderStable, &ui.editStable},
        {QT_TRANSLATE_NOOP("KivSettingWgt", "油门感度"), "sliderThrottle", "editThrottle", &ui.sliderThrottle, &ui.editThrottle},
    };
    for (int i = 0; i < 3; ++i) {
        const GainRow &row = gainRows[i];
        QLabel *caption = SettingsLook::makeCaption(senseTile);
        auto *bar = new KivSliderControl(senseTile);
        bar->setObjectName(QLatin1String(row.bar));
        bar->setMinimumSize(150, 35);
        bar->setMinimum(kGainMinimum);
        bar->setMaximum(kGainMaximum);
        bar->setValue(kGainMinimum);
        bar->installEventFilter(this);
        auto *box = new QSpinBox(senseTile);
        SettingsLook::prepareSpinBox(box, row.box);
        box->setRange(kGainMinimum, kGainMaximum);
        box->setValue(kGainMinimum);
        box->setMinimumWidth(90);
        // valueChanged then means a finished edit: typed and confirmed, a step key or a value
        // set through the accessibility interface; never the keystrokes on the way.
        box->setKeyboardTracking(false);
        box->setStyleSheet(SettingsLook::gainStyle(false));
        box->installEventFilter(this);
        *row.barSlot = bar;
        *row.boxSlot = box;
        connect(box, qOverload<int>(&QSpinBox::valueChanged), bar, qOverload<int>(&KivSliderControl::setValue));
        // A drag moves the box along; the gain is sent when the bar is released.
        connect(bar, &KivSliderControl::SignalValueChangInt, this, [this, box](int value) {
            const QSignalBlocker blocker(box);
            box->setValue(value);
            clearAircraftValue(box);
            box->setStyleSheet(SettingsLook::gainStyle(true));
            box->setProperty("dragged", true);
        });
        rows->addWidget(caption, i, 0);
        rows->addWidget(bar, i, 1);
        rows->addWidget(box, i, 2);
        const char *text = row.caption;
        addTexts([caption, bar, box, text] {
            caption->setText(tr(text));
            bar->setAccessibleName(tr(text));
            box->setAccessibleName(tr(text));
        });
    }
    rows->setColumnStretch(1, 1);

    addTexts([=] {
        sizeTitle->setText(tr("飞机轴距"));
        senseTitle->setText(tr("感度微调"));
        for (QRadioButton *radio : ui.wheelbase)
            //: Accessible name of a wheelbase radio button; %1 is its text, e.g. 1000mm.
            radio->setAccessibleName(tr("飞机轴距 %1").arg(radio->text()));
    });
}

// --- Wheelbase -----------------------------------------------------------------------------------

void KivSettingWgt::wheelbaseClicked(int millimetres, bool checked)
{
    if (checked && guiController)
        guiController->setWheelbase(millimetres);
}

void KivSettingWgt::on_checkBox_FJZJ250_clicked(bool checked) { wheelbaseClicked(250, checked); }
void KivSettingWgt::on_checkBox_FJZJ500_clicked(bool checked) { wheelbaseClicked(500, checked); }
void KivSettingWgt::on_checkBox_FJZJ750_clicked(bool checked) { wheelbaseClicked(750, checked); }
void KivSettingWgt::on_checkBox_FJZJ1000_clicked(bool checked) { wheelbaseClicked(1000, checked); }
void KivSettingWgt::on_checkBox_FJZJ1500_clicked(bool checked) { wheelbaseClicked(1250, checked); }

void KivSettingWgt::showWheelbase(int millimetres)
{
    if (deferUntilBuilt("wheelbase", [this, millimetres] { showWheelbase(millimetres); }))
        return;
    for (int i = 0; i < 5; ++i) {
        if (kWheelbases[i].millimetres == millimetres)
            ui.wheelbase[i]->setChecked(true);
    }
}

// --- Gains ---------------------------------------------------------------------------------------

void KivSettingWgt::gainEdited(int index, int value)
{
    QSpinBox *box = gainBox(ui, index);
    clearAircraftValue(box);
    // While the link is down the value stays the user's, red, and nothing is sent.
    const bool sent = linkConnected && guiController;
    if (sent)
        guiController->setGain(float(value), index);
    box->setStyleSheet(SettingsLook::gainStyle(!sent));
}

void KivSettingWgt::on_editAttitude_valueChanged(int value) { gainEdited(1, value); }
void KivSettingWgt::on_editStable_valueChanged(int value) { gainEdited(2, value); }
void KivSettingWgt::on_editThrottle_valueChanged(int value) { gainEdited(3, value); }

bool KivSettingWgt::gainFilter(QObject *watched, QEvent *event)
{
    const int index = gainIndexOf(ui, watched);
    if (index == 0)
        return false;
    QSpinBox *box = gainBox(ui, index);
    if (watched == gainBar(ui, index)) {
        if (event->type() == QEvent::MouseButtonRelease && box->property("dragged").toBool()) {
            box->setProperty("dragged", false);
            gainEdited(index, box->value());
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Return confirms the typed value, which sends it; the event then ends here so the
            // window's Return does not send the same gains a second time. Return on a value
            // already sent goes on to the window, whose Return sends the gains again.
            const int before = box->value();
            box->interpretText();
            box->selectAll();
            return box->value() != before;
        }
    }
    return false;
}

void KivSettingWgt::showGain(float value, int index)
{
    if (deferUntilBuilt("gain", [=] { showGain(value, index); }, index))
        return;
    QSpinBox *box = gainBox(ui, index);
    if (!box)
        return;
    // A value outside 50..500 is not sent back clamped: it stays marked until the user edits.
    const bool fits = showAircraftValue(box, double(int(value)));
    gainBar(ui, index)->setValue(box->value());
    box->setProperty("dragged", false);
    box->setStyleSheet(SettingsLook::gainStyle(!fits));
}
