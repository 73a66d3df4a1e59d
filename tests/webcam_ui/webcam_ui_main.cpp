#include <QApplication>
#include <QTest>

#include <unistd.h>

#include "webcam_ui_tests.hpp"

namespace tx::ui::test {

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("tesserix-webcam-ui-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace tx::ui::test

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failed = 0;
    {
        tx::ui::test::WebcamPageTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        tx::ui::test::WebcamWindowTest t;
        failed += QTest::qExec(&t, argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
