// The web server setup dialog (offscreen): settings read at creation, the enable warning,
// the answer-file switch written at the click, and the port rules of OK.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/prompts.hpp"
#include "server/qt_events.hpp"
#include "server/server_backend.hpp"
#include "server/web_server.hpp"
#include "support/scripted_prompts.hpp"
#include "support/temp_folder.hpp"
#include "ui/serv_setup_form.hpp"
#include "workspace/settings.hpp"

namespace tx::ui::test {

// The dialog never sends requests; the backend only has to exist.
class IdleBackend : public ServerBackend {
public:
    bool busy() override { return false; }
    std::string lastResult() override { return ""; }
    std::string webcamStatus() override { return ""; }
    void selectCaptureDevice(int) override {}
    void clearList() override {}
    std::string scan(char) override { return ""; }
    std::string transfer() override { return ""; }
    FaceletSubmission submit(const std::string&) override { return {"no", 0}; }
    std::optional<std::string> poll(std::uint64_t) override { return ""; }
    void release(std::uint64_t) override {}
    void abandon(std::uint64_t) override {}
};

class ServSetupFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyComponentHasItsName();
    void withoutSettingsThePortIs8080AndTheServerIsOff();
    void creationReadsTheSectionAndOpensTheListener();
    void writeToFileIsOnOnlyForOne();
    void enablingWarnsUnlessBusy();
    void answerFileSwitchIsWrittenAtOnce();
    void portsOutsideTheRangeAreRefused();
    void validPortsAreAppliedAndCloseTheDialog();
    void okOpensOrClosesTheListener();
    void aTakenPortIsReported();

private:
    std::unique_ptr<TServSetupForm> makeForm();
    QLineEdit* ePort(TServSetupForm& f) { return f.findChild<QLineEdit*>("EPort"); }
    QCheckBox* box(TServSetupForm& f, const char* name) { return f.findChild<QCheckBox*>(name); }
    void clickOk(TServSetupForm& f) { QTest::mouseClick(f.findChild<QPushButton*>("OKButton"), Qt::LeftButton); }
    void writeIni(const std::string& text) { std::ofstream(iniPath()) << text; }
    std::filesystem::path iniPath() const { return folder_ / "cube.ini"; }
    int storedInt(const char* key, int fallback) {
        return Settings(iniPath()).readInt(ini::kWebServer, key, fallback);
    }
    static int freePort() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    std::unique_ptr<testing::TempFolder> tempFolder_;
    std::filesystem::path folder_;
    std::unique_ptr<Settings> settings_;
    ScriptedPrompts prompts_;
    IdleBackend backend_;
    QtEvents events_;
    std::unique_ptr<WebServer> server_;
};

void ServSetupFormTest::init() {
    tempFolder_ = std::make_unique<testing::TempFolder>("servsetup");
    folder_ = tempFolder_->path();
    prompts_ = ScriptedPrompts();
    server_ = std::make_unique<WebServer>(backend_, events_);
    server_->setBindAddress(QHostAddress::LocalHost);
}

void ServSetupFormTest::cleanup() {
    server_.reset();
    settings_.reset();
    tempFolder_.reset();
}

std::unique_ptr<TServSetupForm> ServSetupFormTest::makeForm() {
    settings_ = std::make_unique<Settings>(iniPath());
    auto form = std::make_unique<TServSetupForm>(prompts_, *settings_, *server_);
    return form;
}

void ServSetupFormTest::everyComponentHasItsName() {
    auto form = makeForm();
    QCOMPARE(form->windowTitle(), QString("Web Server Setup"));
    QVERIFY(ePort(*form));
    QVERIFY(box(*form, "CBEnable"));
    QVERIFY(box(*form, "CBWebSrvOut"));
    QVERIFY(form->findChild<QPushButton*>("OKButton"));
}

void ServSetupFormTest::withoutSettingsThePortIs8080AndTheServerIsOff() {
    server_->setPort(1234);
    server_->setWriteToFile(true);
    auto form = makeForm();
    QCOMPARE(server_->port(), 8080);
    QCOMPARE(ePort(*form)->text(), QString("8080"));
    QVERIFY(!box(*form, "CBEnable")->isChecked());
    QVERIFY(!box(*form, "CBWebSrvOut")->isChecked());
    QVERIFY(!server_->writeToFile());
    QVERIFY(!server_->isOpen());
    QVERIFY(prompts_.shown.empty());
    QVERIFY(!std::filesystem::exists(iniPath()));  // reading writes nothing
}

void ServSetupFormTest::creationReadsTheSectionAndOpensTheListener() {
    const int port = freePort();
    writeIni("[WebServer]\nport=" + std::to_string(port) + "\nenabled=2\nwriteToFile=1\n");
    auto form = makeForm();
    QCOMPARE(server_->port(), port);
    QCOMPARE(ePort(*form)->text(), QString::number(port));
    QVERIFY(box(*form, "CBEnable")->isChecked());  // any non-zero value is on
    QVERIFY(box(*form, "CBWebSrvOut")->isChecked());
    QVERIFY(server_->writeToFile());
    QVERIFY(server_->isOpen());
    QCOMPARE(int(server_->listeningPort()), port);
    QVERIFY(prompts_.shown.empty());  // no warning at creation
}

void ServSetupFormTest::writeToFileIsOnOnlyForOne() {
    writeIni("[WebServer]\nwriteToFile=2\n");
    auto form = makeForm();
    QVERIFY(!box(*form, "CBWebSrvOut")->isChecked());
    QVERIFY(!server_->writeToFile());
}

void ServSetupFormTest::enablingWarnsUnlessBusy() {
    auto form = makeForm();
    form->show();
    QCheckBox* enable = box(*form, "CBEnable");
    QTest::mouseClick(enable, Qt::LeftButton);
    QVERIFY(enable->isChecked());
    QCOMPARE(prompts_.shown.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(prompts_.shown[0].text),
             QString("Enable the Web Server only if you really use this feature.\r\nPlease read the "
                     "documentation in the Help File."));
    QCOMPARE(QString::fromStdString(prompts_.shown[0].caption), QString("Web Server Setup"));
    QCOMPARE(prompts_.shown[0].icon, Icon::Warning);
    QVERIFY(!server_->isOpen());  // only OK opens the listener

    QTest::mouseClick(enable, Qt::LeftButton);  // switching it off warns about nothing
    QVERIFY(!enable->isChecked());
    QCOMPARE(prompts_.shown.size(), std::size_t(1));

    form->busy = [] { return true; };
    QTest::mouseClick(enable, Qt::LeftButton);
    QVERIFY(enable->isChecked());
    QCOMPARE(prompts_.shown.size(), std::size_t(1));
    QVERIFY(!std::filesystem::exists(iniPath()));  // "enabled" waits for OK
}

void ServSetupFormTest::answerFileSwitchIsWrittenAtOnce() {
    auto form = makeForm();
    form->show();
    QCheckBox* out = box(*form, "CBWebSrvOut");
    QTest::mouseClick(out, Qt::LeftButton);
    QVERIFY(server_->writeToFile());
    QCOMPARE(storedInt("writeToFile", -1), 1);
    QTest::mouseClick(out, Qt::LeftButton);
    QVERIFY(!server_->writeToFile());
    QCOMPARE(storedInt("writeToFile", -1), 0);
    QVERIFY(prompts_.shown.empty());
}

void ServSetupFormTest::portsOutsideTheRangeAreRefused() {
    for (const char* typed : {"99", "64001", "0", "-5", "abc", "", "80 80", "1e3"}) {
        writeIni("[WebServer]\nport=4321\nenabled=0\n");
        auto form = makeForm();
        form->show();
        prompts_.shown.clear();
        ePort(*form)->setText(typed);
        clickOk(*form);
        QVERIFY2(form->isVisible(), typed);  // the dialog stays open
        QCOMPARE(ePort(*form)->text(), QString("8080"));
        QCOMPARE(server_->port(), 8080);
        QCOMPARE(prompts_.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(prompts_.shown[0].text), QString("Use Port Numbers from 100 to 64000"));
        QCOMPARE(QString::fromStdString(prompts_.shown[0].caption), QString(""));
        QCOMPARE(prompts_.shown[0].icon, Icon::Warning);
        // The port in force is still written, with "enabled".
        QCOMPARE(storedInt("port", -1), 8080);
        QCOMPARE(storedInt("enabled", -1), 0);
    }
}

void ServSetupFormTest::validPortsAreAppliedAndCloseTheDialog() {
    for (int port : {100, 64000, 8181}) {
        auto form = makeForm();
        form->show();
        prompts_.shown.clear();
        ePort(*form)->setText(QString::number(port));
        clickOk(*form);
        QVERIFY(!form->isVisible());
        QCOMPARE(server_->port(), port);
        QVERIFY(prompts_.shown.empty());
        QCOMPARE(storedInt("port", -1), port);
        QCOMPARE(storedInt("enabled", -1), 0);
        QVERIFY(!server_->isOpen());
    }
}

void ServSetupFormTest::okOpensOrClosesTheListener() {
    const int port = freePort();
    auto form = makeForm();
    form->show();
    QTest::mouseClick(box(*form, "CBEnable"), Qt::LeftButton);
    ePort(*form)->setText(QString::number(port));
    clickOk(*form);
    QVERIFY(server_->isOpen());
    QCOMPARE(int(server_->listeningPort()), port);
    QCOMPARE(storedInt("enabled", -1), 1);
    QCOMPARE(storedInt("port", -1), port);

    form->show();
    QTest::mouseClick(box(*form, "CBEnable"), Qt::LeftButton);
    clickOk(*form);
    QVERIFY(!server_->isOpen());
    QCOMPARE(storedInt("enabled", -1), 0);
}

void ServSetupFormTest::aTakenPortIsReported() {
    QTcpServer other;
    QVERIFY(other.listen(QHostAddress::LocalHost, 0));
    auto form = makeForm();
    form->show();
    QTest::mouseClick(box(*form, "CBEnable"), Qt::LeftButton);
    prompts_.shown.clear();
    ePort(*form)->setText(QString::number(other.serverPort()));
    clickOk(*form);
    QVERIFY(!server_->isOpen());
    QCOMPARE(prompts_.shown.size(), std::size_t(1));
    QVERIFY(!prompts_.shown[0].text.empty());
    QCOMPARE(QString::fromStdString(prompts_.shown[0].caption), QString(""));
    QCOMPARE(storedInt("enabled", -1), 1);  // the choice is kept for the next start
}

}  // namespace tx::ui::test

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tx::ui::test::ServSetupFormTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "serv_setup_form_test.moc"

