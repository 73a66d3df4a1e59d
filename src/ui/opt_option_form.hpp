#pragma once
// Options of the optimal solver: whether it uses the huge table. The check box can only be
// changed while the main window's list is empty; OK asks the main window to load or build the
// table when the box is checked and the table is not yet in memory.
#include <QDialog>

#include <filesystem>

class QCheckBox;
class QLabel;

namespace tx::ui {

class TOptOptionForm : public QDialog {
    Q_OBJECT
public:
    explicit TOptOptionForm(std::filesystem::path dataFolder, QWidget* parent = nullptr);

    // Shows the dialog: the data folder becomes the working folder, the check box shows the
    // huge mode and can be changed only while the list is empty.
    void showFor(bool listEmpty, bool hugeMode);
    // The check box state as the huge mode (after a failed load, or at the end of start-up).
    void setHugeMode(bool on);
    bool useHuge() const;
    QCheckBox* checkUseHuge() const { return check_; }

    // The requirements shown in the dialog, for this platform.
    static QString requirementsText(const std::filesystem::path& dataFolder);

signals:
    void hugeModeClicked(bool on);  // the check box was clicked: huge mode follows it
    void okClicked(bool useHuge);   // OK: load the table if needed, else take the mode

private:
    std::filesystem::path dataFolder_;
    QCheckBox* check_ = nullptr;
    QLabel* label_ = nullptr;
};

}  // namespace tx::ui
