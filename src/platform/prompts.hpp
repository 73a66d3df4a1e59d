#pragma once
// Message boxes and questions. The desktop program shows real dialogs; tests script the
// answers and check the exact texts (tests/support); the command line answers with a fixed
// default.
#include <optional>
#include <string>

namespace tx {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct Prompt {
    std::string text;
    std::string caption;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual Answer ask(const Prompt& prompt) = 0;
    // A line of text input (an input box); nullopt when cancelled.
    virtual std::optional<std::string> input(const std::string& caption, const std::string& label,
                                             const std::string& defaultText) = 0;

    void message(const std::string& text, const std::string& caption = "", Icon icon = Icon::None) {
        ask({text, caption, icon, Buttons::Ok});
    }
    bool yes(const std::string& text, const std::string& caption = "", Icon icon = Icon::Question) {
        return ask({text, caption, icon, Buttons::YesNo}) == Answer::Yes;
    }
};

// Never blocks: answers every question with a fixed answer and reports the text through a sink.
class AutoPrompts : public Prompts {
public:
    explicit AutoPrompts(Answer answer = Answer::Yes, void (*sink)(const Prompt&) = nullptr)
        : answer_(answer), sink_(sink) {}
    Answer ask(const Prompt& prompt) override {
        if (sink_) sink_(prompt);
        return prompt.buttons == Buttons::Ok ? Answer::Ok : answer_;
    }
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string& defaultText) override {
        return defaultText;
    }

private:
    Answer answer_;
    void (*sink_)(const Prompt&);
};

}  // namespace tx
