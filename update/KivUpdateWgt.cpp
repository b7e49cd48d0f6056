#include "update/KivUpdateWgt.h"

#include "config/Configuration.h"

#include <QFile>
#include <QHBoxLayout>
#include <QTextBrowser>

KivUpdateWgt::KivUpdateWgt(QWidget *parent)
    : QWidget(parent)
    , m_help(new QTextBrowser(this))
{
    m_help->setObjectName(QStringLiteral("textBrowser"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 10, 10, 10);
    row->addStretch(3);
    row->addWidget(m_help, 2);
    reloadHelpText();
}

void KivUpdateWgt::reloadHelpText()
{
    QFile file(helpPageUrl(QStringLiteral("FirmwareUpdate.html")).toLocalFile());
    m_help->setHtml(file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString());
}

void KivUpdateWgt::resetForLink(bool connected)
{
    if (!connected)
        m_progress = -1;
}

void KivUpdateWgt::setProgress(QString strModule, uint8_t progress)
{
    m_progressModule = strModule;
    m_progress = progress;
}

void KivUpdateWgt::SlotFirmwareUpdateSuccess() {}

void KivUpdateWgt::retranslate() {}
