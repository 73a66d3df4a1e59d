#pragma once
// The statistics window: the statistics of the cube list as text, a snapshot that is not
// updated when the list changes. It stays on top of the main window.
#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace tx::ui {

class TStats : public QDialog {
    Q_OBJECT
public:
    explicit TStats(QWidget* parent = nullptr);

    // Empties the window, writes the lines and shows it.
    void showLines(const std::vector<std::string>& lines);
    QString text() const;

private:
    QPlainTextEdit* memo_ = nullptr;
};

}  // namespace tx::ui
