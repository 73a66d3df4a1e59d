#include "ui/stats_form.hpp"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tx::ui {

TStats::TStats(QWidget* parent) : QDialog(parent) {
    setObjectName("Stats");
    setWindowTitle(tr("Statistics"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("Memo1");
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The length lines are aligned in columns.
    memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(memo_->font());
    memo_->setMinimumSize(metrics.horizontalAdvance(QString(66, QLatin1Char('-'))), 22 * metrics.lineSpacing());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName("CloseButton");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_);
    layout->addWidget(buttons);
}

void TStats::showLines(const std::vector<std::string>& lines) {
    memo_->clear();
    QStringList text;
    for (const auto& line : lines) text << QString::fromStdString(line);
    memo_->setPlainText(text.join('\n'));
    show();
    raise();
}

QString TStats::text() const { return memo_->toPlainText(); }

}  // namespace tx::ui
