#include "ui/optimal_batch.hpp"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "workspace/autorun.hpp"
#include "workspace/settings.hpp"

namespace tx::ui {

TOptimalBatch::TOptimalBatch(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
    setObjectName("OptimalBatch");
    setWindowTitle(tr("Autorun"));
    maxThreads_ = settings_.readInt(ini::kAutorun, ini::kNThreads, kDefaultAutorunThreads);

    auto* group = new QGroupBox(tr("Maximum number of threads"), this);
    group->setObjectName("RadioGroupThreads");
    auto* grid = new QGridLayout(group);
    for (std::size_t i = 0; i < kAutorunThreadChoices.size(); ++i) {
        const int count = kAutorunThreadChoices[i];
        auto* b = new QRadioButton(QString::number(count), group);
        b->setObjectName(QString("RBThreads%1").arg(count));
        b->setProperty("Tag", count);
        b->setChecked(count == maxThreads_);
        grid->addWidget(b, static_cast<int>(i % 3), static_cast<int>(i / 3));
        connect(b, &QRadioButton::clicked, this, [this, count] { choose(count); });
    }
    auto* note = new QLabel(tr("Autorun starts a further search only while Tesserix runs fewer threads than "
                               "this besides its main thread. Every thread counts, the web server's too."),
                            this);
    note->setObjectName("LabelThreads");
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

void TOptimalBatch::choose(int count) {
    maxThreads_ = count;
    settings_.writeNThreads(count);
    emit maxThreadsChanged(count);
}

}  // namespace tx::ui
