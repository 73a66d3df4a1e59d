#include "console.hpp"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

namespace tx::cli {

namespace {
long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool silenced = false;
// True while a bar or count stands on the terminal's current line without a line end.
bool lineOpen = false;

void endOpenLine() {
    if (lineOpen) std::fprintf(stderr, "\n");
    lineOpen = false;
}

// Without a terminal (a log file, a pipe) a plain line at most this often.
constexpr long long kPlainLineGapMs = 5000;
}  // namespace

void silenceProgress() { silenced = true; }
bool progressSilenced() { return silenced; }

ConsoleProgress::ConsoleProgress(bool quiet) : tty_(::isatty(2) != 0), quiet_(quiet), lastLine_(nowMs()) {}

ConsoleProgress::~ConsoleProgress() {
    if (drawn_) endOpenLine();
}

void ConsoleProgress::setLabel(const std::string& text) {
    if (text == label_) return;
    if (drawn_) endOpenLine();
    drawn_ = false;
    label_ = text;
    lastPercent_ = -1;
    labelStart_ = nowMs();
    const bool onlyLoading = text.rfind("Loading", 0) == 0 || text == "Analyzing...";
    shown_ = !silenced && !(quiet_ && onlyLoading);
    draw(true);
}

void ConsoleProgress::setRange(long long minimum, long long maximum) {
    min_ = minimum;
    max_ = maximum;
    pos_ = minimum;
}

void ConsoleProgress::setPosition(long long position) {
    pos_ = position;
    draw(false);
}

void ConsoleProgress::setVisible(bool visible) {
    if (visible || !drawn_) return;
    endOpenLine();  // the work is over: what follows starts on a line of its own
    drawn_ = false;
    label_.clear();
}
void ConsoleProgress::pump() { draw(false); }

// "1:23 left" once a step has run long enough to tell, else empty.
std::string ConsoleProgress::timeLeft(int percent, long long now) const {
    const long long elapsed = now - labelStart_;
    if (percent < 1 || percent >= 100 || elapsed < 2000) return {};
    const long long leftSeconds = elapsed * (100 - percent) / percent / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld left", leftSeconds / 60, leftSeconds % 60);
    return text;
}

// A bar on a terminal; otherwise a plain line now and then, so that logs stay short.
void ConsoleProgress::draw(bool force) {
    if (!shown_) return;
    const long long span = max_ - min_;
    const int percent = span > 0 ? static_cast<int>(100 * (pos_ - min_) / span) : 0;
    const long long t = nowMs();
    if (!tty_) {
        if (t - lastLine_ < kPlainLineGapMs) return;
        lastLine_ = t;
        if (span > 0)
            std::fprintf(stderr, "%s %d%%\n", label_.c_str(), percent);
        else
            std::fprintf(stderr, "%s\n", label_.c_str());
        return;
    }
    if (!force && (percent == lastPercent_ || t - lastDraw_ < 100)) return;
    lastPercent_ = percent;
    lastDraw_ = t;
    const int filled = percent * 30 / 100;
    std::fprintf(stderr, "\r%-40.40s [%-30s] %3d%% %-14s", label_.c_str(), std::string(filled, '#').c_str(), percent,
                 timeLeft(percent, t).c_str());
    std::fflush(stderr);
    drawn_ = lineOpen = true;
}

CountProgress::CountProgress(std::string what)
    : what_(std::move(what)), tty_(::isatty(2) != 0 && ::isatty(1) == 0), lastLine_(nowMs()) {}

CountProgress::~CountProgress() {
    if (drawn_) endOpenLine();
}

void CountProgress::update(std::size_t done) {
    if (silenced) return;
    const long long t = nowMs();
    if (t - lastLine_ < (tty_ ? 100 : kPlainLineGapMs)) return;
    lastLine_ = t;
    std::fprintf(stderr, tty_ ? "\r%s: %zu" : "%s: %zu\n", what_.c_str(), done);
    std::fflush(stderr);
    drawn_ = tty_;
    lineOpen = lineOpen || tty_;
}

namespace {

// The size in "... create a 430 MB file ...", the questions before the centre and huge tables
// are built; empty for every other question.
std::string giantTableSize(const std::string& question) {
    const std::size_t mb = question.find(" MB file");
    if (question.find("will now create a") == std::string::npos || mb == std::string::npos) return {};
    const std::size_t start = question.rfind(' ', mb - 1);
    return start == std::string::npos ? std::string() : question.substr(start + 1, mb - start - 1);
}

}  // namespace

// With a terminal the question is asked there (the answer is read from the terminal, so a cube
// list on stdin is not consumed). Without one, building a giant table is refused unless --yes
// was given; the first-run question (65 MB) is answered yes so that pipelines just work.
Answer ConsolePrompts::ask(const Prompt& prompt) {
    endOpenLine();
    std::string caption = prompt.caption.empty() ? "" : prompt.caption + ": ";
    if (prompt.buttons == Buttons::Ok) {
        std::fprintf(stderr, "%s%s\n", caption.c_str(), prompt.text.c_str());
        return Answer::Ok;
    }
    if (assumeYes_) {
        std::fprintf(stderr, "%s%s yes\n", caption.c_str(), prompt.text.c_str());
        return Answer::Yes;
    }
    std::ifstream terminal;
    if (::isatty(2)) terminal.open("/dev/tty");
    if (terminal.is_open()) {
        std::fprintf(stderr, "%s%s [y/N] ", caption.c_str(), prompt.text.c_str());
        std::fflush(stderr);
        std::string line;
        if (!std::getline(terminal, line)) return Answer::No;
        return (!line.empty() && (line[0] == 'y' || line[0] == 'Y')) ? Answer::Yes : Answer::No;
    }
    if (const std::string size = giantTableSize(prompt.text); !size.empty()) {
        std::fprintf(stderr, "tesserix-cli: not building the %s MB table without a terminal to ask; --yes builds it\n",
                     size.c_str());
        return Answer::No;
    }
    std::fprintf(stderr, "%s%s yes\n", caption.c_str(), prompt.text.c_str());
    return Answer::Yes;
}

std::optional<std::string> ConsolePrompts::input(const std::string&, const std::string&,
                                                 const std::string& defaultText) {
    return defaultText;
}

}  // namespace tx::cli
