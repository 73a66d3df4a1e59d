// The desktop program: the main window on the data folder (--data-dir DIR, else
// $TESSERIX_DATA, else the program's folder or its fallback).
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <optional>
#include <string>

#include "command_line.hpp"
#include "platform/data_folder.hpp"
#include "solver/search_thread.hpp"
#include "ui/main_window.hpp"

int main(int argc, char* argv[]) {
    if (const auto exitCode = tx::app::answerInfoOptions(argc, argv)) return *exitCode;
    QApplication app(argc, argv);
    tx::useIdleSchedulingForSearches(true);
    QApplication::setApplicationName("Tesserix");
    QApplication::setApplicationVersion(tx::app::kProjectVersion);

    QCommandLineParser parser;
    parser.setApplicationDescription("Tesserix, a workbench for the 3x3x3 cube");
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dataDir("data-dir", "Folder for cube.ini and the table files.", "DIR");
    parser.addOption(dataDir);
    parser.process(app);

    std::optional<std::string> explicitDir;
    if (parser.isSet(dataDir)) explicitDir = parser.value(dataDir).toStdString();
    const tx::DataFolder folder = tx::resolveDataFolder(explicitDir);
    // Relative file names (the web server's answer file, the quick-save file) land in the
    // data folder, beside cube.ini and the tables.
    QDir::setCurrent(QString::fromStdString(folder.path.string()));

    tx::ui::TForm1::Options options;
    options.dataFolder = folder.path;
    options.startUpNote = folder.note;
    tx::ui::TForm1 window(options);  // sized as it was left, or to fit the screen
    window.show();
    return app.exec();
}
