#include "console.hpp"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace tx::cli {

namespace {
long long nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

ConsoleProgress::ConsoleProgress(bool quiet) : tty_(::isatty(2) != 0), quiet_(quiet) {}

ConsoleProgress::~ConsoleProgress() {
    if (tty_ && shown_) std::fprintf(stderr, "\n");
}

void ConsoleProgress::setLabel(const std::string& text) {
    if (text == label_) return;
    if (tty_ && shown_) std::fprintf(stderr, "\n");
    label_ = text;
    lastPercent_ = -1;
    shown_ = !quiet_ || text.rfind("Loading", 0) != 0;
    if (quiet_ && (text == "Loading..." || text == "Analyzing...")) shown_ = false;
    if (!shown_) return;
    if (!tty_) std::fprintf(stderr, "%s\n", text.c_str());
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

void ConsoleProgress::setVisible(bool) {}
void ConsoleProgress::pump() { draw(false); }

void ConsoleProgress::draw(bool force) {
    if (!tty_ || !shown_) return;
    long long span = max_ - min_;
    int percent = span > 0 ? static_cast<int>(100 * (pos_ - min_) / span) : 0;
    long long t = nowMs();
    if (!force && (percent == lastPercent_ || t - lastDraw_ < 100)) return;
    lastPercent_ = percent;
    lastDraw_ = t;
    int filled = percent * 30 / 100;
    std::fprintf(stderr, "\r%-40.40s [%-30s] %3d%%", label_.c_str(), std::string(filled, '#').c_str(), percent);
    std::fflush(stderr);
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
