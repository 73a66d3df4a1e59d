#pragma once
// Where the switches of the Options menu and the two options dialogs live. The window keeps
// its own copies (OwnOptions) until the cube list holds them; linking copies the current
// values over, so nothing the user chose is lost when the home changes.
#include "solver/search_context.hpp"

namespace tx::ui {

struct OptionLinks {
    SearchContext* search = nullptr;  // stopAt, triple, sliceMode, hugeMode, freeThreadsOnTerminate
    bool* ignoreIsoOnLoad = nullptr;
    bool* isoInvInclude = nullptr;
    bool* fixCenterFacelets = nullptr;

    bool complete() const { return search && ignoreIsoOnLoad && isoInvInclude && fixCenterFacelets; }
};

struct OwnOptions {
    SearchContext search;
    bool ignoreIsoOnLoad = false;
    bool isoInvInclude = false;
    bool fixCenterFacelets = false;

    OptionLinks links() { return {&search, &ignoreIsoOnLoad, &isoInvInclude, &fixCenterFacelets}; }
};

// Copies the option values (not the hooks or the event queue of the search context).
inline void copyOptionValues(const OptionLinks& from, const OptionLinks& to) {
    to.search->stopAt = from.search->stopAt;
    to.search->triple = from.search->triple;
    to.search->sliceMode = from.search->sliceMode;
    to.search->hugeMode = from.search->hugeMode;
    to.search->freeThreadsOnTerminate = from.search->freeThreadsOnTerminate;
    *to.ignoreIsoOnLoad = *from.ignoreIsoOnLoad;
    *to.isoInvInclude = *from.isoInvInclude;
    *to.fixCenterFacelets = *from.fixCenterFacelets;
}

}  // namespace tx::ui
