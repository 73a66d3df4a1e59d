#pragma once
// Progress and prompts of the command line: a bar on stderr, messages on stderr, questions
// asked on the terminal; without one the command never blocks (see ConsolePrompts::ask).
#include <string>

#include "platform/progress.hpp"
#include "platform/prompts.hpp"

namespace tx::cli {

class ConsoleProgress : public Progress {
public:
    // quiet: only the building of tables is shown, not their loading.
    explicit ConsoleProgress(bool quiet = false);
    ~ConsoleProgress() override;
    void setLabel(const std::string& text) override;
    void setRange(long long minimum, long long maximum) override;
    void setPosition(long long position) override;
    void setVisible(bool visible) override;
    void pump() override;

private:
    void draw(bool force);
    bool tty_;
    bool quiet_;
    bool shown_ = false;
    std::string label_;
    long long min_ = 0, max_ = 0, pos_ = 0;
    int lastPercent_ = -1;
    long long lastDraw_ = 0;
};

class ConsolePrompts : public Prompts {
public:
    explicit ConsolePrompts(bool assumeYes) : assumeYes_(assumeYes) {}
    Answer ask(const Prompt& prompt) override;
    std::optional<std::string> input(const std::string& caption, const std::string& label,
                                     const std::string& defaultText) override;

private:
    bool assumeYes_;
};

}  // namespace tx::cli
