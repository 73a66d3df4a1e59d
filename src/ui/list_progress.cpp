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

ListProgress::ListProgress(TForm1& form) : QObject(&form), form_(form) {
    label_ = new QLabel(&form);
    label_->setObjectName("ListProgressLabel");
    bar_ = new QProgressBar(&form);
    bar_->setObjectName("ListProgressBar");
    bar_->setRange(0, 0);  // the operations know no total: a busy bar
    bar_->setMaximumWidth(160);
    cancel_ = new QPushButton(tr("Cancel"), &form);
    cancel_->setObjectName("ProgressCancel");
    cancel_->setToolTip(tr("Stop at the next cube, keeping what was done (Esc)"));
    cancel_->setFocusPolicy(Qt::NoFocus);  // the list keeps the keyboard
    connect(cancel_, &QPushButton::clicked, this, &ListProgress::cancel);
    form.statusBar()->addWidget(label_);
    form.statusBar()->addWidget(bar_);
    form.statusBar()->addWidget(cancel_);
    for (QWidget* w : {static_cast<QWidget*>(label_), static_cast<QWidget*>(bar_), static_cast<QWidget*>(cancel_)})
        w->hide();
}

void ListProgress::follow() {
    QString title = form_.windowTitle();
    if (title.startsWith('*')) title.remove(0, 1);
    const QString plain = QString::fromStdString(form_.list().caption());
    QString prefix;
    if (title != plain && title.endsWith(plain)) prefix = title.left(title.size() - plain.size()).trimmed();
    const bool on = !prefix.isEmpty() && form_.listOperationRunning();
    label_->setText(prefix);
    label_->setVisible(on);
    bar_->setVisible(on);
    cancel_->setVisible(on);
}

// The same way as Escape, so the operations keep one cancel flag.
void ListProgress::cancel() {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&form_, &escape);
}

}  // namespace tx::ui
