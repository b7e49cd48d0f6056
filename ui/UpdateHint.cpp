#include "ui/UpdateHint.h"

#include "config/SoftwareUpdateCheck.h"

#include "ui_UpdateHint.h"

#include <QEvent>
#include <QRegularExpression>
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
    m_ui->lblUrlValue->setWordWrap(true);
    retranslate();
}

UpdateHint::~UpdateHint() = default;

void UpdateHint::showUpdateLink(const QString &url)
{
    const QString link = safeDownloadLink(url);
    if (link.isEmpty())
        return;
    m_link = link;
    m_ui->lblUrlValue->setToolTip(link);
    showLinkText();
    show();
}

void UpdateHint::showLinkText()
{
    if (m_link.isEmpty())
        return;
    // The whole address is shown, so the user can read and check it: it wraps inside the label
    // at its separators (zero-width spaces give the line breaker places to break).
    QString shown = QUrl(m_link).toDisplayString();
    shown.replace(QRegularExpression(QStringLiteral("([/?&=._-])")), QStringLiteral("\\1") + QChar(0x200B));
    m_ui->lblUrlValue->setText(QStringLiteral("<a style='color: green;' href=\"%1\">%2</a>")
                                   .arg(m_link.toHtmlEscaped(), shown.toHtmlEscaped()));
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
