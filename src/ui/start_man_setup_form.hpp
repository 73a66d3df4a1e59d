#pragma once
// The dialog of StartSearchforSelectedCubes: the kind of search (`RBOptimal`, preset, or
// `RBTwoPhase`) and, in `GBTriggerLength`, the length a maneuver must exceed for its cube to
// be searched (0, preset, 18, 19 or 20). OK hides the dialog and hands both to the window.
#include <QDialog>

class QRadioButton;

namespace tx::ui {

class TStartManSetupForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTriggerLengths[] = {0, 18, 19, 20};

    explicit TStartManSetupForm(QWidget* parent = nullptr);

    bool optimal() const;
    int triggerLength() const;

    // The OK button.
    void ok();

signals:
    void okClicked(bool optimal, int triggerLength);

private:
    QRadioButton* optimal_ = nullptr;
    QRadioButton* twoPhase_ = nullptr;
    QRadioButton* lengths_[4] = {};
};

}  // namespace tx::ui
