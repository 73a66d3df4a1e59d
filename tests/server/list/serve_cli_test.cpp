// tesserix-cli serve as a process: it listens, answers real requests, mirrors the answers
// and stops cleanly on SIGTERM.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include "support/test_tables.hpp"
#include "cube/notation.hpp"
#include "cube/random.hpp"
#include "server_support.hpp"

namespace tx::test {
namespace {

using namespace std::chrono_literals;

// Starts serve on a free port of 127.0.0.1 in the folder; answers the port it announced (0 and
// the log in `log` when it announced none).
int startServe(QProcess& cli, const TempFolder& folder, const QStringList& extra, QString& log) {
    cli.setWorkingDirectory(QString::fromStdString(folder.path().string()));
    cli.start(TESSERIX_CLI, QStringList{"serve", "--port", "0", "--bind", "127.0.0.1", "--write-to-file", "--yes",
                                        "--data-dir", QString::fromStdString(testing::testDataFolder())} +
                                extra);
    if (!cli.waitForStarted(10000)) return 0;
    // The port is announced on stderr once the tables are loaded and the server listens.
    int port = 0;
    const QRegularExpression announced("listening on 127\\.0\\.0\\.1 port (\\d+)");
    for (int i = 0; i < 600 && port == 0 && cli.state() == QProcess::Running; ++i) {
        cli.waitForReadyRead(100);
        log += QString::fromUtf8(cli.readAllStandardError());
        const auto m = announced.match(log);
        if (m.hasMatch()) port = m.captured(1).toInt();
    }
    return port;
}

TEST(ServeCommandTables, AnswersRequestsUntilTerminated) {
    TempFolder folder;
    QProcess cli;
    QString log;
    const int port = startServe(cli, folder, {}, log);
    ASSERT_NE(port, 0) << log.toStdString();

    EXPECT_EQ(talk(port, "GET /?getLast HTTP/1.0\r\n\r\n").bytes, http::htmlAnswer("Buffer is empty!"));
    MersenneTwister rng(77);
    FaceletCube cube;
    randomCube(cube, rng);
    const Reply solved = talk(port, "GET /?" + cube.faceletString() + " HTTP/1.0\r\n\r\n");
    const std::string head = "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\n", tail = "\r\n</BODY></HTML>\r\n";
    ASSERT_GT(solved.bytes.size(), head.size() + tail.size());
    const std::string maneuver =
        solved.bytes.substr(head.size(), solved.bytes.size() - head.size() - tail.size());
    EXPECT_EQ(http::htmlAnswer(maneuver), solved.bytes);
    applyManeuver(cube, maneuver);
    EXPECT_EQ(cube.f, FaceletCube().f) << maneuver;
    EXPECT_EQ(readFile(folder.path() / "webserv_ans.txt"), maneuver);
    EXPECT_EQ(talk(port, "GET /?getLast HTTP/1.0\r\n\r\n").bytes, solved.bytes);
    EXPECT_EQ(talk(port, "GET /?clear HTTP/1.0\r\n\r\n").bytes, http::doneAnswer());
    EXPECT_EQ(talk(port, "GET /?getLast HTTP/1.0\r\n\r\n").bytes, http::htmlAnswer("Buffer is empty!"));

    cli.terminate();  // SIGTERM
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_THROW(talk(port, "GET /?getLast HTTP/1.0\r\n\r\n"), std::runtime_error);
}

TEST(ServeCommandTables, FastAnswersWithTheFastEngine) {
    TempFolder folder;
    QProcess cli;
    QString log;
    const int port = startServe(cli, folder, {"--fast", "--stop-at", "20"}, log);
    ASSERT_NE(port, 0) << log.toStdString();
    MersenneTwister rng(78);
    for (int i = 0; i < 3; ++i) {
        FaceletCube cube;
        randomCube(cube, rng);
        const Reply solved = talk(port, "GET /?" + cube.faceletString() + " HTTP/1.0\r\n\r\n");
        const std::string head = "HTTP/1.0 200 OK\r\n\r\n<HTML><BODY>\r\n", tail = "\r\n</BODY></HTML>\r\n";
        ASSERT_GT(solved.bytes.size(), head.size() + tail.size());
        const std::string maneuver = solved.bytes.substr(head.size(), solved.bytes.size() - head.size() - tail.size());
        EXPECT_LE(countFaceTurns(maneuver), 20) << maneuver;
        applyManeuver(cube, maneuver);
        EXPECT_EQ(cube.f, FaceletCube().f) << maneuver;
    }
    cli.terminate();
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0);
}

TEST(ServeCommand, RefusesBadOptions) {
    for (const QStringList& args : {QStringList{"serve", "--port", "70000"}, QStringList{"serve", "--bind", "nowhere"},
                                    QStringList{"serve", "--stop-at", "x"}, QStringList{"serve", "extra"}}) {
        QProcess cli;
        cli.start(TESSERIX_CLI, args);
        ASSERT_TRUE(cli.waitForFinished(10000));
        EXPECT_EQ(cli.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_FALSE(cli.readAllStandardError().isEmpty());
    }
}

}  // namespace
}  // namespace tx::test
