// Screen tests run inside one QApplication that lives for the whole test program.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Listing the tests runs the program without the test environment: screens never need a
    // display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
