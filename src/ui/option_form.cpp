#include "ui/option_form.hpp"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "workspace/settings.hpp"

namespace tx::ui {

TOptionForm::TOptionForm(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
    setObjectName("OptionForm");
    setWindowTitle(tr("Two-Phase-Algorithm"));

    const SettingsValues values = settings_.load();  // each value range-checked
    stopAt_ = values.stopAt;
    triple_ = values.tripleSearch;
    autoTime_ = values.autoTime;

    auto* lengths = new QGroupBox(tr("Stop the search when the maneuver has at most"), this);
    lengths->setObjectName("RadioGroupStopAt");
    auto* grid = new QGridLayout(lengths);
    auto* group = new QButtonGroup(this);
    for (int length = kFirstLength; length <= kLastLength; ++length) {
        const int i = length - kFirstLength;
        auto* b = new QRadioButton(tr("%1 moves").arg(length), lengths);
        b->setObjectName(QString("RadioButton%1").arg(length));
        b->setProperty("Tag", length);
        // A value that matches no button leaves them all unchecked; it still is the target.
        b->setChecked(length == stopAt_);
        group->addButton(b, length);
        grid->addWidget(b, i % 4, i / 4);
        connect(b, &QRadioButton::clicked, this, [this, length] { lengthClicked(length); });
    }

    tripleBox_ = new QCheckBox(tr("Triple search: solve in three orientations at once"), this);
    tripleBox_->setObjectName("CheckTripleSearch");
    tripleBox_->setChecked(triple_);
    connect(tripleBox_, &QCheckBox::clicked, this, &TOptionForm::tripleClicked);
    auto* tripleNote = new QLabel(tr("Applies to searches started for the first time afterwards."), this);
    tripleNote->setObjectName("LabelTriple");
    tripleNote->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lengths);
    layout->addWidget(tripleBox_);
    layout->addWidget(tripleNote);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

void TOptionForm::lengthClicked(int length) {
    stopAt_ = length;
    settings_.writeStopAt(length);
    emit stopAtChanged(length);
}

void TOptionForm::tripleClicked(bool on) {
    triple_ = on;
    settings_.writeTripleSearch(on);
    emit tripleChanged(on);
}

}  // namespace tx::ui
