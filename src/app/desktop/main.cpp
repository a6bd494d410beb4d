#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "app/desktop/main_window.h"

namespace {

constexpr const char* Help =
    "Usage: tallyleaf [--help | --version]\n"
    "\n"
    "Starts the Tallyleaf desktop program: the reading-challenge booklist as a list to filter,\n"
    "sort, export and print, compared with the library's MARC 21 catalogue (ISO 2709 or\n"
    "MARCXML), its call numbers taken from 082 or the library's own fields as the Compare\n"
    "dialog's \"Call number from\" says.\n"
    "\n"
    "An installed Tallyleaf keeps its files in ~/Tallyleaf; TALLYLEAF_DIR names another data\n"
    "folder, TALLYLEAF_SERVER_URL the server the booklist is updated from. Other arguments are\n"
    "ignored. The manual is under Help > Help (F1); tallyleaf-cli does the same from a shell.\n";

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before the application starts, so that they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tallyleaf %s\n", TALLYLEAF_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Help, stdout);
            return 0;
        }
    }
    QApplication application(argc, argv);
    // The desktop entry and the icon theme know the program by these names.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tallyleaf.Tallyleaf"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tallyleaf")));
    return RunDesktopProgram();
}
