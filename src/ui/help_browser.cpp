#include "ui/help_browser.hpp"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The page lives in a static library: its resource is registered by name before first use.
static void registerManual() { Q_INIT_RESOURCE(help); }

namespace tx::ui {

HelpBrowser::HelpBrowser(QWidget* parent) : QDialog(parent) {
    registerManual();
    setObjectName("HelpBrowser");
    setWindowTitle(tr("Tesserix Manual"));
    text_ = new QTextBrowser(this);
    text_->setObjectName("HelpText");
    text_->setOpenExternalLinks(true);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(close);
    resize(720, 640);
    text_->setSource(QUrl(kManualUrl));
}

HelpBrowser* HelpBrowser::open(QWidget* parent, const QString& section) {
    auto* browser = parent ? parent->window()->findChild<HelpBrowser*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!browser) browser = new HelpBrowser(parent ? parent->window() : nullptr);
    browser->showSection(section);
    browser->show();
    browser->raise();
    browser->activateWindow();
    return browser;
}

void HelpBrowser::showSection(const QString& section) {
    QUrl url(kManualUrl);
    if (!section.isEmpty()) url.setFragment(section);
    text_->setSource(url);
    if (!section.isEmpty()) text_->scrollToAnchor(section);
}

QString HelpBrowser::section() const { return text_->source().fragment(); }

void addHelpLink(QDialog* dialog, const QString& section, const QString& caption) {
    auto* link = new QLabel(QString("<a href=\"#%1\">%2</a>").arg(section, caption.toHtmlEscaped()), dialog);
    link->setObjectName("HelpLink");
    link->setTextFormat(Qt::RichText);
    QObject::connect(link, &QLabel::linkActivated, dialog, [dialog, section] { HelpBrowser::open(dialog, section); });
    auto* f1 = new QShortcut(QKeySequence::HelpContents, dialog);
    QObject::connect(f1, &QShortcut::activated, dialog, [dialog, section] { HelpBrowser::open(dialog, section); });
    if (auto* box = qobject_cast<QBoxLayout*>(dialog->layout())) {
        box->insertWidget(box->count() - 1, link);  // above the dialog's buttons
        // Dialogs of a fixed size grow by the link.
        if (dialog->minimumSize() == dialog->maximumSize()) dialog->setFixedSize(dialog->sizeHint());
    }
}

}  // namespace tx::ui
