#pragma once
// What the main window does with the whole cube list: the statistics window, autorun (its
// two menu items, its timer, the label `AutoRunIdx` and the setup dialog), the web pages and
// printing. The window creates it while building its menus; it adds its items to the File
// menu, the Cubes menu and a menu of its own.
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPrinter;

namespace tx {
class Autorun;
}

namespace tx::ui {

class TForm1;
class TOptimalBatch;
class TStats;

inline constexpr const char* kOptimalAutorunOn = "Sta&rt Autorun for Optimal Solver";
inline constexpr const char* kOptimalAutorunOff = "Stop Autorun for Optimal Solver";
inline constexpr const char* kTwoPhaseAutorunOn = "St&art Autorun for Two-Phase-Solver";
inline constexpr const char* kTwoPhaseAutorunOff = "St&op Autorun for Two-Phase-Solver";

class ListReports : public QObject {
    Q_OBJECT
public:
    explicit ListReports(TForm1& form);
    ~ListReports() override;

    // The window creates its dialogs in a fixed order: the statistics window after the start
    // dialog, the autorun setup (which reads "nThreads") last.
    void createStatsWindow();
    void createAutorunSetup();

    // SaveasHtml1, the modern page, PrintMainWindow, PrintSelectedCubes, PrinterSetup1; their
    // enabling follows the list whenever the menu opens.
    void addFileItems(QMenu* file);
    // GenerateStatistics1.
    void addCubesItems(QMenu* cubes);
    // The autorun menu: both autorun switches and MaximumNumber1.
    void addAutorunMenu();

    TStats* stats() const { return stats_; }
    TOptimalBatch* optimalBatch() const { return optimalBatch_; }
    Autorun& autorun() { return *autorun_; }
    QTimer& autorunTimer() { return autorunTimer_; }
    QLabel* autorunLabel() const { return autorunLabel_; }
    // The printer PrintMainWindow and PrintSelectedCubes print on.
    QPrinter& printer();

    // The save dialogs of the pages: the chosen file, or empty when cancelled. Tests put in
    // their own choice, as they do for the printer setup dialog (true when accepted).
    std::function<QString(bool modern, const QString& suggested)> chooseHtmlFile;
    std::function<bool(QPrinter&)> setUpPrinter;

    void generateStatistics();
    void toggleAutorun(bool optimal);
    // One tick of the autorun timer.
    void autorunStep();
    bool saveHtml(bool modern);
    bool print(bool selectedOnly);
    void printerSetup();
    void updateItems();

private:
    QAction* item(QMenu* menu, const char* name, const QString& caption);
    void showAutorunState();
    bool searchesMayStart() const;

    TForm1& form_;
    std::unique_ptr<Autorun> autorun_;
    std::unique_ptr<QPrinter> printer_;
    QTimer autorunTimer_;
    TStats* stats_ = nullptr;
    TOptimalBatch* optimalBatch_ = nullptr;
    QLabel* autorunLabel_ = nullptr;
    QAction* optimalAutorun_ = nullptr;
    QAction* twoPhaseAutorun_ = nullptr;
};

}  // namespace tx::ui
