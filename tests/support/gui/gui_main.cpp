#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QLocale>
#include <clocale>
#include <cstdlib>
#include <string>

#include "support/gui/gui_helpers.h"

namespace {

// Every test begins with no window, session or preset of an earlier one, and leaves none behind.
class FreshStartForEachTest : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { ResetProgramState(); }
    void OnTestEnd(const testing::TestInfo&) override { ResetProgramState(); }
};

}  // namespace

// GoogleTest over one QApplication, on the offscreen platform unless told otherwise, so that the
// tests run on machines without a display, as root and in the C locale; each test from a fresh
// start.
int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/tallyleaf-runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        chmod(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
    testing::UnitTest::GetInstance()->listeners().Append(new FreshStartForEachTest);
    return RUN_ALL_TESTS();
}
