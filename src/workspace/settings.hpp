#pragma once
// The settings file cube.ini: an ordinary INI file with five sections. Values are decimal
// integers, Booleans are 1 or 0 and read back as true for any non-zero integer; a missing
// file, section or key, or a value that is not a number, reads as the default.
//
// Every write rewrites the whole file at once through a temporary file in the same folder
// and a rename, so a crash never leaves a half-written cube.ini. Lines the program does not
// know (other sections, other keys, comments) are kept as they are.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tx {

// Section and key names, spelled exactly as they appear in the file.
namespace ini {
inline constexpr std::string_view kColorScheme = "Color Scheme";
inline constexpr std::array<std::string_view, 7> kColorKeys = {
    "UColor", "RColor", "FColor", "DColor", "LColor", "BColor", "FreeColor"};
inline constexpr std::array<std::uint32_t, 7> kDefaultColors = {
    16711680, 65535, 255, 32768, 16777215, 33023, 8421504};

inline constexpr std::string_view kFaceletEditor = "Faclet Editor";
inline constexpr std::string_view kAutoFix = "AutoFix";

inline constexpr std::string_view kTwoPhase = "Two-Phase-Algorithm";
inline constexpr std::string_view kStopAt = "stopAt";
inline constexpr std::string_view kTripleSearch = "TripleSearch";
inline constexpr std::string_view kFastSearch = "FastSearch";
inline constexpr std::string_view kAutoTime = "autoTime";

inline constexpr std::string_view kWebServer = "WebServer";
inline constexpr std::string_view kPort = "port";
inline constexpr std::string_view kEnabled = "enabled";
inline constexpr std::string_view kWriteToFile = "writeToFile";

inline constexpr std::string_view kAutorun = "Autorun";
inline constexpr std::string_view kNThreads = "nThreads";

// The values a setting may take; a stored value outside its range reads as the default. A
// target below 16 would keep the two-phase search (and every web request) running for hours,
// a port outside 100..64000 is refused when typed, and the timer and the thread count need a
// sensible positive value.
struct Range {
    int low, high;
    bool contains(int v) const { return v >= low && v <= high; }
};
inline constexpr Range kStopAtRange{16, 30};
inline constexpr Range kAutoTimeRange{1, 60000};
inline constexpr Range kPortRange{100, 64000};
inline constexpr Range kNThreadsRange{1, 32};
}  // namespace ini

// Every stored setting with its default, as read from the file (values out of range read as
// the default).
struct SettingsValues {
    std::array<std::uint32_t, 7> colors = ini::kDefaultColors;  // U R F D L B free, 0x00BBGGRR
    bool autoFix = true;
    int stopAt = 20;
    bool tripleSearch = false;
    bool fastSearch = false;  // new entries' searches start with the fast engine
    int autoTime = 10;  // milliseconds; read only
    int port = 8080;
    bool serverEnabled = false;
    bool writeToFile = false;  // on only when the stored value is exactly 1
    int nThreads = 8;
};

// Parses a whole decimal integer (optional sign, surrounding blanks allowed); nullopt when
// the text is empty, not a number, or out of the int range.
std::optional<int> parseIniInt(std::string_view text);

class Settings {
public:
    // Reads the file if it exists; a missing or unreadable file means all defaults.
    explicit Settings(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    // The same, but a value outside `range` reads as the default too.
    int readInt(std::string_view section, std::string_view key, int defaultValue, ini::Range range) const;
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
    // Raw value text of a key, nullopt when the section or key is missing.
    std::optional<std::string> readString(std::string_view section, std::string_view key) const;

    // Each write stores the value and rewrites the file at once; false when the file could
    // not be written (the value is still kept in memory for this session). The first failure
    // of a session is told through the reporter, later ones are not: the user has heard that
    // changes are not kept, and a message per click would only get in the way.
    bool writeInt(std::string_view section, std::string_view key, int value);
    bool writeBool(std::string_view section, std::string_view key, bool value);
    // Text values (file names) for the desktop's own section; a line break is refused.
    bool writeString(std::string_view section, std::string_view key, const std::string& value);

    // Receives the one message about a failed write: by default a line on stderr (command line,
    // server); the desktop program shows a message. Called without the settings lock held.
    void setWriteFailureReporter(std::function<void(const std::string&)> reporter);

    // The typed view of every key and the typed writers, so callers never spell key names.
    SettingsValues load() const;
    std::uint32_t color(int index) const;  // 0..6; out-of-range stored values read as default
    bool writeColor(int index, std::uint32_t color);
    bool writeAutoFix(bool on);
    bool writeStopAt(int length);
    bool writeTripleSearch(bool on);
    bool writeFastSearch(bool on);
    bool writePort(int port);
    bool writeServerEnabled(bool on);
    bool writeWriteToFile(bool on);
    bool writeNThreads(int count);

private:
    struct Line {
        std::string text;  // the line as read, or as the program writes it
        std::string key;   // trimmed key of a "key=value" line, empty otherwise
    };
    struct Section {
        std::string name;        // empty for lines before the first section header
        std::vector<Line> lines; // header line excluded
    };

    void parse(const std::string& content);
    std::string serialize() const;
    std::string save() const;  // the error, or empty when written
    const Line* find(std::string_view section, std::string_view key) const;
    bool write(std::string_view section, std::string_view key, const std::string& value);
    std::string store(std::string_view section, std::string_view key, const std::string& value);
    void set(std::string_view section, std::string_view key, const std::string& value);  // in memory only

    std::filesystem::path path_;
    std::vector<Section> sections_;
    std::string eol_ = "\n";
    mutable std::mutex mutex_;
    std::function<void(const std::string&)> reporter_;
    bool failureReported_ = false;
    struct Unsaved {
        std::string section, key, value;
    };
    std::vector<Unsaved> unsaved_;  // values whose writes failed, laid over the file at every write
};

}  // namespace tx
