// The Options menu's switches that reload tables (search mode, centre orientation, the huge
// table of the optimal solver) and the centre dialog.
#include <QAction>

#include "ui/center_dlg.hpp"
#include "ui/editor_page.hpp"
#include "ui/main_window.hpp"
#include "ui/opt_option_form.hpp"
#include "ui/table_service.hpp"
#include "workspace/facelet_editor.hpp"

namespace tx::ui {

void TForm1::allowSliceMovesClick(bool checked) {
    if (refuseWhileBusy() || !isListEmpty()) {
        if (!busy_) prompts_->message(kSliceSwitchRefused, "Options Menu", Icon::Warning);
        updateMenuItems();  // the check mark goes back
        return;
    }
    links_.search->sliceMode = checked;  // also the metric letter: "s" or "f"
    setBusy(true);
    tables_->switchMode(checked, *links_.fixCenterFacelets);
    // A table that could not be made for the new move set takes its option along.
    if (*links_.fixCenterFacelets && !tables_->hasCenter()) applyCenterState(false);
    hugeModeFollowsTable();
    setBusy(false);  // also after a failed load
    emit tablesChanged();
}

void TForm1::fixCenterFaceletsClick(bool checked) {
    if (refuseWhileBusy()) {
        updateMenuItems();
        return;
    }
    bool on = false;
    if (checked) {
        if (prompts_->ask({kCenterTablesQuestion, "", Icon::Warning, Buttons::YesNo}) == Answer::Yes) {
            setBusy(true);
            on = tables_->loadCenterTables() && tables_->hasCenter();
            setBusy(false);  // also after a failed or declined build
        }
    } else {
        tables_->freeCenterTables();
    }
    applyCenterState(on);
    emit tablesChanged();
}

// The editor cube's centre flag, EditCenters and the centre dialog follow the switch.
void TForm1::applyCenterState(bool on) {
    *links_.fixCenterFacelets = on;
    editor_->setCentersCount(on);  // switching off closes the dialog as its "Ok" does
    if (!on) centerDlg_->hide();
    updateMenuItems();
    editorPage_->refresh();
}

void TForm1::hugeSolverClick() {
    if (refuseWhileBusy()) return;
    optOptionForm_->showFor(isListEmpty(), links_.search->hugeMode);
}

void TForm1::hugeOptionOk(bool useHuge) {
    if (!useHuge || tables_->hasHuge()) {
        links_.search->hugeMode = useHuge;
        return;
    }
    if (refuseWhileBusy()) {
        hugeModeFollowsTable();
        return;
    }
    setBusy(true);
    tables_->loadHugeTable();  // tells the user itself when it fails or is declined
    links_.search->hugeMode = tables_->hasHuge();
    optOptionForm_->setHugeMode(links_.search->hugeMode);
    setBusy(false);
    emit tablesChanged();
}

// Huge mode without the huge table in memory is switched off.
void TForm1::hugeModeFollowsTable() {
    if (!tables_->hasHuge()) links_.search->hugeMode = false;
    optOptionForm_->setHugeMode(links_.search->hugeMode);
}

void TForm1::openCenterDialog() {
    if (!editor_->cube().centersCount) return;
    editor_->openCenterDialog();
    centerDlg_->sync();
    editorPage_->refresh();  // face and add buttons wait for "Ok"
    centerDlg_->show();
    centerDlg_->raise();
}

void TForm1::centerDialogOk() {
    editor_->closeCenterDialog();
    editorPage_->refresh();
}

// Empty, clear and random close the dialog in the model; other changes (rotations, the
// maneuver field, painting) may move the centres or change the parity the dialog shows.
void TForm1::centerDialogFollowsEditor() {
    if (!centerDlg_->isVisible()) return;
    if (!editor_->centerDialogOpen())
        centerDlg_->hide();
    else
        centerDlg_->sync();
}

}  // namespace tx::ui
