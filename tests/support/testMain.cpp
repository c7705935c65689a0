#include <QApplication>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {
// Each test starts with an empty settings store of its own: what one test stores (pads to recall,
// the last scene) never reaches the next, whatever order they run in.
class StorePerTest : public ::testing::EmptyTestEventListener {
public:
    explicit StorePerTest(std::string base) : base_(std::move(base)) {}
    void OnTestStart(const ::testing::TestInfo&) override {
        std::string dir = base_ + "/test-XXXXXX";
        if (mkdtemp(dir.data()))
            setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    }

private:
    std::string base_;
};
} // namespace

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
    ::testing::UnitTest::GetInstance()->listeners().Append(new StorePerTest(dir));
    const int result = RUN_ALL_TESTS();
    QDir(QString::fromLatin1(dir)).removeRecursively();
    return result;
}
