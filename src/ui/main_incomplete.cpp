// The main window's side of the search for partially defined cubes: the facelet editor's add
// buttons hand it such cubes, and it adds what the user keeps to the list.
#include "server/qt_events.hpp"
#include "ui/incomplete.hpp"
#include "ui/main_window.hpp"
#include "ui/maneuver_window.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx::ui {

void TForm1::createIncomplete() {
    TIncomplete::Links links;
    links.tables = tables_;
    links.events = events_.get();
    links.prompts = prompts_;
    links.list = list_.get();
    links.listCommand = [this](const std::function<void()>& command) { listCommand(command); };
    links.busy = [this](bool on) { setBusy(on); };
    incomplete_ = new TIncomplete(std::move(links), this);
}

void TForm1::openIncomplete() { incomplete_->startFor(editor_->cube()); }

}  // namespace tx::ui
