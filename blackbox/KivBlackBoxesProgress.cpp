#include "blackbox/KivBlackBoxesProgress.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char kStyle[] = R"(
#widgetMain { background-color: #383838; border-radius: 6px; }
#lblHint { color: rgb(255, 255, 255); font: bold 12pt "微软雅黑"; }
#lblCurrentIndex, #lblCurrentIndexValue { color: rgb(180, 180, 180); font: 10pt "微软雅黑"; }
#BlackBoxesProgress { border: 1px solid rgb(90, 90, 90); border-radius: 4px; background: rgb(60, 60, 60);
                      color: rgb(255, 255, 255); font: 10pt "微软雅黑"; text-align: center; }
#BlackBoxesProgress::chunk { background-color: rgb(34, 192, 99); border-radius: 3px; }
#btn_close { border-image: url(:/images/close.png); }
#btn_close:hover, #btn_close:focus { border-image: url(:/images/close_hover.png); }
#btn_close:pressed { border-image: url(:/images/close_press.png); }
)";
} // namespace

KivBlackBoxesProgress::KivBlackBoxesProgress(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("KivBlackBoxesProgress"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(420, 150);
    setStyleSheet(QString::fromUtf8(kStyle));

    auto *main = new QWidget(this);
    main->setObjectName(QStringLiteral("widgetMain"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(main);

    lblHint = new QLabel(main);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    btn_close = new QPushButton(main);
    btn_close->setObjectName(QStringLiteral("btn_close"));
    btn_close->setFixedSize(24, 25);
    btn_close->setFocusPolicy(Qt::StrongFocus);
    btn_close->setAutoDefault(false);
    BlackBoxesProgress = new QProgressBar(main);
    BlackBoxesProgress->setObjectName(QStringLiteral("BlackBoxesProgress"));
    BlackBoxesProgress->setRange(0, 100);
    BlackBoxesProgress->setValue(0);
    BlackBoxesProgress->setFixedHeight(22);
    lblCurrentIndex = new QLabel(main);
    lblCurrentIndex->setObjectName(QStringLiteral("lblCurrentIndex"));
    lblCurrentIndexValue = new QLabel(main);
    lblCurrentIndexValue->setObjectName(QStringLiteral("lblCurrentIndexValue"));
    lblCurrentIndexValue->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A note on the file (skipped, resumed) goes to a second line, under the name.
    lblCurrentIndexValue->setWordWrap(true);
    lblCurrentIndex->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    auto *top = new QHBoxLayout;
    top->addWidget(lblHint, 1);
    top->addWidget(btn_close, 0, Qt::AlignTop);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(lblCurrentIndex);
    fileRow->addWidget(lblCurrentIndexValue, 1);
    auto *column = new QVBoxLayout(main);
    column->setContentsMargins(20, 12, 12, 16);
    column->setSpacing(10);
    column->addLayout(top);
    column->addWidget(BlackBoxesProgress);
    column->addLayout(fileRow);

    connect(btn_close, &QPushButton::clicked, this, &KivBlackBoxesProgress::on_btn_close_clicked);
    btn_close->setFocus();
    retranslate();
}

void KivBlackBoxesProgress::retranslate()
{
    lblHint->setText(tr("正在导出数据.....请耐心等待"));
    lblCurrentIndex->setText(tr("文件名："));
    btn_close->setText(QString());
    btn_close->setAccessibleName(tr("关闭并停止导出"));
    btn_close->setToolTip(btn_close->accessibleName());
    BlackBoxesProgress->setAccessibleName(tr("导出进度"));
    lblCurrentIndexValue->setAccessibleName(tr("文件名"));
    setAccessibleName(tr("导出黑匣子数据"));
    showFileNote();
}

int KivBlackBoxesProgress::progressValue() const
{
    return BlackBoxesProgress->value();
}

QString KivBlackBoxesProgress::currentFileName() const
{
    return lblCurrentIndexValue->text();
}

void KivBlackBoxesProgress::SlotProgressBlackBoxes(int index, int subMaxIndex, int currentSubIndex)
{
    // Before a record's length is known, and after a skipped record, there are no chunks to count.
    const int percent = subMaxIndex > 0 ? int(qint64(currentSubIndex) * 100 / subMaxIndex) : 0;
    BlackBoxesProgress->setValue(qBound(0, percent, 100));
    if (subMaxIndex == currentSubIndex && index <= 1) {
        // The last chunk of record 1: the download is over, not abandoned.
        resetDisplay();
        done(QDialog::Accepted);
    }
}

void KivBlackBoxesProgress::SlotCurrentReadFile(QString fname)
{
    m_noteChunk = -1;
    lblCurrentIndexValue->setText(fname);
}

void KivBlackBoxesProgress::SlotRecordSkipped(QString fname)
{
    m_noteFile = fname;
    m_noteChunk = 0;
    showFileNote();
}

void KivBlackBoxesProgress::SlotRecordResumed(QString fname, int fromChunk)
{
    m_noteFile = fname;
    m_noteChunk = qMax(1, fromChunk);
    showFileNote();
}

void KivBlackBoxesProgress::showFileNote()
{
    if (m_noteChunk < 0)
        return;
    const QString note
        = m_noteChunk == 0 ? tr("（已完整，跳过）") : tr("（从第 %1 块继续）").arg(m_noteChunk);
    lblCurrentIndexValue->setText(m_noteFile + QLatin1Char('\n') + note);
}

void KivBlackBoxesProgress::on_btn_close_clicked()
{
    reject();
}

void KivBlackBoxesProgress::reject()
{
    Q_EMIT SignalCloseDownloadBlackBoxes();
    resetDisplay();
    QDialog::reject();
}

void KivBlackBoxesProgress::resetDisplay()
{
    BlackBoxesProgress->setValue(0);
    lblCurrentIndexValue->clear();
    m_noteChunk = -1;
}

void KivBlackBoxesProgress::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void KivBlackBoxesProgress::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QDialog::mousePressEvent(event);
}

void KivBlackBoxesProgress::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

void KivBlackBoxesProgress::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}
