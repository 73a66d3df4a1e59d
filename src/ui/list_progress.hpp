#pragma once
// A progress bar with a Cancel button in the status bar for the long list operations
// (loading and saving a workspace, adding inverse or random cubes) that announce themselves by a text in front of
// the window caption. Cancel does what Escape does; the caption texts stay as they are.
// The same Cancel stands beside the table progress while tables are built or loaded; a
// cancelled start leaves the window usable with a "Load Tables" button that starts again.
#include <QObject>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tx::ui {

class TForm1;

class ListProgress : public QObject {
    Q_OBJECT
public:
    explicit ListProgress(TForm1& form);

    // The caption changed: shows the bar and Cancel while a list operation puts its progress
    // text in front of it, hides them when the caption is plain again.
    void follow();
    void cancel();

    QProgressBar* bar() const { return bar_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* label() const { return label_; }
    QPushButton* loadTablesButton() const { return loadTables_; }

protected:
    // The table progress bar showing or hiding.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCancel();

    TForm1& form_;
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* loadTables_ = nullptr;
    QProgressBar* tableBar_ = nullptr;  // the window's table progress
    bool listOperation_ = false;
};

}  // namespace tx::ui
