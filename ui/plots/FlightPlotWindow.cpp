#include "ui/plots/FlightPlotWindow.h"

#include "ui/plots/FlightCharts.h"
#include "ui/tools/UserPrompts.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// Pictures have this size whatever the window's, so saved charts are alike.
const QSize kPictureSize(1200, 700);
} // namespace

FlightPlotWindow::FlightPlotWindow(QWidget *parent)
    : QDialog(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FlightPlotWindow"));
    m_fileLabel = new QLabel(this);
    m_fileLabel->setObjectName(QStringLiteral("lblFlightFile"));
    m_fileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblFlightSummary"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabFlightCharts"));
    for (int kind = 0; kind < FlightCharts::KindCount; ++kind) {
        auto *view = new QChartView(m_tabs);
        view->setObjectName(QStringLiteral("chart_")
                            + FlightCharts::fileKey(FlightCharts::Kind(kind)));
        view->setRenderHint(QPainter::Antialiasing);
        view->setFocusPolicy(Qt::StrongFocus);
        m_views.append(view);
        m_tabs->addTab(view, QString());
    }

    const auto button = [this](const char *name) {
        auto *b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    m_open = button("btnOpenFlightFile");
    m_saveShown = button("btnSaveChartPng");
    m_saveAll = button("btnSaveAllChartsPng");
    m_close = button("btnClosePlots");
    connect(m_open, &QPushButton::clicked, this, &FlightPlotWindow::SlotOpenFile);
    connect(m_saveShown, &QPushButton::clicked, this, &FlightPlotWindow::SlotSaveShownPng);
    connect(m_saveAll, &QPushButton::clicked, this, &FlightPlotWindow::SlotSaveAllPng);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addStretch();
    buttons->addWidget(m_saveShown);
    buttons->addWidget(m_saveAll);
    buttons->addWidget(m_close);
    auto *column = new QVBoxLayout(this);
    column->addWidget(m_fileLabel);
    column->addWidget(m_summary);
    column->addWidget(m_tabs, 1);
    column->addLayout(buttons);
    resize(1000, 680);
    retranslate();
}

QChartView *FlightPlotWindow::chartView(int kind) const
{
    return m_views.value(kind);
}

bool FlightPlotWindow::openFile(const QString &path)
{
    FlightLog log;
    if (!log.load(path)) {
        userPrompts().tell(QMessageBox::Warning, tr("警告"), log.errorString(), QMessageBox::Ok);
        return false;
    }
    m_log = log;
    m_path = path;
    retranslate();
    return true;
}

void FlightPlotWindow::retranslate()
{
    setWindowTitle(tr("飞行曲线"));
    setAccessibleName(windowTitle());
    m_fileLabel->setText(m_path.isEmpty() ? tr("没有打开文件") : QDir::toNativeSeparators(m_path));
    m_fileLabel->setAccessibleName(tr("文件"));
    const QList<FlightLog::Sample> &samples = m_log.samples();
    const double duration
        = samples.isEmpty() ? 0 : samples.last().seconds - samples.first().seconds;
    QString summary = tr("%n 个样本", nullptr, int(samples.size()))
                      + tr("，时长 %1 秒").arg(duration, 0, 'f', 0);
    if (m_log.skippedLines() > 0)
        summary += tr("，跳过 %n 行无法读取的数据", nullptr, m_log.skippedLines());
    if (m_log.truncated())
        summary += tr("，文件过长，只显示前 %1 个样本").arg(FlightLog::kMaxSamples);
    m_summary->setText(summary);
    m_summary->setAccessibleName(summary);
    m_tabs->setAccessibleName(tr("图表"));
    //: Buttons of the flight-plot window; & marks the Alt key letter.
    m_open->setText(tr("打开文件(&O)…"));
    m_open->setAccessibleName(tr("打开导出的黑匣子文件"));
    m_saveShown->setText(tr("保存此图为 PNG(&S)…"));
    m_saveShown->setAccessibleName(tr("把当前图表保存为 PNG 图片"));
    m_saveAll->setText(tr("全部保存为 PNG(&A)…"));
    m_saveAll->setAccessibleName(tr("把全部图表保存为 PNG 图片到文件夹"));
    m_close->setText(tr("关闭"));
    m_close->setAccessibleName(tr("关闭"));
    m_saveShown->setEnabled(!m_path.isEmpty());
    m_saveAll->setEnabled(!m_path.isEmpty());
    rebuildCharts();
}

void FlightPlotWindow::rebuildCharts()
{
    for (int kind = 0; kind < m_views.size(); ++kind) {
        const auto k = FlightCharts::Kind(kind);
        QChart *old = m_views[kind]->chart();
        m_views[kind]->setChart(FlightCharts::make(k, m_log.samples()));
        delete old; // the view does not own a chart it gives up
        m_tabs->setTabText(kind, FlightCharts::title(k));
        m_views[kind]->setAccessibleName(tr("%1曲线").arg(FlightCharts::title(k)));
    }
}

QString FlightPlotWindow::pngPath(const QString &folder, int kind) const
{
    return QDir(folder).filePath(QFileInfo(m_path).completeBaseName() + QLatin1Char('-')
                                 + FlightCharts::fileKey(FlightCharts::Kind(kind))
                                 + QLatin1String(".png"));
}

bool FlightPlotWindow::savePng(int kind, const QString &fileName)
{
    if (kind < 0 || kind >= FlightCharts::KindCount)
        return false;
    // Drawn at a fixed size by a view of its own, not shown on screen: whichever tab is shown and
    // however large the window is, the pictures are alike.
    QChartView offscreen(FlightCharts::make(FlightCharts::Kind(kind), m_log.samples()));
    offscreen.setRenderHint(QPainter::Antialiasing);
    offscreen.setAttribute(Qt::WA_DontShowOnScreen);
    offscreen.resize(kPictureSize);
    offscreen.show();
    // The layout, the track's fitting to it, and the layout after that. Only layout work and the
    // chart's queued calls: delivering every posted event would repaint every window each time.
    for (int pass = 0; pass < 3; ++pass) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
    const QPixmap picture = offscreen.grab();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
        userPrompts().tell(
            QMessageBox::Warning,
            tr("警告"),
            tr("无法保存图片 %1：%2").arg(QDir::toNativeSeparators(fileName), file.errorString()),
            QMessageBox::Ok);
        return false;
    }
    return true;
}

int FlightPlotWindow::saveAllPng(const QString &folder)
{
    int written = 0;
    for (int kind = 0; kind < m_views.size(); ++kind) {
        if (!savePng(kind, pngPath(folder, kind)))
            break; // told once: the folder is not writable
        ++written;
    }
    return written;
}

void FlightPlotWindow::SlotOpenFile()
{
    const QString start = m_path.isEmpty() ? QDir::homePath() : QFileInfo(m_path).absolutePath();
    const QString path = userPrompts().openFileName(
        this, tr("打开导出的黑匣子文件"), start, tr("黑匣子数据 (*.xls);;所有文件 (*)"));
    if (!path.isEmpty())
        openFile(path);
}

void FlightPlotWindow::SlotSaveShownPng()
{
    const int kind = m_tabs->currentIndex();
    const QString path = userPrompts().saveFileName(this,
                                                    tr("保存为 PNG"),
                                                    pngPath(QFileInfo(m_path).absolutePath(), kind),
                                                    tr("PNG 图片 (*.png)"),
                                                    QStringLiteral("png"));
    if (!path.isEmpty())
        savePng(kind, path);
}

void FlightPlotWindow::SlotSaveAllPng()
{
    const QString folder
        = userPrompts().folder(this, tr("选择保存图片的文件夹"), QFileInfo(m_path).absolutePath());
    if (folder.isEmpty())
        return;
    const int written = saveAllPng(folder);
    if (written == m_views.size())
        userPrompts().tell(
            QMessageBox::Information,
            tr("提示"),
            tr("已保存 %n 张图片到 %1", nullptr, written).arg(QDir::toNativeSeparators(folder)),
            QMessageBox::Ok);
}

void FlightPlotWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}
