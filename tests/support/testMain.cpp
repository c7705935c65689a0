#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>

// Windows run on the offscreen platform, and the settings store lives in a folder of this run's
// own, never in the user's.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char dir[] = "/tmp/orvan-tests-XXXXXX";
    if (!mkdtemp(dir))
        return 2;
    setenv("XDG_CONFIG_HOME", dir, 1);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QDir(QString::fromLatin1(dir)).removeRecursively();
    return result;
}
