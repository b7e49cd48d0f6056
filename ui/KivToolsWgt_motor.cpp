// Motor sub-page: idle level (five radios, levels 0..4) and the motor test.
#include "ui/KivToolsWgt.h"

#include "app/AircraftParams.h"
#include "app/KivGuiController.h"
#include "app/LinkConnected.h"
#include "ui/settings/SettingsLook.h"
#include "ui/tools/UserPrompts.h"
#include "widgets/ClickableButtonAccessible.h"
#include "widgets/LumHoverWidget.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const char *const kScale[3] = {QT_TRANSLATE_NOOP("KivToolsWgt", "低速"),
                               QT_TRANSLATE_NOOP("KivToolsWgt", "推荐"),
                               QT_TRANSLATE_NOOP("KivToolsWgt", "高速")};
} // namespace

void KivToolsWgt::buildMotorPage(QWidget *page)
{
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(8);
    auto *tile = SettingsLook::makeTile(page, "widget_Tool_Motor");
    auto *layout = new QVBoxLayout(tile);
    layout->setContentsMargins(12, 8, 12, 12);
    QLabel *caption = SettingsLook::makeTitle(tile);
    layout->addWidget(caption);

    // Five radios under a three-word scale: low at the first, recommended at the middle, high at
    // the last.
    // Five equal columns; the middle word spans the three middle ones, so it stays centred over
    // the third radio however long it is in the language shown.
    auto *scaleBox = new QWidget(tile);
    scaleBox->setFixedWidth(400);
    auto *grid = new QGridLayout(scaleBox);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(0);
    QLabel *scale[3];
    for (int i = 0; i < 3; ++i)
        scale[i] = SettingsLook::makeCaption(scaleBox);
    grid->addWidget(scale[0], 0, 0, Qt::AlignHCenter);
    grid->addWidget(scale[1], 0, 1, 1, 3, Qt::AlignHCenter);
    grid->addWidget(scale[2], 0, 4, Qt::AlignHCenter);
    for (int i = 0; i < 5; ++i) {
        auto *radio = new QRadioButton(scaleBox);
        radio->setObjectName(QStringLiteral("checkBox_speed_%1").arg(i + 1));
        radio->setFocusPolicy(Qt::StrongFocus);
        makeActivationClick(radio, QAccessible::RadioButton); // the level is sent by the click
        connect(radio, &QRadioButton::clicked, this, &KivToolsWgt::check_Motor);
        grid->addWidget(radio, 1, i, Qt::AlignHCenter);
        grid->setColumnStretch(i, 1);
        ui.speed[i] = radio;
    }
    layout->addWidget(scaleBox);
    layout->addSpacing(10);
    ui.btn_dianjiTest = SettingsLook::makeActionButton(tile, "btn_dianjiTest");
    ui.lblMotorTestState = SettingsLook::makeCaption(tile);
    ui.lblMotorTestState->setObjectName(QStringLiteral("lblMotorTestState"));
    auto *testRow = new QHBoxLayout;
    testRow->addWidget(ui.btn_dianjiTest);
    testRow->addSpacing(12);
    testRow->addWidget(ui.lblMotorTestState);
    testRow->addStretch();
    layout->addLayout(testRow);
    column->addWidget(tile);
    column->addStretch();

    addTexts([=] {
        caption->setText(tr("马达怠速速度："));
        for (int i = 0; i < 3; ++i)
            scale[i]->setText(tr(kScale[i]));
        for (int i = 0; i < 5; ++i) {
            //: Screen-reader name of idle radio n of 5; the scale runs from low (1) to high (5).
            ui.speed[i]->setAccessibleName(tr("马达怠速 %1/5").arg(i + 1));
            const char *word = i == 0   ? kScale[0]
                               : i == 2 ? kScale[1]
                               : i == 4 ? kScale[2]
                                        : nullptr;
            ui.speed[i]->setToolTip(word ? tr(word) : QString());
        }
        ui.btn_dianjiTest->setText(tr("电机测试"));
        showMotorTestState();
    });
}

void KivToolsWgt::check_Motor()
{
    for (int i = 0; i < 5; ++i) {
        if (ui.speed[i]->isChecked()) {
            aircraftParams().M_CCR0 = uint8_t(i);
            Q_EMIT send_CCR();
            return;
        }
    }
}

void KivToolsWgt::showMotorIdle(int level)
{
    if (level >= 1 && level <= 5)
        ui.speed[level - 1]->setChecked(true);
}

int KivToolsWgt::shownMotorIdle() const
{
    for (int i = 0; i < 5; ++i) {
        if (ui.speed[i]->isChecked())
            return i + 1;
    }
    return 0;
}

void KivToolsWgt::on_btn_dianjiTest_clicked()
{
    if (!linkConnected || !guiController)
        return;
    // The motors spin: only a user who has taken the propellers off may start it.
    if (userPrompts().confirm(QMessageBox::Warning,
                              tr("警告"),
                              tr("请确认您的螺旋桨已卸下"),
                              tr("已确认"),
                              tr("还未卸下"))
        && guiController && linkConnected) {
        guiController->startMotorTest();
        setMotorTestState(MotorTestState::Running);
    }
}

bool KivToolsWgt::isMotorTestRunning() const
{
    return m_motorTestState == MotorTestState::Running;
}

void KivToolsWgt::SlotStopMotorTest()
{
    if (m_motorTestState != MotorTestState::Running)
        return;
    if (guiController)
        guiController->stopMotorTest();
    setMotorTestState(MotorTestState::Stopped);
}

void KivToolsWgt::setMotorTestState(MotorTestState state)
{
    m_motorTestState = state;
    const bool running = state == MotorTestState::Running;
    m_motorStopShortcut->setEnabled(running);
    if (running)
        m_motorTestTimer->start(kMotorTestMs);
    else
        m_motorTestTimer->stop();
    showMotorTestState();
}

void KivToolsWgt::showMotorTestState()
{
    const bool running = m_motorTestState == MotorTestState::Running;
    QString text;
    if (running)
        text = tr("电机测试中，按 Esc 停止");
    else if (m_motorTestState == MotorTestState::Stopped)
        text = tr("电机测试已停止");
    ui.lblMotorTestState->setText(text);
    // Red while the motors may spin.
    ui.lblMotorTestState->setStyleSheet(running ? QStringLiteral("color: rgb(255, 0, 0);") : QString());
    ui.lblMotorTestState->setAccessibleName(text.isEmpty() ? tr("电机测试") : text);
}
