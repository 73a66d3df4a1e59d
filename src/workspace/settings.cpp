#include "workspace/settings.hpp"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/atomic_file.hpp"
#include "platform/text.hpp"

namespace tx {

namespace fs = std::filesystem;

namespace {

// Section and key names compare without regard to ASCII case, as INI files always have.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace

std::optional<int> parseIniInt(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

Settings::Settings(fs::path path)
    : path_(std::move(path)), reporter_([](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }) {
    if (auto content = readWholeFile(path_)) parse(*content);
}

void Settings::parse(const std::string& content) {
    sections_.clear();
    sections_.push_back({});
    eol_ = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t nl = content.find('\n', pos);
        std::string text = content.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? content.size() : nl + 1;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        std::string_view t = trim(text);
        if (!t.empty() && t.front() == '[' && t.find(']') != std::string_view::npos) {
            sections_.push_back({std::string(trim(t.substr(1, t.rfind(']') - 1))), {}});
            sections_.back().lines.push_back({text, ""});  // header kept verbatim as line 0
            continue;
        }
        Line line{text, ""};
        std::size_t eq = t.find('=');
        if (eq != std::string_view::npos && !t.empty() && t.front() != ';' && t.front() != '#')
            line.key = std::string(trim(t.substr(0, eq)));
        sections_.back().lines.push_back(std::move(line));
    }
}

std::string Settings::serialize() const {
    std::string out;
    for (const auto& section : sections_)
        for (const auto& line : section.lines) out += line.text + eol_;
    return out;
}

std::string Settings::save() const {
    const WriteResult written = writeFileAtomically(path_, serialize());
    return written.ok ? std::string() : written.error.empty() ? std::string("cannot write the file") : written.error;
}

const Settings::Line* Settings::find(std::string_view section, std::string_view key) const {
    // The first section and the first key of a name win, as with any INI reader.
    for (std::size_t s = 1; s < sections_.size(); ++s) {
        if (!sameName(sections_[s].name, section)) continue;
        for (const auto& line : sections_[s].lines)
            if (!line.key.empty() && sameName(line.key, key)) return &line;
        return nullptr;
    }
    return nullptr;
}

std::optional<std::string> Settings::readString(std::string_view section, std::string_view key) const {
    std::lock_guard lock(mutex_);
    const Line* line = find(section, key);
    if (!line) return std::nullopt;
    std::string_view t = trim(line->text);
    return std::string(trim(t.substr(t.find('=') + 1)));
}

int Settings::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    auto text = readString(section, key);
    if (!text) return defaultValue;
    return parseIniInt(*text).value_or(defaultValue);
}

int Settings::readInt(std::string_view section, std::string_view key, int defaultValue, ini::Range range) const {
    const int v = readInt(section, key, defaultValue);
    return range.contains(v) ? v : defaultValue;
}

bool Settings::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

void Settings::setWriteFailureReporter(std::function<void(const std::string&)> reporter) {
    std::lock_guard lock(mutex_);
    reporter_ = std::move(reporter);
}

bool Settings::write(std::string_view section, std::string_view key, const std::string& value) {
    const std::string error = store(section, key, value);
    if (error.empty()) return true;
    std::function<void(const std::string&)> report;
    {
        std::lock_guard lock(mutex_);
        if (!failureReported_ && reporter_) report = reporter_;
        failureReported_ |= report != nullptr;
    }
    if (report)
        report("The settings could not be saved in " + path_.string() + ": " + error +
               ". Changes to the settings last until the program ends; this is not told again.");
    return false;
}

// Stores the value and rewrites the file; the error, or empty when it was written.
std::string Settings::store(std::string_view section, std::string_view key, const std::string& value) {
    std::lock_guard lock(mutex_);
    // Merge with what is on disk now, so that keys written by another copy of the program
    // in the meantime are not lost; values whose writes failed are laid over it again.
    if (auto content = readWholeFile(path_)) parse(*content);
    for (const auto& u : unsaved_) set(u.section, u.key, u.value);
    set(section, key, value);
    std::string error = save();
    if (error.empty()) {
        unsaved_.clear();
        return error;
    }
    std::erase_if(unsaved_, [&](const Unsaved& u) { return sameName(u.section, section) && sameName(u.key, key); });
    unsaved_.push_back({std::string(section), std::string(key), value});
    return error;
}

// Sets the value in memory only.
void Settings::set(std::string_view section, std::string_view key, const std::string& value) {
    if (sections_.empty()) sections_.push_back({});
    std::string text = std::string(key) + "=" + value;
    Section* target = nullptr;
    for (std::size_t s = 1; s < sections_.size() && !target; ++s)
        if (sameName(sections_[s].name, section)) target = &sections_[s];
    if (target) {
        std::size_t insertAt = target->lines.size();
        while (insertAt > 1 && trim(target->lines[insertAt - 1].text).empty()) --insertAt;
        for (auto& line : target->lines) {
            if (!line.key.empty() && sameName(line.key, key)) {
                line.text = std::string(line.key) + "=" + value;
                return;
            }
        }
        target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                             Line{text, std::string(key)});
        return;
    }
    // A new section goes at the end, after one blank line unless the file is empty.
    auto& last = sections_.back().lines;
    if (!last.empty() && !trim(last.back().text).empty()) last.push_back({"", ""});
    Section added{std::string(section), {}};
    std::string header(1, '[');
    header.append(section).push_back(']');
    added.lines.push_back({header, ""});
    added.lines.push_back({text, std::string(key)});
    sections_.push_back(std::move(added));
}

bool Settings::writeInt(std::string_view section, std::string_view key, int value) {
    return write(section, key, std::to_string(value));
}

bool Settings::writeString(std::string_view section, std::string_view key, const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos) return false;  // one value per line
    return write(section, key, value);
}

bool Settings::writeBool(std::string_view section, std::string_view key, bool value) {
    return write(section, key, value ? "1" : "0");
}

std::uint32_t Settings::color(int index) const {
    std::uint32_t fallback = ini::kDefaultColors[static_cast<std::size_t>(index)];
    int v = readInt(ini::kColorScheme, ini::kColorKeys[static_cast<std::size_t>(index)],
                    static_cast<int>(fallback));
    // A colour is a 24-bit 0x00BBGGRR value; anything else is not a colour of ours.
    if (v < 0 || v > 0xFFFFFF) return fallback;
    return static_cast<std::uint32_t>(v);
}

SettingsValues Settings::load() const {
    SettingsValues v;
    for (int i = 0; i < 7; ++i) v.colors[static_cast<std::size_t>(i)] = color(i);
    v.autoFix = readBool(ini::kFaceletEditor, ini::kAutoFix, true);
    v.stopAt = readInt(ini::kTwoPhase, ini::kStopAt, 20, ini::kStopAtRange);
    v.tripleSearch = readBool(ini::kTwoPhase, ini::kTripleSearch, false);
    v.fastSearch = readBool(ini::kTwoPhase, ini::kFastSearch, false);
    v.autoTime = readInt(ini::kTwoPhase, ini::kAutoTime, 10, ini::kAutoTimeRange);
    v.port = readInt(ini::kWebServer, ini::kPort, 8080, ini::kPortRange);
    v.serverEnabled = readBool(ini::kWebServer, ini::kEnabled, false);
    v.writeToFile = readInt(ini::kWebServer, ini::kWriteToFile, 0) == 1;
    v.nThreads = readInt(ini::kAutorun, ini::kNThreads, 8, ini::kNThreadsRange);
    return v;
}

bool Settings::writeColor(int index, std::uint32_t color) {
    return writeInt(ini::kColorScheme, ini::kColorKeys[static_cast<std::size_t>(index)],
                    static_cast<int>(color & 0xFFFFFF));
}
bool Settings::writeAutoFix(bool on) { return writeBool(ini::kFaceletEditor, ini::kAutoFix, on); }
bool Settings::writeStopAt(int length) { return writeInt(ini::kTwoPhase, ini::kStopAt, length); }
bool Settings::writeTripleSearch(bool on) { return writeBool(ini::kTwoPhase, ini::kTripleSearch, on); }
bool Settings::writeFastSearch(bool on) { return writeBool(ini::kTwoPhase, ini::kFastSearch, on); }
bool Settings::writePort(int port) { return writeInt(ini::kWebServer, ini::kPort, port); }
bool Settings::writeServerEnabled(bool on) { return writeBool(ini::kWebServer, ini::kEnabled, on); }
bool Settings::writeWriteToFile(bool on) { return writeInt(ini::kWebServer, ini::kWriteToFile, on ? 1 : 0); }
bool Settings::writeNThreads(int count) { return writeInt(ini::kAutorun, ini::kNThreads, count); }

}  // namespace tx
