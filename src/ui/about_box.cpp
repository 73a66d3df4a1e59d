#include "ui/about_box.hpp"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tx::ui {

namespace {

QLabel* makeLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle(tr("About"));
    openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    auto* product = makeLabel(kAboutProduct, "ProductName", this);
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    product->setFont(big);
    auto* version = makeLabel(tr("Version %1").arg(kAboutVersion), "Version", this);
    auto* author = makeLabel(kAuthorLine, "Copyright", this);
    auto* comments = makeLabel(tr("A workbench for the 3x3x3 cube"), "Comments", this);
    const QString mail = kMailAddress;
    auto* link = makeLabel(QString("<a href=\"mailto:%1\">%1</a>").arg(mail), "MailLink", this);
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(link, &QLabel::linkActivated, this, [this](const QString& url) {
        if (openUrl) openUrl(QUrl(url));
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 12);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(comments);
    layout->addWidget(author);
    layout->addWidget(link);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

}  // namespace tx::ui
