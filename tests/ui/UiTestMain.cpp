// The GUI tests' own main: the offscreen platform and a QApplication for every test. It takes
// the place of gtest_main, whose main() is then never linked in.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
