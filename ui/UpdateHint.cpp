#include "ui/UpdateHint.h"

#include "config/SoftwareUpdateCheck.h"

#include "ui_UpdateHint.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QUrl>

UpdateHint::UpdateHint(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::UpdateHint>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_TranslucentBackground);
    connect(m_ui->btnOK, &QPushButton::clicked, this, &QDialog::close);
    retranslate();
}

UpdateHint::~UpdateHint() = default;

void UpdateHint::showUpdateLink(const QString &url)
{
    const QString link = safeDownloadLink(url);
    if (link.isEmpty())
        return;

    // The label is narrower than most download addresses: show the middle elided and keep the
    // whole address in the link target and the tool tip.
    QLabel *label = m_ui->lblUrlValue;
    ensurePolished();
    label->ensurePolished();
    layout()->activate();
    const QString shown = label->fontMetrics().elidedText(QUrl(link).toDisplayString(),
                                                          Qt::ElideMiddle,
                                                          label->contentsRect().width());
    label->setText(QStringLiteral("<a style='color: green;' href=\"%1\">%2</a>")
                       .arg(link.toHtmlEscaped(), shown.toHtmlEscaped()));
    label->setToolTip(link);
    show();
}

void UpdateHint::retranslate()
{
    m_ui->lblTable->setText(tr("更新提示"));
    m_ui->lblHint->setText(tr("软件有新版本可用，请及时更新！"));
    m_ui->lblLink->setText(tr("链接："));
    m_ui->btnOK->setText(tr("确定"));
}

void UpdateHint::changeEvent(QEvent *event)
{
    // Also follows a language switch made while the check was still under way.
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}
