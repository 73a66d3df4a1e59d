#pragma once
// The main window's progress label and bar. Long operations in the GUI thread call pump()
// so the window keeps repainting and Escape (or the status bar's Cancel) can set the cancel
// flag that cancelRequested() reads.
#include <QPointer>

#include <functional>

#include "platform/progress.hpp"

class QLabel;
class QProgressBar;

namespace tx::ui {

class QtProgress : public Progress {
public:
    QtProgress(QLabel* label, QProgressBar* bar);
    void setLabel(const std::string& text) override;
    void setRange(long long minimum, long long maximum) override;
    void setPosition(long long position) override;
    void setVisible(bool visible) override;
    void pump() override;
    bool cancelRequested() const override { return cancelled && cancelled(); }

    // Whether the person asked to stop the work (unset: never).
    std::function<bool()> cancelled;

private:
    QPointer<QLabel> label_;
    QPointer<QProgressBar> bar_;
    long long minimum_ = 0;
    long long divisor_ = 1;  // a bar counts in int; larger ranges are scaled down
};

}  // namespace tx::ui
