// Frame-type sub-page: eleven pictures in a grid, code 3 × (row − 1) + (column − 1).
#include "ui/KivSettingWgt.h"

#include "app/KivGuiController.h"
#include "ui/settings/SettingsLook.h"
#include "widgets/ClickableButtonAccessible.h"
#include "widgets/LumPushButton.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
struct FrameType
{
    int row;
    int column;
    const char *help;
    const char *name;
    void (KivSettingWgt::*hover)();
};

const FrameType kFrameTypes[] = {
    {1, 1, "Frame_QuadI.html", QT_TRANSLATE_NOOP("KivSettingWgt", "四旋翼 I"), &KivSettingWgt::on_btn_jixing_1_1_hover},
    {1, 2, "Frame_QuadX.html", QT_TRANSLATE_NOOP("KivSettingWgt", "四旋翼 X"), &KivSettingWgt::on_btn_jixing_1_2_hover},
    {1, 3, "Frame_HexaY.html", QT_TRANSLATE_NOOP("KivSettingWgt", "六旋翼 Y"), &KivSettingWgt::on_btn_jixing_1_3_hover},
    {2, 1, "Frame_HexaIY.html", QT_TRANSLATE_NOOP("KivSettingWgt", "六旋翼 IY"), &KivSettingWgt::on_btn_jixing_2_1_hover},
    {2, 2, "Frame_HexaI.html", QT_TRANSLATE_NOOP("KivSettingWgt", "六旋翼 I"), &KivSettingWgt::on_btn_jixing_2_2_hover},
    {2, 3, "Frame_HexaV.html", QT_TRANSLATE_NOOP("KivSettingWgt", "六旋翼 V"), &KivSettingWgt::on_btn_jixing_2_3_hover},
    {3, 1, "Frame_OctoI.html", QT_TRANSLATE_NOOP("KivSettingWgt", "八旋翼 I"), &KivSettingWgt::on_btn_jixing_3_1_hover},
    {3, 2, "Frame_OctoV.html", QT_TRANSLATE_NOOP("KivSettingWgt", "八旋翼 V"), &KivSettingWgt::on_btn_jixing_3_2_hover},
    {3, 3, "Frame_OctoX.html", QT_TRANSLATE_NOOP("KivSettingWgt", "八旋翼 X"), &KivSettingWgt::on_btn_jixing_3_3_hover},
    {4, 1, "Frame_AllotypeX.html", QT_TRANSLATE_NOOP("KivSettingWgt", "异型 X"), &KivSettingWgt::on_btn_jixing_4_1_hover},
    {4, 2, "Frame_AllotypeI.html", QT_TRANSLATE_NOOP("KivSettingWgt", "异型 I"), &KivSettingWgt::on_btn_jixing_4_2_hover},
};
} // namespace

void KivSettingWgt::buildFramePage(QWidget *page)
{
    auto *scroll = new QScrollArea(page);
    scroll->setObjectName(QStringLiteral("scrollArea"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *contents = new QWidget(scroll);
    contents->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    contents->setStyleSheet(QStringLiteral("QWidget#scrollAreaWidgetContents{background: transparent;}"));
    auto *grid = new QGridLayout(contents);
    grid->setSpacing(12);
    grid->setContentsMargins(8, 8, 8, 8);
    for (const FrameType &frame : kFrameTypes) {
        auto *button = new LumPushButton(contents);
        button->setObjectName(QStringLiteral("btn_jixing_%1_%2").arg(frame.row).arg(frame.column));
        button->setFixedSize(138, 138);
        // One checked at a time, kept by the page: auto-exclusive buttons are a single Tab stop
        // whose arrow keys click (and so send) every frame type they pass.
        button->setCheckable(true);
        button->setIcon(QIcon(QStringLiteral(":/images/JX%1-%2.png").arg(frame.row).arg(frame.column)));
        button->setIconSize(QSize(120, 120));
        button->setStyleSheet(SettingsLook::frameButtonStyle());
        button->setMouseTracking(true);
        makeActivationClick(button, QAccessible::RadioButton); // the frame type is sent by the click
        connect(button, &LumPushButton::SingnalHover, this, frame.hover);
        grid->addWidget(button, frame.row - 1, frame.column - 1);
        ui.frameButtons[frame.row - 1][frame.column - 1] = button;
        // A picture only: the frame's name is its tip and what a screen reader says.
        const char *name = frame.name;
        addTexts([button, name] {
            button->setToolTip(tr(name));
            button->setAccessibleName(tr(name));
        });
    }
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(4, 1);
    // Moves between the buttons bring the general help back (see frameGapFilter).
    contents->setMouseTracking(true);
    scroll->setWidget(contents);
    ui.scrollArea = scroll;
    contents->installEventFilter(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->addWidget(scroll);
}

void KivSettingWgt::frameHover(int row, int column)
{
    for (const FrameType &frame : kFrameTypes) {
        if (frame.row == row && frame.column == column)
            loadHelpPage(QLatin1String(frame.help));
    }
}

void KivSettingWgt::frameClicked(int row, int column, bool)
{
    // A click on the checked button unchecks a plain checkable button: it stays chosen, and the
    // frame type is sent again as a click on a chosen auto-exclusive button would.
    showFrameType(row, column);
    if (guiController)
        guiController->setFrameType(row, column);
}

void KivSettingWgt::showFrameType(int row, int column)
{
    const QString chosen = QStringLiteral("btn_jixing_%1_%2").arg(row).arg(column);
    if (!findChild<LumPushButton *>(chosen))
        return;
    for (const FrameType &frame : kFrameTypes) {
        LumPushButton *button = ui.frameButtons[frame.row - 1][frame.column - 1];
        const QSignalBlocker blocker(button);
        button->setChecked(button->objectName() == chosen);
    }
}

bool KivSettingWgt::frameGapFilter(QObject *watched, QEvent *event)
{
    // The grid's own moves: a widget without mouse tracking swallows moves, so the page would
    // never hear of the pointer between the buttons. Moves over a button come here too (the
    // button passes them on) and keep that button's help.
    if (watched != ui.scrollArea->widget() || event->type() != QEvent::MouseMove)
        return false;
    auto *contents = static_cast<QWidget *>(watched);
    const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
    if (!qobject_cast<LumPushButton *>(contents->childAt(at)))
        loadHelpPage(QStringLiteral("Frame.html"));
    return false;
}

void KivSettingWgt::on_btn_jixing_1_1_hover() { frameHover(1, 1); }
void KivSettingWgt::on_btn_jixing_1_2_hover() { frameHover(1, 2); }
void KivSettingWgt::on_btn_jixing_1_3_hover() { frameHover(1, 3); }
void KivSettingWgt::on_btn_jixing_2_1_hover() { frameHover(2, 1); }
void KivSettingWgt::on_btn_jixing_2_2_hover() { frameHover(2, 2); }
void KivSettingWgt::on_btn_jixing_2_3_hover() { frameHover(2, 3); }
void KivSettingWgt::on_btn_jixing_3_1_hover() { frameHover(3, 1); }
void KivSettingWgt::on_btn_jixing_3_2_hover() { frameHover(3, 2); }
void KivSettingWgt::on_btn_jixing_3_3_hover() { frameHover(3, 3); }
void KivSettingWgt::on_btn_jixing_4_1_hover() { frameHover(4, 1); }
void KivSettingWgt::on_btn_jixing_4_2_hover() { frameHover(4, 2); }

void KivSettingWgt::on_btn_jixing_1_1_clicked(bool checked) { frameClicked(1, 1, checked); }
void KivSettingWgt::on_btn_jixing_1_2_clicked(bool checked) { frameClicked(1, 2, checked); }
void KivSettingWgt::on_btn_jixing_1_3_clicked(bool checked) { frameClicked(1, 3, checked); }
void KivSettingWgt::on_btn_jixing_2_1_clicked(bool checked) { frameClicked(2, 1, checked); }
void KivSettingWgt::on_btn_jixing_2_2_clicked(bool checked) { frameClicked(2, 2, checked); }
void KivSettingWgt::on_btn_jixing_2_3_clicked(bool checked) { frameClicked(2, 3, checked); }
void KivSettingWgt::on_btn_jixing_3_1_clicked(bool checked) { frameClicked(3, 1, checked); }
void KivSettingWgt::on_btn_jixing_3_2_clicked(bool checked) { frameClicked(3, 2, checked); }
void KivSettingWgt::on_btn_jixing_3_3_clicked(bool checked) { frameClicked(3, 3, checked); }
void KivSettingWgt::on_btn_jixing_4_1_clicked(bool checked) { frameClicked(4, 1, checked); }
void KivSettingWgt::on_btn_jixing_4_2_clicked(bool checked) { frameClicked(4, 2, checked); }
