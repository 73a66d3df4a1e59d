#pragma once
// The device dialogs of the webcam page: the format choice (CapFormat: the camera's formats)
// and the property dialog (CapConfig: what Qt exposes of exposure, white balance and focus).
#include <QDialog>

class QCamera;
class QFormLayout;
class QListWidget;

namespace tx {
class FrameSource;
}

namespace tx::ui {

inline constexpr const char* kNoPropertiesText = "This capture device has no adjustable properties.";

class CapFormatDialog : public QDialog {
    Q_OBJECT
public:
    CapFormatDialog(FrameSource& source, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    // OK: the chosen format is set (the device restarts with it when it was running).
    void accept() override;

private:
    FrameSource& source_;
    QListWidget* list_ = nullptr;
};

class CapConfigDialog : public QDialog {
    Q_OBJECT
public:
    CapConfigDialog(QCamera& camera, QWidget* parent = nullptr);

private:
    void addExposure(QFormLayout* form);
    void addWhiteBalance(QFormLayout* form);
    QCamera& camera_;
};

}  // namespace tx::ui
