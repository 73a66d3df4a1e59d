#include "workspace/settings.hpp"

#include "platform/atomic_file.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <cstdint>
#include <map>
#include <random>
#include <sstream>

namespace tx {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class SettingsFile : public ::testing::Test {
protected:
    testing::TempFolder folder_{"settings"};
    const fs::path dir_ = folder_.path();
    const fs::path path_ = folder_ / "cube.ini";

    void put(const std::string& content) {
        std::ofstream out(path_, std::ios::binary);
        out << content;
    }
    std::string contents() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(SettingsFile, MissingFileGivesEveryDefault) {
    Settings s(path_);
    SettingsValues v = s.load();
    const std::array<std::uint32_t, 7> colors = {16711680, 65535, 255, 32768, 16777215, 33023, 8421504};
    EXPECT_EQ(v.colors, colors);
    EXPECT_TRUE(v.autoFix);
    EXPECT_EQ(v.stopAt, 20);
    EXPECT_FALSE(v.tripleSearch);
    EXPECT_EQ(v.autoTime, 10);
    EXPECT_EQ(v.port, 8080);
    EXPECT_FALSE(v.serverEnabled);
    EXPECT_FALSE(v.writeToFile);
    EXPECT_EQ(v.nThreads, 8);
    EXPECT_FALSE(fs::exists(path_)) << "reading must not create the file";
    EXPECT_EQ(s.readInt("Nowhere", "nothing", -17), -17);
    EXPECT_TRUE(s.readBool("Nowhere", "nothing", true));
}

TEST_F(SettingsFile, BooleansAndTheWriteToFileInteger) {
    put("[WebServer]\nwriteToFile=2\nenabled=2\n[Faclet Editor]\nAutoFix=0\n"
        "[Two-Phase-Algorithm]\nTripleSearch=-1\n");
    Settings s(path_);
    SettingsValues v = s.load();
    EXPECT_FALSE(v.writeToFile) << "writeToFile is on only for exactly 1";
    EXPECT_TRUE(v.serverEnabled) << "any non-zero integer is true";
    EXPECT_FALSE(v.autoFix);
    EXPECT_TRUE(v.tripleSearch);
    EXPECT_TRUE(s.readBool("WebServer", "writeToFile", false));

    put("[WebServer]\nwriteToFile=1\n");
    EXPECT_TRUE(Settings(path_).load().writeToFile);
}

TEST_F(SettingsFile, ValuesThatAreNotNumbersGiveTheDefault) {
    put("[Two-Phase-Algorithm]\nstopAt=abc\nautoTime=12x\nTripleSearch=yes\n"
        "[WebServer]\nport=\nenabled=true\n"
        "[Autorun]\nnThreads=99999999999999\n"
        "[Color Scheme]\nUColor=-5\nRColor=16777216\nFColor= 4242 \n");
    Settings s(path_);
    SettingsValues v = s.load();
    EXPECT_EQ(v.stopAt, 20);
    EXPECT_EQ(v.autoTime, 10);
    EXPECT_FALSE(v.tripleSearch);
    EXPECT_EQ(v.port, 8080);
    EXPECT_FALSE(v.serverEnabled);
    EXPECT_EQ(v.nThreads, 8) << "out of range counts as not a number";
    EXPECT_EQ(v.colors[0], 16711680u) << "a negative colour is no 24-bit colour";
    EXPECT_EQ(v.colors[1], 65535u) << "more than 24 bits is no colour";
    EXPECT_EQ(v.colors[2], 4242u) << "blanks around a number are fine";
    EXPECT_EQ(s.readInt("Color Scheme", "UColor", 1), -5) << "the raw reader still sees the integer";
}

TEST_F(SettingsFile, ParseIniInt) {
    EXPECT_EQ(parseIniInt("0"), 0);
    EXPECT_EQ(parseIniInt("-12"), -12);
    EXPECT_EQ(parseIniInt("+7"), 7);
    EXPECT_EQ(parseIniInt(" 8080\r"), 8080);
    EXPECT_EQ(parseIniInt("2147483647"), 2147483647);
    EXPECT_FALSE(parseIniInt("2147483648"));
    EXPECT_FALSE(parseIniInt(""));
    EXPECT_FALSE(parseIniInt("-"));
    EXPECT_FALSE(parseIniInt("1 2"));
    EXPECT_FALSE(parseIniInt("0x10"));
    EXPECT_FALSE(parseIniInt("1.5"));
}

TEST_F(SettingsFile, EveryTypedWriteRoundTripsThroughTheFile) {
    {
        Settings s(path_);
        EXPECT_TRUE(s.writeColor(0, 0x123456));
        EXPECT_TRUE(s.writeColor(6, 0x000001));
        EXPECT_TRUE(s.writeAutoFix(false));
        EXPECT_TRUE(s.writeStopAt(17));
        EXPECT_TRUE(s.writeTripleSearch(true));
        EXPECT_TRUE(s.writePort(9090));
        EXPECT_TRUE(s.writeServerEnabled(true));
        EXPECT_TRUE(s.writeWriteToFile(true));
        EXPECT_TRUE(s.writeNThreads(32));
    }
    Settings again(path_);
    SettingsValues v = again.load();
    EXPECT_EQ(v.colors[0], 0x123456u);
    EXPECT_EQ(v.colors[1], 65535u);
    EXPECT_EQ(v.colors[6], 1u);
    EXPECT_FALSE(v.autoFix);
    EXPECT_EQ(v.stopAt, 17);
    EXPECT_TRUE(v.tripleSearch);
    EXPECT_EQ(v.port, 9090);
    EXPECT_TRUE(v.serverEnabled);
    EXPECT_TRUE(v.writeToFile);
    EXPECT_EQ(v.nThreads, 32);

    // Exact section and key names and value forms in the file itself.
    std::string text = contents();
    for (const char* expected :
         {"[Color Scheme]\n", "UColor=1193046\n", "FreeColor=1\n", "[Faclet Editor]\n", "AutoFix=0\n",
          "[Two-Phase-Algorithm]\n", "stopAt=17\n", "TripleSearch=1\n", "[WebServer]\n", "port=9090\n",
          "enabled=1\n", "writeToFile=1\n", "[Autorun]\n", "nThreads=32\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing in\n" << text;
}

TEST_F(SettingsFile, OverwritingAKeyKeepsOneLine) {
    Settings s(path_);
    s.writeInt("Two-Phase-Algorithm", "stopAt", 18);
    s.writeInt("Two-Phase-Algorithm", "stopAt", 22);
    s.writeBool("Two-Phase-Algorithm", "TripleSearch", true);
    EXPECT_EQ(contents(), "[Two-Phase-Algorithm]\nstopAt=22\nTripleSearch=1\n");
    EXPECT_EQ(s.readInt("two-phase-algorithm", "STOPAT", 0), 22) << "names ignore case";
}

TEST_F(SettingsFile, UnknownSectionsKeysAndCommentsArePreserved) {
    put("; my notes\r\n[Other]\r\nfoo = bar\r\n\r\n[WebServer]\r\nport=81\r\nextra=x y z\r\n\r\n");
    Settings s(path_);
    EXPECT_EQ(s.readInt("WebServer", "port", 0), 81);
    EXPECT_EQ(s.readString("Other", "foo"), "bar");
    s.writePort(8181);
    s.writeNThreads(4);
    Settings again(path_);
    EXPECT_EQ(again.readString("Other", "foo"), "bar");
    EXPECT_EQ(again.readString("WebServer", "extra"), "x y z");
    EXPECT_EQ(again.readInt("WebServer", "port", 0), 8181);
    EXPECT_EQ(again.readInt("Autorun", "nThreads", 0), 4);
    std::string text = contents();
    EXPECT_EQ(text.rfind("; my notes\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("foo = bar\r\n"), std::string::npos) << "untouched lines stay verbatim";
    EXPECT_NE(text.find("port=8181\r\nextra=x y z\r\n"), std::string::npos) << text;
}

TEST_F(SettingsFile, FirstOfDuplicateSectionsAndKeysWins) {
    put("[WebServer]\nport=100\nport=200\n[WebServer]\nport=300\n");
    Settings s(path_);
    EXPECT_EQ(s.readInt("WebServer", "port", 0), 100);
    s.writePort(555);
    EXPECT_EQ(Settings(path_).readInt("WebServer", "port", 0), 555);
    EXPECT_NE(contents().find("port=300"), std::string::npos);
}

TEST_F(SettingsFile, WritesMergeChangesMadeByAnotherWriter) {
    Settings first(path_);
    Settings second(path_);
    first.writeStopAt(16);
    second.writeNThreads(2);
    Settings check(path_);
    EXPECT_EQ(check.load().stopAt, 16);
    EXPECT_EQ(check.load().nThreads, 2);
}

TEST_F(SettingsFile, FailedWriteLeavesNoTemporaryAndKeepsOldFile) {
    put("[Autorun]\nnThreads=16\n");
    Settings s(path_);
    // A directory squatting on the temporary name makes the write fail before the rename.
    const fs::path temp = temporaryNameFor(path_, ::getpid());
    fs::create_directory(temp);
    EXPECT_FALSE(s.writeNThreads(1));
    EXPECT_EQ(contents(), "[Autorun]\nnThreads=16\n");
    fs::remove(temp);
    EXPECT_TRUE(s.writeNThreads(1));
    EXPECT_FALSE(fs::exists(temp));
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++files;
    EXPECT_EQ(files, 1) << "only cube.ini remains";
}

// A careless or hostile cube.ini: values outside what the program can work with read as the
// default (a target of -5 once made searches that a stop could not end).
TEST_F(SettingsFile, ValuesOutOfRangeGiveTheDefault) {
    put("[Two-Phase-Algorithm]\nstopAt=-5\nautoTime=0\n[WebServer]\nport=70000\n[Autorun]\nnThreads=100000\n");
    SettingsValues v = Settings(path_).load();
    EXPECT_EQ(v.stopAt, 20);
    EXPECT_EQ(v.autoTime, 10);
    EXPECT_EQ(v.port, 8080);
    EXPECT_EQ(v.nThreads, 8);
    for (const char* low : {"15", "0", "-4", "31", "2147483647"}) {
        put(std::string("[Two-Phase-Algorithm]\nstopAt=") + low + "\n");
        EXPECT_EQ(Settings(path_).load().stopAt, 20) << low;
    }
    // Values in range, including targets no radio button offers, are kept.
    put("[Two-Phase-Algorithm]\nstopAt=16\nautoTime=1\n[WebServer]\nport=100\n[Autorun]\nnThreads=32\n");
    v = Settings(path_).load();
    EXPECT_EQ(v.stopAt, 16);
    EXPECT_EQ(v.autoTime, 1);
    EXPECT_EQ(v.port, 100);
    EXPECT_EQ(v.nThreads, 32);
    put("[Two-Phase-Algorithm]\nstopAt=25\n");
    EXPECT_EQ(Settings(path_).load().stopAt, 25);
}

// The user hears once per session that changes are not kept; by default on stderr.
TEST_F(SettingsFile, AFailedWriteIsToldOnce) {
    const fs::path temp = temporaryNameFor(path_, ::getpid());
    fs::create_directory(temp);  // makes every write fail
    {
        Settings s(path_);
        std::vector<std::string> told;
        s.setWriteFailureReporter([&](const std::string& text) { told.push_back(text); });
        EXPECT_FALSE(s.writeNThreads(2));
        EXPECT_FALSE(s.writeStopAt(18));
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(path_.string()), std::string::npos) << told[0];
        EXPECT_NE(told[0].find("could not be saved"), std::string::npos) << told[0];
        EXPECT_EQ(s.load().stopAt, 18) << "the change lasts for the session";
    }
    Settings plain(path_);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(plain.writeNThreads(4));
    EXPECT_FALSE(plain.writeNThreads(8));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("could not be saved"), std::string::npos) << err;
    EXPECT_EQ(err.find("could not be saved"), err.rfind("could not be saved")) << err;
    fs::remove(temp);
}

TEST_F(SettingsFile, RandomWritesRoundTrip) {
    std::mt19937 rng(7);
    const std::array<std::string, 3> sections = {"Color Scheme", "Two-Phase-Algorithm", "Odd [Name]"};
    const std::array<std::string, 4> keys = {"a", "B", "key with blank", "x"};
    std::map<std::pair<int, int>, int> expected;
    Settings s(path_);
    for (int i = 0; i < 200; ++i) {
        int sec = static_cast<int>(rng() % sections.size());
        int key = static_cast<int>(rng() % keys.size());
        int value = static_cast<int>(static_cast<std::int64_t>(rng()) - (std::int64_t(1) << 31));
        ASSERT_TRUE(s.writeInt(sections[sec], keys[key], value));
        expected[{sec, key}] = value;
    }
    Settings again(path_);
    for (const auto& [where, value] : expected)
        EXPECT_EQ(again.readInt(sections[where.first], keys[where.second], 0), value);
}

}  // namespace
}  // namespace tx
