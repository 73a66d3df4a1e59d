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
#include <memory>
#include <optional>
#include <string>

#include "batch_fast.hpp"
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

// A second signal ends the process at once, should the first not be heard.
void onSignal(int signal) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
    std::signal(signal, SIG_DFL);
}

// The headless list is seen only through ?getLast: it keeps the newest cubes, so that a
// server answering requests for months does not grow without bound.
constexpr std::size_t kKeptCubes = 10000;

// The list never asks anything while serving; should it say something, it goes to stderr.
void toStderr(const Prompt& prompt) {
    std::fprintf(stderr, "serve: %s\n", prompt.text.c_str());
}

void usage() {
    std::printf(
        "usage: tesserix-cli serve [--port P] [--bind ADDRESS] [--write-to-file] [--work-dir DIR]\n"
        "                          [--stop-at N] [--fast] [--data-dir DIR] [--yes]\n"
        "Answers HTTP requests as the desktop program's web server does (facelet strings,\n"
        "?getLast, ?clear, ?status, ...) with a cube list of its own, until interrupted.\n"
        "The port (default 8080), \"writeToFile\" and the target length come from section\n"
        "WebServer and Two-Phase-Algorithm of cube.ini in the data folder unless given; port 0\n"
        "lets the system choose. --bind limits the server to one address (default: all).\n"
        "Files and webserv_ans.txt are in --work-dir, by default the current folder. The address\n"
        "and port listened on are printed to stderr, then one line per connection: time, client\n"
        "address, request kind, cube or file, result (moves, bytes or error) and milliseconds.\n"
        "The list keeps the newest 10000 cubes. --fast answers with the fast engine (face turns,\n"
        "centres not counted) instead of the desktop program's improving search.\n");
}

struct ServeOptions {
    std::filesystem::path dataFolder;
    bool yes = false;
    bool writeToFile = false;
    int port = 8080;
    int stopAt = 20;
    bool triple = false;
    bool fast = false;  // answer with the fast engine
    QHostAddress address{QHostAddress::Any};
    std::string workFolder;
};

// The options, with cube.ini of the data folder for what is not given; nullopt after a usage
// error was told.
std::optional<ServeOptions> parseServeOptions(Args& args) {
    ServeOptions o;
    o.yes = takeFlag(args, "--yes");
    o.fast = takeFlag(args, "--fast");
    const bool writeToFileFlag = takeFlag(args, "--write-to-file");
    const std::string dataDir = takeOption(args, "--data-dir", "");
    const auto port = takeWholeOption(args, kName, "--port", -1, 0, 65535);  // -1: from cube.ini
    const std::string bindText = takeOption(args, "--bind", "");
    o.workFolder = takeOption(args, "--work-dir", "");
    const auto stopAt = takeWholeOption(args, kName, "--stop-at", -1, 1, 30);
    if (!port || !stopAt) return std::nullopt;
    if (!args.empty()) {
        std::fprintf(stderr, "%s: unexpected argument '%s'\n", kName, args[0].c_str());
        return std::nullopt;
    }
    const DataFolder data = resolveDataFolder(dataDir.empty() ? std::nullopt : std::optional<std::string>(dataDir));
    if (!data.note.empty()) std::fprintf(stderr, "%s\n", data.note.c_str());
    o.dataFolder = data.path;
    const SettingsValues values = Settings(data.path / "cube.ini").load();
    o.port = *port >= 0 ? static_cast<int>(*port) : values.port;
    o.stopAt = *stopAt >= 0 ? static_cast<int>(*stopAt) : values.stopAt;
    o.triple = values.tripleSearch;
    o.writeToFile = writeToFileFlag || values.writeToFile;
    if (!bindText.empty() && !o.address.setAddress(QString::fromStdString(bindText))) {
        std::fprintf(stderr, "%s: '%s' is not an IP address\n", kName, bindText.c_str());
        return std::nullopt;
    }
    return o;
}

// While it lives, SIGINT and SIGTERM make the event loop quit.
class QuitOnSignal {
public:
    explicit QuitOnSignal(QCoreApplication& app) {
        if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
        notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }
    ~QuitOnSignal() {
        if (!notifier_) return;
        notifier_.reset();  // before its pipe is closed
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
    }
    bool ok() const { return notifier_ != nullptr; }

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

int runServe(const Args& given) {
    Args args = given;
    if (takeFlag(args, "--help")) {
        usage();
        return kExitOk;
    }
    const auto o = parseServeOptions(args);
    if (!o) return kExitError;
    FixedTables tables;
    {
        ConsoleProgress progress;
        ConsolePrompts prompts(o->yes);
        TableLoader loader(o->dataFolder, progress, prompts);
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
    list.context().stopAt = o->stopAt;
    list.context().triple = o->triple;
    list.hooks.pump = [] { QCoreApplication::processEvents(); };
    FaceletEditor editor;
    NoCameraWebcam webcam;
    ListBackend backend(list, editor, webcam);
    if (o->fast) backend.solveNow = fastEntrySolver(list, tables.current(), o->stopAt);
    backend.keepAtMost = kKeptCubes;
    WebServer server(backend, events);
    server.setPort(o->port);
    server.setBindAddress(o->address);
    server.setWriteToFile(o->writeToFile);
    if (!o->workFolder.empty()) server.setWorkingFolder(o->workFolder);
    server.setErrorReporter([](const std::string& message) { std::fprintf(stderr, "%s: %s\n", kName, message.c_str()); });
    server.setRequestLogger([](const std::string& line) { std::fprintf(stderr, "%s: %s\n", kName, line.c_str()); });
    if (!server.open()) {
        std::fprintf(stderr, "%s: cannot listen on port %d: %s\n", kName, o->port,
                     server.errorString().toStdString().c_str());
        return kExitError;
    }
    QuitOnSignal quit(app);
    if (!quit.ok()) {
        std::fprintf(stderr, "%s: cannot set up the signal handling\n", kName);
        return kExitError;
    }
    std::fprintf(stderr, "%s: listening on %s port %d, working folder %s\n", kName,
                 o->address.toString().toStdString().c_str(), int(server.listeningPort()),
                 server.workingFolder().string().c_str());
    std::fflush(stderr);
    app.exec();
    server.close();
    std::fprintf(stderr, "%s: stopped\n", kName);
    return kExitOk;
}

Register reg(kName, "answer HTTP requests as the web server does [--port P --bind A --write-to-file --work-dir D --stop-at N --fast --data-dir DIR]",
             runServe);

}  // namespace
}  // namespace tx::cli

#endif  // TESSERIX_HAS_SERVER
