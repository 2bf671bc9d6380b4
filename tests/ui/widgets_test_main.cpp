#include <QApplication>
#include <gtest/gtest.h>

// The dialogs need a QApplication; the tests run on the offscreen platform, also when CTest lists
// them without the test environment.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
