#include "ui/list_reports.hpp"

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>

#include "platform/atomic_file.hpp"
#include "ui/cube_printer.hpp"
#include "ui/main_window.hpp"
#include "ui/maneuver_window.hpp"
#include "ui/optimal_batch.hpp"
#include "ui/stats_form.hpp"
#include "workspace/autorun.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/html_page.hpp"
#include "workspace/modern_page.hpp"
#include "workspace/statistics.hpp"

namespace tx::ui {

namespace {

QString suggestedPageName(const std::string& workspaceFile, const char* suffix) {
    const QFileInfo workspace(QString::fromStdString(workspaceFile));
    return workspace.absoluteDir().filePath(workspace.completeBaseName() + suffix);
}

std::unique_ptr<QFileDialog> htmlDialog(QWidget* parent, bool modern, const QString& suggested) {
    auto dialog = std::make_unique<QFileDialog>(parent, modern ? QObject::tr("Save as Web Page (modern)")
                                                               : QObject::tr("Save as Web Page"));
    dialog->setObjectName(modern ? "SaveModernHtml" : "SaveHtml");
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QObject::tr("Web Page (*.html *.htm)"));
    dialog->setDefaultSuffix(modern ? "html" : "htm");
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    const QFileInfo file(suggested);
    dialog->setDirectory(file.absolutePath());
    dialog->selectFile(file.fileName());
    return dialog;
}

}  // namespace

ListReports::ListReports(TForm1& form) : QObject(&form), form_(form) {
    setObjectName("ListReports");
    autorun_ = std::make_unique<Autorun>(form.list());
    autorunTimer_.setObjectName("AutorunTimer");
    connect(&autorunTimer_, &QTimer::timeout, this, &ListReports::autorunStep);
    autorunLabel_ = new QLabel(&form);
    autorunLabel_->setObjectName("AutoRunIdx");
    form.statusBar()->addPermanentWidget(autorunLabel_);
    autorunLabel_->hide();

    chooseHtmlFile = [this](bool modern, const QString& suggested) {
        auto dialog = htmlDialog(&form_, modern, suggested);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    };
    setUpPrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, &form_);
        dialog.setObjectName("PrinterSetupDialog");
        dialog.setWindowTitle(tr("Printer Setup"));
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
        // The dialog only chooses the printer here; printing is the other items' work.
        for (auto* box : dialog.findChildren<QDialogButtonBox*>())
            if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText(tr("OK"));
        return dialog.exec() == QDialog::Accepted;
    };
}

ListReports::~ListReports() = default;

void ListReports::createStatsWindow() { stats_ = new TStats(&form_); }

void ListReports::createAutorunSetup() {
    optimalBatch_ = new TOptimalBatch(form_.settings(), &form_);
    autorun_->maxThreads = optimalBatch_->maxThreads();
    connect(optimalBatch_, &TOptimalBatch::maxThreadsChanged, this, [this](int count) { autorun_->maxThreads = count; });
}

QAction* ListReports::item(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void ListReports::addFileItems(QMenu* file) {
    connect(item(file, "SaveasHtml1", tr("Save as &Web Page...")), &QAction::triggered, this, [this] { saveHtml(false); });
    connect(item(file, "SaveasModernHtml1", QString::fromUtf8("Save as Web Page (modern)\u2026")), &QAction::triggered,
            this, [this] { saveHtml(true); });
    file->addSeparator();
    connect(item(file, "PrintMainWindow", tr("&Print Main Window")), &QAction::triggered, this, [this] { print(false); });
    connect(item(file, "PrintSelectedCubes", tr("Print S&elected Cubes")), &QAction::triggered, this,
            [this] { print(true); });
    connect(item(file, "PrinterSetup1", tr("P&rinter Setup...")), &QAction::triggered, this,
            &ListReports::printerSetup);
    connect(file, &QMenu::aboutToShow, this, &ListReports::updateItems);
}

void ListReports::addCubesItems(QMenu* cubes) {
    cubes->addSeparator();
    connect(item(cubes, "GenerateStatistics1", tr("&Generate Statistics")), &QAction::triggered, this,
            &ListReports::generateStatistics);
}

void ListReports::addAutorunMenu() {
    QMenu* menu = form_.menuBar()->addMenu(tr("Auto&run"));
    menu->setObjectName("Autorun1");
    optimalAutorun_ = item(menu, "StartAutomodusforOptimalSolver1", kOptimalAutorunOn);
    connect(optimalAutorun_, &QAction::triggered, this, [this] { toggleAutorun(true); });
    twoPhaseAutorun_ = item(menu, "StartAutorunforTFS", kTwoPhaseAutorunOn);
    connect(twoPhaseAutorun_, &QAction::triggered, this, [this] { toggleAutorun(false); });
    menu->addSeparator();
    connect(item(menu, "MaximumNumber1", tr("&Maximum Number of Threads...")), &QAction::triggered, this, [this] {
        optimalBatch_->show();
        optimalBatch_->raise();
        optimalBatch_->activateWindow();
    });
    connect(menu, &QMenu::aboutToShow, this, &ListReports::updateItems);
}

// The list as it stands decides: printing and saving need entries, printing the selection
// a selected entry; an autorun item is off while the other mode runs.
void ListReports::updateItems() {
    const CubeList& list = form_.list();
    auto set = [this](const char* name, bool on) {
        if (auto* a = form_.findChild<QAction*>(name)) a->setEnabled(on);
    };
    for (const char* name : {"PrintMainWindow", "SaveWorkspace1", "SaveasHtml1", "SaveasModernHtml1"})
        set(name, !list.empty());
    set("PrintSelectedCubes", list.hasSelection());
    showAutorunState();
}

void ListReports::showAutorunState() {
    if (!optimalAutorun_) return;
    const AutorunMode mode = autorun_->mode();
    optimalAutorun_->setText(mode == AutorunMode::Optimal ? kOptimalAutorunOff : kOptimalAutorunOn);
    twoPhaseAutorun_->setText(mode == AutorunMode::TwoPhase ? kTwoPhaseAutorunOff : kTwoPhaseAutorunOn);
    // Switching off is always possible; switching on only when searches may start.
    optimalAutorun_->setEnabled(mode == AutorunMode::Optimal || (mode == AutorunMode::Off && searchesMayStart()));
    twoPhaseAutorun_->setEnabled(mode == AutorunMode::TwoPhase || (mode == AutorunMode::Off && searchesMayStart()));
    autorunLabel_->setVisible(autorun_->on());
    autorunLabel_->setText(QString::fromStdString(autorun_->labelText()));
}

bool ListReports::searchesMayStart() const {
    return form_.tablesReady() && !form_.busy() && form_.searchControlsEnabled();
}

// ---------------------------------------------------------------- statistics

void ListReports::generateStatistics() {
    const CubeList& list = form_.list();
    stats_->showLines(statisticsLines(countStatistics(list.entries()), list.metricLetter()));
}

// ---------------------------------------------------------------- autorun

void ListReports::toggleAutorun(bool optimal) {
    const AutorunMode mode = optimal ? AutorunMode::Optimal : AutorunMode::TwoPhase;
    if (autorun_->mode() == mode) {
        autorunTimer_.stop();
        autorun_->switchOff();
    } else if (autorun_->mode() == AutorunMode::Off && searchesMayStart()) {
        autorunTimer_.start(optimal ? kOptimalAutorunInterval : form_.autorunInterval());
        // The first step runs at once, like every later one only outside other list commands.
        form_.maneuverWindow()->runOperation([this, mode] { autorun_->switchOn(mode); });
        if (!autorun_->on()) autorunTimer_.stop();
    }
    showAutorunState();
}

// Nothing starts while the tables are loading or another list command is running; the
// timer simply tries again at its next tick.
void ListReports::autorunStep() {
    if (!autorun_->readyToStart() || !searchesMayStart() || form_.listOperationRunning()) return;
    form_.maneuverWindow()->runOperation([this] { autorun_->step(); });
    showAutorunState();
}

// ---------------------------------------------------------------- pages and printing

bool ListReports::saveHtml(bool modern) {
    CubeList& list = form_.list();
    if (list.empty() || form_.busy() || form_.listOperationRunning()) return false;
    const QString file = chooseHtmlFile(modern, suggestedPageName(list.workspaceFile, modern ? ".html" : ".htm"));
    if (file.isEmpty()) return false;
    const std::filesystem::path path = file.toStdString();
    const std::string title = pageTitle(path);
    const std::string page = modern ? modernHtmlPage(list.entries(), title, form_.editor().scheme())
                                    : htmlPage(list.entries(), title, form_.editor().scheme());
    const WriteResult written = writeFileAtomically(path, page);
    if (!written.ok)
        form_.prompts().message("The web page could not be saved: " + written.error + ".", "Error", Icon::Error);
    return written.ok;
}

QPrinter& ListReports::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool ListReports::print(bool selectedOnly) {
    CubeList& list = form_.list();
    const auto entries = entriesToPrint(list, selectedOnly);
    if (entries.empty() || form_.busy()) return false;
    bool printed = false;
    const bool ran = form_.maneuverWindow()->runOperation([&] {
        printed = printCubes(printer(), entries, form_.editor().scheme(), [] { QCoreApplication::processEvents(); });
    });
    if (ran && !printed)
        form_.prompts().message("Printing could not start. Choose a printer, or a PDF file, in Printer Setup.", "Error",
                                Icon::Error);
    return printed;
}

void ListReports::printerSetup() { setUpPrinter(printer()); }

}  // namespace tx::ui
