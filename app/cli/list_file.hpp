#pragma once
// The report commands (stats, export-html, print) read a workspace file into a cube list of
// their own, without tables or searches, and take the colour scheme from cube.ini.
#include <cstdio>
#include <optional>
#include <string>

#include "command.hpp"
#include "platform/data_folder.hpp"
#include "platform/events.hpp"
#include "platform/prompts.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/settings.hpp"
#include "workspace/workspace_file.hpp"

namespace tx::cli {

// Loading asks nothing of an empty list; what it says is reported by the command itself.
class QuietPrompts : public Prompts {
public:
    Answer ask(const Prompt& prompt) override { return prompt.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string& text) override {
        return text;
    }
};

struct ListFile {
    QueueEvents events;
    QuietPrompts prompts;
    CubeList list{events, prompts};
};

// Loads file into the list (the metric of slice mode when slice is set). Answers kExitOk, or
// the exit code after one line on stderr: 2 when the file cannot be read, 1 when it is no
// valid workspace file.
inline int loadListFile(const char* command, ListFile& into, const std::string& file, bool slice) {
    into.list.context().sliceMode = slice;
    const LoadResult r = loadWorkspace(into.list, file);
    if (!r.opened) {
        std::fprintf(stderr, "tesserix-cli %s: %s\n", command, r.error.c_str());
        return kExitError;
    }
    if (r.tooLong) {
        std::fprintf(stderr, "tesserix-cli %s: %s: line %d is longer than %zu characters; no valid workspace file\n",
                     command, file.c_str(), r.stoppedAtLine, kMaxLineLength);
        return kExitInvalid;
    }
    if (!r.error.empty()) {
        std::fprintf(stderr, "tesserix-cli %s: %s: %s\n", command, file.c_str(), r.error.c_str());
        return kExitError;
    }
    return kExitOk;
}

// The colour scheme of cube.ini in the data folder (--data-dir, $TESSERIX_DATA or the
// program's folder); the default scheme when there is no such file.
inline ColorScheme schemeOf(const std::string& dataDir) {
    const DataFolder data = resolveDataFolder(dataDir.empty() ? std::nullopt : std::optional<std::string>(dataDir));
    Settings settings(data.path / "cube.ini");
    const FaceletEditor editor(&settings);
    return editor.scheme();
}

}  // namespace tx::cli
