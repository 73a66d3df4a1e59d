#pragma once
// Prompts for tests: records every prompt and answers from a script, then with a default.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompts.hpp"

namespace tx {

class ScriptedPrompts : public Prompts {
public:
    std::vector<Prompt> shown;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> inputs;
    Answer defaultAnswer = Answer::Yes;

    Answer ask(const Prompt& prompt) override {
        shown.push_back(prompt);
        if (prompt.buttons == Buttons::Ok) return Answer::Ok;
        if (answers.empty()) return defaultAnswer;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> input(const std::string& caption, const std::string& label,
                                     const std::string& defaultText) override {
        shown.push_back({label, caption, Icon::None, Buttons::OkCancel});
        if (inputs.empty()) return defaultText;
        auto v = inputs.front();
        inputs.pop_front();
        return v;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& p : shown) out.push_back(p.text);
        return out;
    }
};

}  // namespace tx
