// The main window's side of the coset explorer: the window made with the other dialogs, and
// the cube menu's RunCosetExplorer, offered while the huge table is loaded and no explorer is
// open.
#include "server/qt_events.hpp"
#include "ui/coset_window.hpp"
#include "ui/main_window.hpp"
#include "ui/maneuver_window.hpp"
#include "ui/table_service.hpp"
#include "workspace/cube_list.hpp"

namespace tx::ui {

void TForm1::createCosetExplorer() {
    coset_ = new TCoset(*events_, *prompts_, *list_, this);
    coset_->listCommand = [this](const std::function<void()>& command) { listCommand(command); };
    maneuverWindow_->cosetExplorerAvailable = [this] {
        return startedUp_ && !busy_ && tables_->hasHuge() && !coset_->open();
    };
    maneuverWindow_->runCosetExplorer = [this](int index) {
        if (maneuverWindow_->cosetExplorerAvailable()) coset_->run(list_->at(index).cube, tables_->current());
    };
}

}  // namespace tx::ui
