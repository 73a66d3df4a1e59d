#include "ui/opt_option_form.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tx::ui {

TOptOptionForm::TOptOptionForm(std::filesystem::path dataFolder, QWidget* parent)
    : QDialog(parent), dataFolder_(std::move(dataFolder)) {
    setObjectName("OptOptionForm");
    setWindowTitle(tr("Optimal Solver"));

    label_ = new QLabel(requirementsText(dataFolder_), this);
    label_->setObjectName("Label1");
    label_->setWordWrap(true);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    check_ = new QCheckBox(tr("Use the Huge Optimal Solver"), this);
    check_->setObjectName("CheckUseHuge");
    connect(check_, &QCheckBox::clicked, this, &TOptOptionForm::hugeModeClicked);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        hide();
        emit okClicked(check_->isChecked());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(check_);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

QString TOptOptionForm::requirementsText(const std::filesystem::path& dataFolder) {
    return tr("To use the Huge Optimal Solver you need:\n\n"
              "A 64 bit system with about 2.6 GB (2600 MB) of free RAM.\n"
              "Room for a 1881 MB table file in the data folder\n%1\n"
              "An empty Main Window.\n\n"
              "The first use creates the table, which can take up to 4 hours.\n"
              "If the system starts swapping, close other programs or\n"
              "restart Tesserix on a freshly booted system.")
        .arg(QString::fromStdString(dataFolder.string()));
}

void TOptOptionForm::showFor(bool listEmpty, bool hugeMode) {
    QDir::setCurrent(QString::fromStdString(dataFolder_.string()));
    setHugeMode(hugeMode);
    check_->setEnabled(listEmpty);
    show();
    raise();
    activateWindow();
}

void TOptOptionForm::setHugeMode(bool on) {
    QSignalBlocker quiet(check_);
    check_->setChecked(on);
}

bool TOptOptionForm::useHuge() const { return check_->isChecked(); }

}  // namespace tx::ui
