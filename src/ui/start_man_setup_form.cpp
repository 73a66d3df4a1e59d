#include "ui/start_man_setup_form.hpp"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tx::ui {

TStartManSetupForm::TStartManSetupForm(QWidget* parent) : QDialog(parent) {
    setObjectName("StartManSetupForm");
    setWindowTitle(tr("Start Search for Selected Cubes"));

    auto* kind = new QGroupBox(tr("Search"), this);
    kind->setObjectName("GBSearchKind");
    optimal_ = new QRadioButton(tr("Optimal Solver"), kind);
    optimal_->setObjectName("RBOptimal");
    optimal_->setChecked(true);
    twoPhase_ = new QRadioButton(tr("Two-Phase-Algorithm"), kind);
    twoPhase_->setObjectName("RBTwoPhase");
    auto* kindLayout = new QVBoxLayout(kind);
    kindLayout->addWidget(optimal_);
    kindLayout->addWidget(twoPhase_);

    auto* trigger = new QGroupBox(tr("Search only cubes whose maneuver is longer than"), this);
    trigger->setObjectName("GBTriggerLength");
    auto* triggerLayout = new QHBoxLayout(trigger);
    for (int k = 0; k < 4; ++k) {
        const int length = kTriggerLengths[k];
        lengths_[k] = new QRadioButton(QString::number(length), trigger);
        lengths_[k]->setObjectName(QString("RBTrigger%1").arg(length));
        lengths_[k]->setProperty("Tag", length);
        lengths_[k]->setChecked(length == 0);
        triggerLayout->addWidget(lengths_[k]);
    }
    triggerLayout->addStretch();
    auto* note = new QLabel(tr("Cubes whose maneuver is proved optimal are never searched again."), this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &TStartManSetupForm::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(kind);
    layout->addWidget(trigger);
    layout->addWidget(note);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

bool TStartManSetupForm::optimal() const { return optimal_->isChecked(); }

int TStartManSetupForm::triggerLength() const {
    for (int k = 0; k < 4; ++k)
        if (lengths_[k]->isChecked()) return kTriggerLengths[k];
    return 0;
}

// The dialog closes first: the window's messages about the start come after it.
void TStartManSetupForm::ok() {
    hide();
    setResult(QDialog::Accepted);
    emit okClicked(optimal(), triggerLength());
}

}  // namespace tx::ui
