#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class UpdateHint;
}

// Tells the user that a newer version of the program exists and offers its download link.
// A frameless, window-modal child of the main window; "确定" hides it.
class UpdateHint final : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateHint(QWidget *parent = nullptr);
    ~UpdateHint() override;

    // Shows the dialog with `url` as a link that opens in the system browser. The address comes
    // from the network: only http(s) links are shown, and they are escaped before they enter the
    // label's rich text. Anything else is ignored and the dialog stays hidden.
    void showUpdateLink(const QString &url);

    // Re-sets the four fixed texts in the current language.
    void retranslate();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showLinkText();

    std::unique_ptr<Ui::UpdateHint> m_ui;
    QString m_link; // fully encoded, already checked
};
