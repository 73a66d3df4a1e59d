#pragma once
// Typing text into the application that has the keyboard focus: the key of every character on
// a US English keyboard, the output that injects one key event per press or release, the wait
// that keeps the window alive between characters, and the typer that joins them.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tx {

// Virtual-key codes of the keys the typer uses besides letters, digits and the blank.
constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeyShift = 16;

struct KeyStroke {
    int code = 0;  // virtual-key code
    bool shift = false;
    bool operator==(const KeyStroke&) const = default;
};

// The key of a printable character 32..126; nullopt for any other character.
std::optional<KeyStroke> keyOfCharacter(char c);

// Where injected key events go.
class KeyOutput {
public:
    virtual ~KeyOutput() = default;
    // Empty when keys can be typed now, else why not (shown to the user).
    virtual std::string problem() = 0;
    virtual void send(int code, bool up) = 0;
};

// Records every event, for tests.
class RecordingKeyOutput : public KeyOutput {
public:
    struct Event {
        int code;
        bool up;
        bool operator==(const Event&) const = default;
    };
    std::vector<Event> events;
    std::string unavailable;  // what problem() answers

    std::string problem() override { return unavailable; }
    void send(int code, bool up) override { events.push_back({code, up}); }
};

// Waits n x 10 ms.
class KeyWait {
public:
    virtual ~KeyWait() = default;
    virtual void wait(int tens) = 0;
};

// Waits on the steady clock, processing window messages and sleeping 10 ms per pass, so that
// the window stays responsive and its timers fire while text is typed.
class PumpingWait : public KeyWait {
public:
    explicit PumpingWait(std::function<void()> pump) : pump_(std::move(pump)) {}
    void wait(int tens) override;

private:
    std::function<void()> pump_;
};

class KeyTyper {
public:
    KeyTyper(KeyOutput& output, KeyWait& wait) : output_(output), wait_(wait) {}
    // For each character: wait delay x 10 ms, then press its key (Shift down, key down, key
    // up, Shift up for shifted keys). TAB, CR and BS press their keys, LF presses Enter unless
    // it directly follows a CR; other characters are skipped. Answers the output's problem
    // (nothing typed) or an empty text.
    std::string type(std::string_view text, int delay);

private:
    void press(const KeyStroke& key);

    KeyOutput& output_;
    KeyWait& wait_;
};

}  // namespace tx
