#pragma once
// Setup of the web server: the listening port (`EPort`), whether the listener is open
// (`CBEnable`) and whether facelet answers are mirrored into "webserv_ans.txt"
// (`CBWebSrvOut`). Created at program start, it reads section "WebServer" of cube.ini and
// opens the listener when it is enabled there.
#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tx {
class Prompts;
class Settings;
class WebServer;
}  // namespace tx

namespace tx::ui {

inline constexpr const char* kServSetupCaption = "Web Server Setup";
inline constexpr const char* kServEnableWarning =
    "Enable the Web Server only if you really use this feature.\r\nPlease read the documentation in the Help File.";
inline constexpr const char* kServPortRangeText = "Use Port Numbers from 100 to 64000";

class TServSetupForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLowestPort = 100;
    static constexpr int kHighestPort = 64000;

    TServSetupForm(Prompts& prompts, Settings& settings, WebServer& server, QWidget* parent = nullptr);

    // The program is busy (tables being built): clicking CBEnable shows no warning then.
    std::function<bool()> busy;

    // The OK button: applies the port, opens the listener when enabled, writes "port" and
    // "enabled"; the dialog stays open when the port was refused.
    void ok();

private:
    void enableClicked(bool checked);
    void outputClicked(bool checked);
    // Opens the listener; a failure (port taken, no permission) is told to the user.
    void openListener();

    Prompts& prompts_;
    Settings& settings_;
    WebServer& server_;
    QLineEdit* ePort_ = nullptr;
    QCheckBox* cbEnable_ = nullptr;
    QCheckBox* cbWebSrvOut_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace tx::ui
