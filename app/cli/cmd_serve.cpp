// tesserix-cli serve: the web server on a headless session. Loads the tables, keeps a cube
// list of its own and answers HTTP requests until SIGINT or SIGTERM.
#ifdef TESSERIX_HAS_SERVER

#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>

#include "command.hpp"
#include "console.hpp"
#include "numbers.hpp"
#include "platform/data_folder.hpp"
#include "platform/prompts.hpp"
#include "server/list_backend.hpp"
#include "server/qt_events.hpp"
#include "server/web_server.hpp"
#include "server/webcam_port.hpp"
#include "tables/loader.hpp"
#include "workspace/cube_list.hpp"
#include "workspace/facelet_editor.hpp"
#include "workspace/settings.hpp"

namespace tx::cli {
namespace {

constexpr const char* kName = "serve";

// A signal only writes a byte here; the event loop reads it and quits.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

// The list never asks anything while serving; should it say something, it goes to stderr.
void toStderr(const Prompt& prompt) {
    std::fprintf(stderr, "serve: %s\n", prompt.text.c_str());
}

void usage() {
    std::printf(
        "usage: tesserix-cli serve [--port P] [--bind ADDRESS] [--write-to-file] [--work-dir DIR]\n"
        "                          [--stop-at N] [--data-dir DIR] [--yes]\n"
        "Answers HTTP requests as the desktop program's web server does (facelet strings,\n"
        "?getLast, ?clear, ?status, ...) with a cube list of its own, until interrupted.\n"
        "The port (default 8080), \"writeToFile\" and the target length come from section\n"
        "WebServer and Two-Phase-Algorithm of cube.ini in the data folder unless given; port 0\n"
        "lets the system choose. --bind limits the server to one address (default: all).\n"
        "Files and webserv_ans.txt are in --work-dir, by default the current folder. The address\n"
        "and port listened on are printed to stderr.\n");
}

int runServe(const Args& given) {
    Args args = given;
    if (takeFlag(args, "--help")) {
        usage();
        return kExitOk;
    }
    const bool yes = takeFlag(args, "--yes");
    const bool writeToFileFlag = takeFlag(args, "--write-to-file");
    const std::string dataDir = takeOption(args, "--data-dir", "");
    const auto portOption = takeWholeOption(args, kName, "--port", -1, 0, 65535);  // -1: from cube.ini
    const std::string bindText = takeOption(args, "--bind", "");
    const std::string folder = takeOption(args, "--work-dir", "");
    const auto stopAtOption = takeWholeOption(args, kName, "--stop-at", -1, 1, 30);
    if (!portOption || !stopAtOption) return kExitError;
    if (!args.empty()) {
        std::fprintf(stderr, "%s: unexpected argument '%s'\n", kName, args[0].c_str());
        return kExitError;
    }

    const DataFolder data = resolveDataFolder(dataDir.empty() ? std::nullopt : std::optional<std::string>(dataDir));
    if (!data.note.empty()) std::fprintf(stderr, "%s\n", data.note.c_str());
    const SettingsValues values = Settings(data.path / "cube.ini").load();

    const int port = *portOption >= 0 ? static_cast<int>(*portOption) : values.port;
    const int stopAt = *stopAtOption >= 0 ? static_cast<int>(*stopAtOption) : values.stopAt;
    QHostAddress address(QHostAddress::Any);
    if (!bindText.empty() && !address.setAddress(QString::fromStdString(bindText))) {
        std::fprintf(stderr, "%s: '%s' is not an IP address\n", kName, bindText.c_str());
        return kExitError;
    }

    FixedTables tables;
    {
        ConsoleProgress progress;
        ConsolePrompts prompts(yes);
        TableLoader loader(data.path, progress, prompts);
        if (loader.startUp(false, false) != StartResult::Ready) {
            std::fprintf(stderr, "%s: the tables are not available\n", kName);
            return kExitError;
        }
        tables = FixedTables(loader.current());
    }

    int argc = 1;
    char appName[] = "tesserix-cli";
    char* argv[] = {appName, nullptr};
    QCoreApplication app(argc, argv);

    QtEvents events;
    AutoPrompts listPrompts(Answer::Yes, toStderr);
    CubeList list(events, listPrompts);
    list.context().tables = &tables;
    list.context().stopAt = stopAt;
    list.context().triple = values.tripleSearch;
    list.hooks.pump = [] { QCoreApplication::processEvents(); };
    FaceletEditor editor;
    NoCameraWebcam webcam;
    ListBackend backend(list, editor, webcam);
    WebServer server(backend, events);
    server.setPort(port);
    server.setBindAddress(address);
    server.setWriteToFile(writeToFileFlag || values.writeToFile);
    if (!folder.empty()) server.setWorkingFolder(folder);
    server.setErrorReporter([](const std::string& message) { std::fprintf(stderr, "%s: %s\n", kName, message.c_str()); });
    if (!server.open()) {
        std::fprintf(stderr, "%s: cannot listen on port %d: %s\n", kName, port,
                     server.errorString().toStdString().c_str());
        return kExitError;
    }

    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::fprintf(stderr, "%s: cannot set up the signal handling\n", kName);
        return kExitError;
    }
    struct PipeCloser {  // after the notifier below is gone
        ~PipeCloser() {
            std::signal(SIGINT, SIG_DFL);
            std::signal(SIGTERM, SIG_DFL);
            ::close(signalPipe[0]);
            ::close(signalPipe[1]);
        }
    } pipeCloser;
    QSocketNotifier quit(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quit, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    std::fprintf(stderr, "%s: listening on %s port %d, working folder %s\n", kName,
                 address.toString().toStdString().c_str(), int(server.listeningPort()),
                 server.workingFolder().string().c_str());
    std::fflush(stderr);
    app.exec();
    server.close();
    std::fprintf(stderr, "%s: stopped\n", kName);
    return kExitOk;
}

Register reg(kName, "answer HTTP requests as the web server does [--port P --bind A --write-to-file --work-dir D --stop-at N --data-dir DIR]",
             runServe);

}  // namespace
}  // namespace tx::cli

#endif  // TESSERIX_HAS_SERVER
