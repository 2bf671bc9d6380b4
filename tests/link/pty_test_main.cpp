#include <QCoreApplication>
#include <gtest/gtest.h>

// The programs make a QCoreApplication but never run its event loop during a load; the line
// must work the same way here.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
