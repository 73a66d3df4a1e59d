#include "ui/list_progress.hpp"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "ui/main_window.hpp"
#include "workspace/cube_list.hpp"

namespace tx::ui {

namespace {

constexpr const char* kListCancelTip = "Stop at the next cube, keeping what was done (Esc)";
constexpr const char* kTableCancelTip = "Stop building the tables; nothing half-made is kept (Esc)";

}  // namespace

ListProgress::ListProgress(TForm1& form) : QObject(&form), form_(form) {
    label_ = new QLabel(&form);
    label_->setObjectName("ListProgressLabel");
    bar_ = new QProgressBar(&form);
    bar_->setObjectName("ListProgressBar");
    bar_->setRange(0, 0);  // the operations know no total: a busy bar
    bar_->setMaximumWidth(160);
    cancel_ = new QPushButton(tr("Cancel"), &form);
    cancel_->setObjectName("ProgressCancel");
    cancel_->setFocusPolicy(Qt::NoFocus);  // the list keeps the keyboard
    connect(cancel_, &QPushButton::clicked, this, &ListProgress::cancel);
    loadTables_ = new QPushButton(tr("Load Tables"), &form);
    loadTables_->setObjectName("LoadTablesButton");
    loadTables_->setToolTip(tr("The solver tables are not loaded. Build or load them now."));
    connect(loadTables_, &QPushButton::clicked, this, [this] {
        loadTables_->hide();
        form_.runStartUp();
    });
    form.statusBar()->addWidget(label_);
    form.statusBar()->addWidget(bar_);
    form.statusBar()->addWidget(cancel_);
    form.statusBar()->addWidget(loadTables_);
    for (QWidget* w : {static_cast<QWidget*>(label_), static_cast<QWidget*>(bar_), static_cast<QWidget*>(cancel_),
                       static_cast<QWidget*>(loadTables_)})
        w->hide();

    // An Escape or Cancel from before does not stop the next table build.
    connect(&form, &TForm1::busyChanged, this, [this](bool busy) {
        if (busy) form_.clearCancel();
    });
    connect(&form, &TForm1::startUpCancelled, loadTables_, &QWidget::show);
    connect(&form, &TForm1::startUpFinished, this, [this](bool ready) {
        if (ready) loadTables_->hide();
    });
    tableBar_ = form.findChild<QProgressBar*>("ProgressBar");
    if (tableBar_) tableBar_->installEventFilter(this);
}

void ListProgress::follow() {
    QString title = form_.windowTitle();
    if (title.startsWith('*')) title.remove(0, 1);
    const QString plain = QString::fromStdString(form_.list().caption());
    QString prefix;
    if (title != plain && title.endsWith(plain)) prefix = title.left(title.size() - plain.size()).trimmed();
    listOperation_ = !prefix.isEmpty() && form_.listOperationRunning();
    label_->setText(prefix);
    label_->setVisible(listOperation_);
    bar_->setVisible(listOperation_);
    showCancel();
}

// Cancel stands while a list operation or the table progress shows.
void ListProgress::showCancel() {
    const bool tables = tableBar_ && !tableBar_->isHidden();
    cancel_->setToolTip(tr(tables && !listOperation_ ? kTableCancelTip : kListCancelTip));
    cancel_->setVisible(listOperation_ || tables);
}

bool ListProgress::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tableBar_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) showCancel();
    return QObject::eventFilter(watched, event);
}

// The same way as Escape, so the operations keep one cancel flag.
void ListProgress::cancel() {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&form_, &escape);
}

}  // namespace tx::ui
