#include "ui/keyboard/key_output.hpp"

#include <chrono>
#include <thread>

namespace tx {
namespace {

// Punctuation keys of the US layout: unshifted and shifted character, virtual-key code.
struct PunctuationKey {
    char plain, shifted;
    int code;
};
constexpr PunctuationKey kPunctuation[] = {
    {';', ':', 186}, {'=', '+', 187}, {',', '<', 188}, {'-', '_', 189}, {'.', '>', 190}, {'/', '?', 191},
    {'`', '~', 192}, {'[', '{', 219}, {'\\', '|', 220}, {']', '}', 221}, {'\'', '"', 222},
};

// The shifted digit keys 1, 2, ..., 9, 0.
constexpr std::string_view kShiftedDigits = "!@#$%^&*()";

}  // namespace

std::optional<KeyStroke> keyOfCharacter(char c) {
    if (c == ' ') return KeyStroke{32, false};
    if (c >= '0' && c <= '9') return KeyStroke{c, false};
    if (c >= 'A' && c <= 'Z') return KeyStroke{c, true};
    if (c >= 'a' && c <= 'z') return KeyStroke{c - 'a' + 'A', false};
    if (const auto at = kShiftedDigits.find(c); at != std::string_view::npos)
        return KeyStroke{at == 9 ? '0' : static_cast<int>('1' + at), true};
    for (const auto& k : kPunctuation) {
        if (c == k.plain) return KeyStroke{k.code, false};
        if (c == k.shifted) return KeyStroke{k.code, true};
    }
    return std::nullopt;
}

void PumpingWait::wait(int tens) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(10 * tens);
    while (Clock::now() < end) {
        if (pump_) pump_();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void KeyTyper::press(const KeyStroke& key) {
    if (key.shift) output_.send(kKeyShift, false);
    output_.send(key.code, false);
    output_.send(key.code, true);
    if (key.shift) output_.send(kKeyShift, true);
}

std::string KeyTyper::type(std::string_view text, int delay) {
    if (std::string problem = output_.problem(); !problem.empty()) return problem;
    char previous = 0;
    for (const char c : text) {
        wait_.wait(delay);
        if (c == '\t') {
            press({kKeyTab, false});
        } else if (c == '\r' || (c == '\n' && previous != '\r')) {
            press({kKeyEnter, false});
        } else if (c == '\b') {
            press({kKeyBackspace, false});
        } else if (const auto key = keyOfCharacter(c)) {
            press(*key);
        }
        previous = c;
    }
    return {};
}

}  // namespace tx
