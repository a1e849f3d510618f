#include <QCoreApplication>
#include <gtest/gtest.h>

// The program tests run on the display, and with the fresh folders, that with-xvfb made.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
