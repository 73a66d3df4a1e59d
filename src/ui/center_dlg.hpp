#pragma once
// The centre dialog: the rotation 0..3 (clockwise quarter turns) of each of the six centres
// of the facelet editor's cube. "Ok" is enabled only while the rotations fit the rest of the
// cube; it is the only way to close the dialog, which stays on top of the main window.
#include <QDialog>

#include <array>

class QPushButton;
class QRadioButton;

namespace tx {
class FaceletEditor;
}

namespace tx::ui {

class TCenterDlg : public QDialog {
    Q_OBJECT
public:
    explicit TCenterDlg(FaceletEditor& editor, QWidget* parent = nullptr);

    // Sets the radio buttons from the editor cube's rotations and "Ok" from the parity rule.
    void sync();
    QPushButton* okButton() const { return button1_; }
    QRadioButton* radio(int face, int rotation) const { return radios_[face][rotation]; }

    // Escape does not close the dialog: only "Ok" does.
    void reject() override {}

signals:
    void rotationChanged();  // a centre turned: the editor repaints
    void okClicked();        // the editor gives its buttons back

private:
    void faceClicked(int face, int rotation);

    FaceletEditor& editor_;
    std::array<std::array<QRadioButton*, 4>, 6> radios_{};
    QPushButton* button1_ = nullptr;
};

}  // namespace tx::ui
