#pragma once
// The autorun setup: the maximum number of threads (1, 2, 4, 8, 16 or 32) up to which the
// autorun timer starts searches. A choice takes effect and is written to "nThreads" of
// section "Autorun" at once; OK hides the dialog.
#include <QDialog>

namespace tx {
class Settings;
}

namespace tx::ui {

class TOptimalBatch : public QDialog {
    Q_OBJECT
public:
    // Reads "nThreads" (default 8) and checks its button; a value that matches none of them
    // leaves all unchecked but is still the maximum.
    explicit TOptimalBatch(Settings& settings, QWidget* parent = nullptr);

    int maxThreads() const { return maxThreads_; }

signals:
    void maxThreadsChanged(int count);

private:
    void choose(int count);

    Settings& settings_;
    int maxThreads_ = 8;
};

}  // namespace tx::ui
