#pragma once
// Progress and prompts of the command line: a bar on stderr, messages on stderr, questions
// asked on the terminal; without one the command never blocks (see ConsolePrompts::ask).
#include <string>

#include "platform/progress.hpp"
#include "platform/prompts.hpp"

namespace tx::cli {

// "--quiet"/"-q" (taken by the command dispatcher): no progress at all.
void silenceProgress();
bool progressSilenced();

// A count of finished items ("solve: 1200 cubes answered"), for work of unknown length: on a
// terminal (when stdout is not the same terminal) redrawn in place, else a line every few seconds.
class CountProgress {
public:
    explicit CountProgress(std::string what);
    ~CountProgress();
    void update(std::size_t done);

private:
    std::string what_;
    bool tty_;
    bool drawn_ = false;
    long long lastLine_;
};

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
    std::string timeLeft(int percent, long long now) const;
    bool tty_;
    bool quiet_;
    bool shown_ = false;
    bool drawn_ = false;  // a bar is on the terminal's current line
    std::string label_;
    long long min_ = 0, max_ = 0, pos_ = 0;
    int lastPercent_ = -1;
    long long lastDraw_ = 0, labelStart_ = 0, lastLine_ = 0;
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
