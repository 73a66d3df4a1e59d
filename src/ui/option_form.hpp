#pragma once
// Options of the two-phase algorithm: the target length at which a search stops improving
// (16..23, "stopAt"), the triple search ("TripleSearch") and the fast engine for new entries
// ("FastSearch"). Each is written to cube.ini at the click. "autoTime", the interval of the two-phase autorun timer, is only read.
#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace tx {
class Settings;
}

namespace tx::ui {

class TOptionForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFirstLength = 16;
    static constexpr int kLastLength = 23;

    // Reads "stopAt", "TripleSearch" and "autoTime" from settings.
    explicit TOptionForm(Settings& settings, QWidget* parent = nullptr);

    int stopAt() const { return stopAt_; }
    bool triple() const { return triple_; }
    bool fastSearch() const { return fast_; }
    int autoTime() const { return autoTime_; }

signals:
    void stopAtChanged(int length);
    void tripleChanged(bool on);
    void fastSearchChanged(bool on);

private:
    void lengthClicked(int length);
    void tripleClicked(bool on);
    void fastClicked(bool on);

    Settings& settings_;
    int stopAt_ = 20;
    bool triple_ = false;
    bool fast_ = false;
    int autoTime_ = 10;
    QCheckBox* tripleBox_ = nullptr;
    QCheckBox* fastBox_ = nullptr;
};

}  // namespace tx::ui
