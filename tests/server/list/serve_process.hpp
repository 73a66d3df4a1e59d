#pragma once
// "tesserix-cli serve" as a child process for the tests: started on a free port of 127.0.0.1
// with the test tables, optionally under a lower descriptor limit; its stderr (the log) is
// collected, and it is stopped with SIGTERM.
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/test_tables.hpp"

namespace tx::test {

class ServeProcess {
public:
    // Extra options after "serve"; fdLimit > 0 runs the server under "ulimit -n fdLimit".
    explicit ServeProcess(const std::filesystem::path& workDir, const QStringList& options = {}, int fdLimit = 0) {
        QStringList args = {"serve", "--port", "0", "--bind", "127.0.0.1", "--yes", "--data-dir",
                            QString::fromStdString(testing::testDataFolder())};
        args += options;
        process_.setWorkingDirectory(QString::fromStdString(workDir.string()));
        if (fdLimit > 0) {
            args.prepend(TESSERIX_CLI);
            args.prepend(QString("ulimit -n %1; exec \"$0\" \"$@\"").arg(fdLimit));
            args.prepend("-c");
            process_.start("/bin/sh", args);
        } else {
            process_.start(TESSERIX_CLI, args);
        }
        if (!process_.waitForStarted(10000)) return;
        // The port is announced once the tables are loaded and the server listens.
        const QRegularExpression announced("listening on 127\\.0\\.0\\.1 port (\\d+)");
        for (int i = 0; i < 600 && port_ == 0 && running(); ++i) {
            const auto m = announced.match(QString::fromStdString(log()));
            if (m.hasMatch()) port_ = m.captured(1).toInt();
        }
    }
    ~ServeProcess() {
        if (running()) {
            process_.kill();
            process_.waitForFinished(10000);
        }
    }
    ServeProcess(const ServeProcess&) = delete;
    ServeProcess& operator=(const ServeProcess&) = delete;

    int port() const { return port_; }
    bool running() const { return process_.state() == QProcess::Running; }
    std::string pid() const { return std::to_string(process_.processId()); }

    // Everything the server wrote to stderr so far.
    std::string log() {
        process_.waitForReadyRead(100);
        log_ += process_.readAllStandardError().toStdString();
        return log_;
    }

    // CPU seconds the server has used (user and system).
    double cpuSeconds() const {
        std::ifstream in("/proc/" + pid() + "/stat");
        std::string field;
        for (int i = 1; i <= 13 && in >> field; ++i) {
        }
        long user = 0, system = 0;
        in >> user >> system;
        return double(user + system) / double(::sysconf(_SC_CLK_TCK));
    }

    // SIGTERM; true when the server then ended by itself with exit code 0 within `wait`.
    bool terminate(std::chrono::milliseconds wait = std::chrono::seconds(10)) {
        process_.terminate();
        if (!process_.waitForFinished(int(wait.count()))) return false;
        log();
        return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }

private:
    QProcess process_;
    std::string log_;
    int port_ = 0;
};

}  // namespace tx::test
