#include "ui/spraying/SprayRateDialog.h"

#include "app/SprayRate.h"
#include "ui/HelpView.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <array>

namespace {
// The pump bars of the page stop here; a larger setting cannot be made.
constexpr double kPumpMaxPercent = 110.0;

QDoubleSpinBox *
makeBox(QWidget *parent, const char *name, double maximum, double value, int decimals = 2)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, maximum); // 0 is accepted as typed and answered with "no result"
    box->setDecimals(decimals);
    box->setValue(value);
    box->setMinimumWidth(140);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QLabel *makeResult(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus); // a screen reader reaches the result by Tab
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}
} // namespace

SprayRateDialog::SprayRateDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SprayRateDialog"));
    setModal(true);

    m_flowGroup = new QGroupBox(this);
    m_rate = makeBox(m_flowGroup, "spinApplicationRate", 1000, 10, 1);
    m_width = makeBox(m_flowGroup, "spinRateWidth", 15, 4);
    m_speed = makeBox(m_flowGroup, "spinRateSpeed", 20, 5);
    m_flow = makeResult(m_flowGroup, "lblRequiredFlow");
    auto *flowForm = new QFormLayout(m_flowGroup);
    for (int i = 0; i < 6; ++i)
        m_captions[i] = new QLabel(this);
    flowForm->addRow(m_captions[0], m_rate);
    flowForm->addRow(m_captions[1], m_width);
    flowForm->addRow(m_captions[2], m_speed);
    flowForm->addRow(m_flow);

    m_runGroup = new QGroupBox(this);
    m_runPercent = makeBox(m_runGroup, "spinRunPercent", kPumpMaxPercent, 50, 0);
    m_runSeconds = makeBox(m_runGroup, "spinRunSeconds", 3600, 60, 0);
    m_runLitres = makeBox(m_runGroup, "spinRunLitres", 100, 0, 3);
    m_measured = makeResult(m_runGroup, "lblMeasuredFlow");
    m_percent = makeResult(m_runGroup, "lblPumpPercent");
    auto *runForm = new QFormLayout(m_runGroup);
    runForm->addRow(m_captions[3], m_runPercent);
    runForm->addRow(m_captions[4], m_runSeconds);
    runForm->addRow(m_captions[5], m_runLitres);
    runForm->addRow(m_measured);
    runForm->addRow(m_percent);
    const std::array<QDoubleSpinBox *, 6> boxes = inputs();
    for (size_t i = 0; i < boxes.size(); ++i)
        m_captions[i]->setBuddy(boxes[i]); // Alt + the underlined letter reaches the box

    m_help = new QTextBrowser(this);
    m_help->setObjectName(QStringLiteral("webView"));
    m_help->setMinimumWidth(340);
    m_help->setOpenExternalLinks(true);

    auto *buttons = new QDialogButtonBox(this);
    m_close = buttons->addButton(QDialogButtonBox::Close);
    m_close->setObjectName(QStringLiteral("btnSprayRateClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *left = new QVBoxLayout;
    left->addWidget(m_flowGroup);
    left->addWidget(m_runGroup);
    left->addStretch();
    left->addWidget(buttons);
    auto *row = new QHBoxLayout(this);
    row->addLayout(left, 0);
    row->addWidget(m_help, 1);
    resize(820, 520);

    for (QDoubleSpinBox *box : boxes)
        connect(box, &QDoubleSpinBox::valueChanged, this, &SprayRateDialog::recompute);
    retranslate();
}

std::array<QDoubleSpinBox *, 6> SprayRateDialog::inputs() const
{
    return {m_rate, m_width, m_speed, m_runPercent, m_runSeconds, m_runLitres};
}

void SprayRateDialog::prefill(double widthMetres, double metresPerSecond, double pumpPercent)
{
    m_width->setValue(widthMetres);
    m_speed->setValue(metresPerSecond);
    if (pumpPercent > 0)
        m_runPercent->setValue(pumpPercent);
}

QString SprayRateDialog::flowText() const
{
    return m_flow->text();
}

QString SprayRateDialog::percentText() const
{
    return m_percent->text();
}

void SprayRateDialog::retranslate()
{
    setWindowTitle(tr("喷洒流量计算"));
    setAccessibleName(windowTitle());
    m_flowGroup->setTitle(tr("所需流量"));
    m_runGroup->setTitle(tr("药泵校准：计时试喷"));
    const QString names[6] = {tr("施药量"),
                              tr("喷幅"),
                              tr("工作速度"),
                              tr("试喷时的药泵百分比"),
                              tr("试喷时间"),
                              tr("量得的体积")};
    //: Keyboard letters of the six boxes (Alt + letter): rate, width, speed, percent, time, volume.
    const QString keys = tr("RWSPTV");
    //: Units after the numbers: litres per hectare, metres, metres per second, percent, seconds,
    //: litres.
    const QString suffixes[6]
        = {tr(" 升/公顷"), tr(" 米"), tr(" 米/秒"), tr(" %"), tr(" 秒"), tr(" 升")};
    const std::array<QDoubleSpinBox *, 6> boxes = inputs();
    for (size_t i = 0; i < boxes.size(); ++i) {
        const QChar key = int(i) < keys.size() ? keys[int(i)] : QChar();
        //: A box's caption: %1 its name, %2 its keyboard letter (Alt + letter).
        m_captions[i]->setText(tr("%1(&%2)：").arg(names[i], key));
        boxes[i]->setSuffix(suffixes[i]);
        boxes[i]->setAccessibleName(names[i]);
    }
    m_close->setText(tr("关闭"));
    m_close->setAccessibleName(tr("关闭"));
    m_help->setAccessibleName(tr("帮助"));
    showHelpPage(m_help, QStringLiteral("SprayRate.html"));
    recompute();
}

void SprayRateDialog::recompute()
{
    const std::optional<double> flow
        = SprayRate::requiredFlow(m_rate->value(), m_speed->value(), m_width->value());
    const QString none = tr("请输入大于 0 的数值");
    m_flow->setText(flow ? tr("所需流量：%1 升/分钟").arg(*flow, 0, 'f', 2) : none);

    const std::optional<double> measured
        = SprayRate::measuredFlow(m_runLitres->value(), m_runSeconds->value());
    m_measured->setText(measured ? tr("实测流量：%1 升/分钟").arg(*measured, 0, 'f', 2)
                                 : tr("试喷后输入时间和量得的体积"));
    const std::optional<double> percent
        = flow ? SprayRate::pumpPercentFor(
              *flow, m_runLitres->value(), m_runSeconds->value(), m_runPercent->value())
               : std::nullopt;
    QString percentLine;
    if (percent && *percent > kPumpMaxPercent)
        percentLine = tr("应设药泵百分比：%1 %（超出药泵的 110 %，请降低速度或施药量）")
                          .arg(*percent, 0, 'f', 0);
    else if (percent)
        percentLine = tr("应设药泵百分比：%1 %").arg(*percent, 0, 'f', 0);
    else
        percentLine = tr("应设药泵百分比：—");
    m_percent->setText(percentLine);
    m_percent->setStyleSheet(percent && *percent > kPumpMaxPercent
                                 ? QStringLiteral("color: rgb(255, 0, 0);")
                                 : QString());
    for (QLabel *label : {m_flow, m_measured, m_percent})
        label->setAccessibleName(label->text());
}

void SprayRateDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}
