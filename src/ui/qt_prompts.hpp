#pragma once
// Message boxes and input boxes of the desktop program. Calls from a worker thread are
// carried over to the GUI thread and wait for the answer there.
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/prompts.hpp"

namespace tx::ui {

class QtPrompts : public QObject, public Prompts {
    Q_OBJECT
public:
    explicit QtPrompts(QWidget* parentWindow = nullptr);
    void setParentWindow(QWidget* window) { window_ = window; }

    Answer ask(const Prompt& prompt) override;
    std::optional<std::string> input(const std::string& caption, const std::string& label,
                                     const std::string& defaultText) override;

private:
    Answer askHere(const Prompt& prompt);
    std::optional<std::string> inputHere(const std::string& caption, const std::string& label,
                                         const std::string& defaultText);

    QPointer<QWidget> window_;
};

}  // namespace tx::ui
