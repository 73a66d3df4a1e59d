// The cube menu of the maneuver window: opened by a right click on a cube picture, it acts
// on that entry (rotations, reflection, inversion, clipboard copies, removal, transfer to
// the facelet editor, transfer to the symmetry page, the coset explorer); symmetries are
// applied from the symmetry page.
#include <QAction>
#include <QMenu>

#include "ui/maneuver_window.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx::ui {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

}  // namespace

void ManeuverWindow::buildCubeMenu() {
    cubeMenu_ = new QMenu(this);
    cubeMenu_->setObjectName("CubeMenu");
    struct Item {
        const char* name;
        const char* caption;
        std::function<void(int)> command;
    };
    const Item transforms[] = {
        {"rotUD", "Rotate 90\u00b0 about the U-D Axis", [this](int i) { list_.transformEntry(i, 2); }},
        {"RotURF", "Rotate 120\u00b0 about the URF-DBL Axis", [this](int i) { list_.transformEntry(i, 0); }},
        {"RotFB", "Rotate 180\u00b0 about the F-B Axis", [this](int i) { list_.transformEntry(i, 1); }},
        {"RefRL", "Reflect at the R-L Plane", [this](int i) { list_.transformEntry(i, 3); }},
        {"Invert1", "&Invert Cube", [this](int i) { list_.invertEntry(i); }},
    };
    const Item copies[] = {
        {"CopySolverToClipboard", "Copy &Solver Maneuver to Clipboard",
         [this](int i) { copyToClipboard(QString::fromStdString(list_.solverClipboardText(i))); }},
        {"CopyGeneratortoClipboard", "Copy &Generator Maneuver to Clipboard",
         [this](int i) { copyToClipboard(QString::fromStdString(list_.generatorClipboardText(i))); }},
    };
    const Item others[] = {
        {"RemoveCube1", "&Remove Cube",
         [this](int i) {
             if (removeCube)
                 removeCube(i);
             else
                 list_.removeEntry(i);
         }},
        {"TransferCubetoFaceletEditor1", "&Transfer Cube to Facelet Editor", [this](int i) { transferToEditor(i); }},
    };
    auto add = [this](const Item& item) {
        const auto command = item.command;
        connect(addItem(cubeMenu_, item.name, tr(item.caption)), &QAction::triggered, this,
                [this, command] { cubeCommand(command); });
    };
    for (const Item& item : transforms) add(item);
    cubeMenu_->addSeparator();
    for (const Item& item : copies) add(item);
    cubeMenu_->addSeparator();
    for (const Item& item : others) add(item);
    cubeMenu_->addSeparator();
    connect(addItem(cubeMenu_, "MTransferSym", tr("Transfer Cube to S&ymmetry Page")), &QAction::triggered, this,
            [this] { cubeCommand([this](int i) { emit symmetryTransferRequested(i); }); });
    connect(addItem(cubeMenu_, "RunCosetExplorer", tr("Run &Coset Explorer for this Cube")), &QAction::triggered,
            this, [this] {
                if (runCosetExplorer) cubeCommand(runCosetExplorer);
            });
    addItem(cubeMenu_, "MIApplySymToSel", tr("&Apply Symmetry to Selected Cubes"))->setEnabled(false);
}

// Evaluated when the menu opens.
void ManeuverWindow::updateCubeMenu(int index) {
    const bool copy = list_.copyEnabled(index);
    cubeMenu_->findChild<QAction*>("CopySolverToClipboard")->setEnabled(copy);
    cubeMenu_->findChild<QAction*>("CopyGeneratortoClipboard")->setEnabled(copy);
    cubeMenu_->findChild<QAction*>("MTransferSym")->setEnabled(symmetryTransferEnabled_);
    cubeMenu_->findChild<QAction*>("RunCosetExplorer")->setEnabled(cosetExplorerAvailable && cosetExplorerAvailable());
    cubeMenu_->findChild<QAction*>("MIApplySymToSel")->setEnabled(false);
}

void ManeuverWindow::openCubeMenu(int index, const QPoint& globalPos) {
    if (index < 0 || index >= static_cast<int>(list_.size())) return;
    menuEntry_ = list_.entries()[static_cast<std::size_t>(index)];
    menuIndexHint_ = index;
    updateCubeMenu(index);
    cubeMenu_->popup(globalPos);
}

// The entry is held by a weak reference: while the menu is open, the web server may clear
// the list or a search may end, and the menu must act on the entry it was opened for.
int ManeuverWindow::cubeMenuEntry() const {
    const std::shared_ptr<Entry> e = menuEntry_.lock();
    if (!e || e->removed) return -1;
    const auto& entries = list_.entries();
    if (menuIndexHint_ >= 0 && menuIndexHint_ < static_cast<int>(entries.size()) &&
        entries[static_cast<std::size_t>(menuIndexHint_)] == e)
        return menuIndexHint_;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == e) return static_cast<int>(i);
    return -1;
}

void ManeuverWindow::cubeCommand(const std::function<void(int)>& command) {
    runOperation([&] {
        const int i = cubeMenuEntry();
        if (i >= 0) command(i);
    });
}

void ManeuverWindow::transferToEditor(int index) {
    list_.transferToEditor(index, editor_);
}

}  // namespace tx::ui
