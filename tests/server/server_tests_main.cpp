// The web server answers from the Qt event loop of the main thread, so the tests run with a
// QCoreApplication and pump its events while their clients talk to the server.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
