#pragma once
// The main window's progress label and bar. Long operations in the GUI thread call pump()
// so the window keeps repainting and Escape can set the cancel flag.
#include <QPointer>

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

private:
    QPointer<QLabel> label_;
    QPointer<QProgressBar> bar_;
    long long minimum_ = 0;
    long long divisor_ = 1;  // a bar counts in int; larger ranges are scaled down
};

}  // namespace tx::ui
