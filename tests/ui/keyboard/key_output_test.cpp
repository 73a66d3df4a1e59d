#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "cube/notation.hpp"
#include "ui/keyboard/key_output.hpp"
#include "keyboard_fakes.hpp"

namespace tx {
namespace {

using Event = RecordingKeyOutput::Event;

TEST(KeyTable, EveryPrintableCharacterOnTheUsLayout) {
    // The shifted punctuation keys and what they carry without Shift.
    const std::string shiftedDigits = ")!@#$%^&*(";  // on the keys 0..9
    const std::vector<std::pair<std::string, int>> punctuation = {
        {";:", 186}, {"=+", 187}, {",<", 188}, {"-_", 189}, {".>", 190}, {"/?", 191},
        {"`~", 192}, {"[{", 219}, {"\\|", 220}, {"]}", 221}, {"'\"", 222}};
    int covered = 0;
    for (int c = 32; c <= 126; ++c) {
        const auto key = keyOfCharacter(static_cast<char>(c));
        ASSERT_TRUE(key.has_value()) << "character " << c;
        KeyStroke expected{};
        if (c == ' ') expected = {32, false};
        else if (c >= '0' && c <= '9') expected = {c, false};
        else if (c >= 'A' && c <= 'Z') expected = {c, true};
        else if (c >= 'a' && c <= 'z') expected = {c - 32, false};
        else if (shiftedDigits.find(char(c)) != std::string::npos) expected = {'0' + int(shiftedDigits.find(char(c))), true};
        else {
            for (const auto& [chars, code] : punctuation)
                if (chars.find(char(c)) != std::string::npos) expected = {code, chars[1] == c};
        }
        EXPECT_EQ(*key, expected) << "character '" << char(c) << "'";
        ++covered;
    }
    EXPECT_EQ(covered, 95);
    EXPECT_FALSE(keyOfCharacter('\x7f'));
    EXPECT_FALSE(keyOfCharacter('\x1b'));
    EXPECT_FALSE(keyOfCharacter(static_cast<char>(0xE9)));
}

TEST(Typing, ShiftWrapsTheCapitalOnly) {
    RecordingKeyOutput out;
    RecordingWait wait;
    KeyTyper typer(out, wait);
    EXPECT_EQ(typer.type("Ab", 0), "");
    EXPECT_EQ(out.events, (std::vector<Event>{{16, false}, {65, false}, {65, true}, {16, true}, {66, false}, {66, true}}));
}

TEST(Typing, ControlCharacters) {
    RecordingKeyOutput out;
    RecordingWait wait;
    KeyTyper typer(out, wait);
    typer.type("\r\n", 0);  // CR LF: one Enter
    EXPECT_EQ(out.events, (std::vector<Event>{{13, false}, {13, true}}));
    out.events.clear();
    typer.type("a\nb", 0);  // a lone LF: Enter
    EXPECT_EQ(out.events, (std::vector<Event>{{65, false}, {65, true}, {13, false}, {13, true}, {66, false}, {66, true}}));
    out.events.clear();
    typer.type("\n\n\r\r", 0);  // only an LF right after a CR is dropped
    EXPECT_EQ(out.events.size(), 8u);
    out.events.clear();
    typer.type("\t\b", 0);
    EXPECT_EQ(out.events, (std::vector<Event>{{9, false}, {9, true}, {8, false}, {8, true}}));
    out.events.clear();
    // Other control characters and characters above 126 are skipped.
    typer.type(std::string("\x01\x1b\x7f") + char(0xE9) + "z", 0);
    EXPECT_EQ(out.events, (std::vector<Event>{{90, false}, {90, true}}));
}

TEST(Typing, WaitsTheDelayBeforeEveryCharacter) {
    RecordingKeyOutput out;
    RecordingWait wait;
    KeyTyper typer(out, wait);
    typer.type("abc", 2);
    EXPECT_EQ(wait.waits, (std::vector<int>{2, 2, 2}));
    wait.waits.clear();
    typer.type("", 5);
    EXPECT_TRUE(wait.waits.empty());
}

TEST(Typing, NothingIsSentWhileTheOutputIsUnavailable) {
    RecordingKeyOutput out;
    out.unavailable = "Keyboard output is disabled: there is no X11 display (DISPLAY is not set).";
    RecordingWait wait;
    KeyTyper typer(out, wait);
    EXPECT_EQ(typer.type("abc", 1), out.unavailable);
    EXPECT_TRUE(out.events.empty());
    EXPECT_TRUE(wait.waits.empty());
}

TEST(Typing, AManeuverAsTheOtherProgramsKeyLetters) {
    RecordingKeyOutput out;
    RecordingWait wait;
    KeyTyper typer(out, wait);
    const std::string keys = keyLetters("R U' F2 ");
    EXPECT_EQ(keys, "ifhh");
    typer.type(keys, 2);
    EXPECT_EQ(typedText(out.events), "ifhh");
}

TEST(PumpingWait, PumpsWhileItWaitsOnTheClock) {
    int pumps = 0;
    PumpingWait wait([&] { ++pumps; });
    const auto start = std::chrono::steady_clock::now();
    wait.wait(5);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(50));
    EXPECT_GE(pumps, 1);
    EXPECT_LE(pumps, 5);  // one pass per 10 ms at most
    pumps = 0;
    wait.wait(0);
    EXPECT_EQ(pumps, 0);
}

}  // namespace
}  // namespace tx
