#include <QApplication>
#include <gtest/gtest.h>

// The X11 tests run on the display that with-xvfb made, with real Qt windows as targets.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
