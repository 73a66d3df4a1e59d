#pragma once
// The workspace file: one line per entry, each the maneuver that generates the cube (the
// optimal one when proven) or the cube's 48 edge and corner facelets, and an optional name
// after "   //". Lines end in CR LF; the reader also takes LF alone and a last line without
// a line end.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/entry.hpp"

namespace tx {

class CubeList;

// Longest line the reader takes before its LF.
inline constexpr std::size_t kMaxLineLength = 298;

// The 48 letters of a facelet line, a blank after every piece; "N" for a facelet without
// a colour.
std::string faceletLineText(const FaceletCube& cube);

// Applies the maneuver part of a line to the cube and answers the number of moves; a part
// that lists 48 facelets sets them instead and answers 0.
int applyWorkspaceManeuver(FaceletCube& cube, std::string_view part);

// The line for an entry, without line end. asFacelets (if given) is set when the entry's
// maneuver could not be written so that it reads back as the entry's cube, and the facelets
// were written instead.
std::string workspaceLine(const Entry& e, char metricLetter, bool* asFacelets = nullptr);

// The entry a line describes (not yet in any list).
std::shared_ptr<Entry> parseWorkspaceLine(std::string_view line, char metricLetter);

struct SaveResult {
    bool ok = false;
    bool cancelled = false;  // Escape while the lines were made: nothing was written
    int asFacelets = 0;  // entries written by their facelets instead of their maneuver
    std::string error;
};
// SaveWorkspace1 with the chosen file. A long list shows its progress in the caption and
// lets the window process events; changes made meanwhile leave the list marked unsaved.
SaveResult saveWorkspace(CubeList& list, const std::filesystem::path& file);

struct LoadResult {
    bool opened = false;
    bool declined = false;    // a question was answered Cancel or No
    bool cancelled = false;   // Escape
    bool tooLong = false;     // a line over the limit ended the load
    int lines = 0;            // lines read
    int added = 0;            // entries added
    int stoppedAtLine = 0;    // 1-based line at which an unfinished load stopped, 0 otherwise
    std::string error;
};
// LoadWorkspace1 with the chosen file.
LoadResult loadWorkspace(CubeList& list, const std::filesystem::path& file);

}  // namespace tx
