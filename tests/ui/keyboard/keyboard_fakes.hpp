#pragma once
// Fakes for the keyboard tests: a wait that only records, and the text a list of key events
// types on a US keyboard (letters and digits, Shift for capitals).
#include <functional>
#include <string>
#include <vector>

#include "ui/keyboard/key_output.hpp"

namespace tx {

class RecordingWait : public KeyWait {
public:
    std::vector<int> waits;
    std::function<void()> pump;  // called on every wait, as the message pump would run
    void wait(int tens) override {
        waits.push_back(tens);
        if (pump) pump();
    }
};

inline std::string typedText(const std::vector<RecordingKeyOutput::Event>& events) {
    std::string text;
    bool shift = false;
    for (const auto& e : events) {
        if (e.code == kKeyShift) {
            shift = !e.up;
        } else if (!e.up && e.code >= 'A' && e.code <= 'Z') {
            text += static_cast<char>(shift ? e.code : e.code + 32);
        } else if (!e.up && ((e.code >= '0' && e.code <= '9') || e.code == ' ')) {
            text += static_cast<char>(e.code);
        }
    }
    return text;
}

}  // namespace tx
