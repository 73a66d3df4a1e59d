// The cube list: construction, caption and window hooks, texts derived from entries, the
// quick save, menu enabling and the simple row controls.
#include "workspace/cube_list.hpp"

#include "cube/notation.hpp"
#include "platform/atomic_file.hpp"
#include "solver/drivers.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/workspace_file.hpp"

namespace tx {

std::string generatorText(const Entry& e) { return inverseManeuver(e.solverText); }
std::string optimalGeneratorText(const Entry& e) {
    return e.optimalIsStatus() ? e.optimalText : inverseManeuver(e.optimalText);
}

CubeList::CubeList(Events& events, Prompts& prompts) : events_(&events), prompts_(&prompts) {
    entries_.reserve(10);
    iso_.reserve(10);
    context_.events = &events;
    notices_.changed = [this](Entry&) { repaint(); };
    notices_.modified = [this] { modified = true; };
    notices_.ended = [this](Entry& e) {
        optimalRunning_.erase(&e);
        repaint();
    };
}

CubeList::~CubeList() { shutdown(); }

std::string CubeList::caption() const {
    return std::filesystem::path(workspaceFile).filename().string() + " - " + kProductName;
}

void CubeList::showCaption(const std::string& prefix) {
    if (hooks.setCaption) hooks.setCaption(prefix + caption());
}

void CubeList::pump() {
    if (hooks.pump) hooks.pump();
}

void CubeList::repaint() {
    if (hooks.repaint) hooks.repaint();
}

// ---------------------------------------------------------------- texts

std::string CubeList::solverClipboardText(int index) const {
    const Entry& e = at(index);
    if (!e.hasOptimalText()) return e.solverText;
    return e.optimalText;
}

std::string CubeList::generatorClipboardText(int index) const {
    const Entry& e = at(index);
    if (!e.hasOptimalText()) return generatorText(e);
    return optimalGeneratorText(e);
}

std::string CubeList::rowManeuverText(int index) const {
    const Entry& e = at(index);
    if (e.useOptimal) return e.showSolver ? e.optimalText : optimalGeneratorText(e);
    return e.showSolver ? e.solverText : generatorText(e);
}

bool CubeList::quickSave(const std::filesystem::path& folder) {
    if (entries_.empty()) return false;
    const Entry& e = *entries_.back();
    const std::string text = cutLengthMark(e.hasOptimalText() ? e.optimalText : e.solverText);
    return writeFileAtomically(folder / kQuickSaveFile, text).ok;
}

// ---------------------------------------------------------------- menu enabling

bool CubeList::copyEnabled(int index) const {
    const Entry& e = at(index);
    return !e.solverText.empty() || e.hasOptimalText();
}

// ---------------------------------------------------------------- row controls

void CubeList::toggleShowSolver(int index) {
    Entry& e = at(index);
    e.showSolver = !e.showSolver;
    repaint();
}

void CubeList::setPatternName(int index, const std::string& name) {
    Entry& e = at(index);
    if (e.patternName == name) return;
    e.patternName = name;
    modified = true;  // a renamed entry is an unsaved change
}

void CubeList::transferToEditor(int index, FaceletEditor& editor) {
    const Entry& e = at(index);
    editor.cube().f = e.cube.f;
    editor.cube().centerOri = e.cube.centerOri;
    if (hooks.repaintEditor) hooks.repaintEditor();
    if (hooks.showEditorPage) hooks.showEditorPage();
}

}  // namespace tx
