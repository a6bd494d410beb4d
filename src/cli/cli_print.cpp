#include <sys/stat.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "app/book_list.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_filters.h"
#include "maintenance/export_writer.h"
#include "print/list_print.h"
#include "print/print_window.h"
#include "print/printer.h"

namespace {

constexpr const char* MatchTexts[] = {"Matched", "Not matched", "Everything"};

// Printing needs Qt's fonts and printer support, hence an application; a machine without a
// display gets the offscreen platform.
std::unique_ptr<QGuiApplication> StartQt() {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        // Without it Qt complains on stderr, which scripts read for the tool's own messages.
        const std::string runtime = "/tmp/tallyleaf-runtime-" + std::to_string(getuid());
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    static int argc = 1;
    static char name[] = "tallyleaf-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int RunPrintCommand(const std::vector<std::string>& args) {
    const CliArgs cli(args,
                      {"--dir", "--match", "--level", "--category", "--format", "--australian",
                       "--printer", "--pdf"},
                      {});
    if (!cli.Ok()) return CliFail(ExitUsage, cli.Error());
    if (!cli.Positional().empty()) return CliFail(ExitUsage, "print takes no file (see --help)");
    if (cli.Value("--printer") && cli.Value("--pdf")) {
        return CliFail(ExitUsage, "--printer and --pdf cannot be given together");
    }
    if (cli.Value("--pdf") && cli.Value("--pdf")->empty())
        return CliFail(ExitUsage, "no PDF file given");
    FilterState filters;
    int australian = AustralianAll;
    std::string error;
    if (!ParseListFilters(cli, filters, australian, error)) return CliFail(ExitUsage, error);

    const std::string pdf = cli.Value("--pdf") ? AbsoluteFromStart(*cli.Value("--pdf")) : "";
    if (const int loaded = LoadDataFolder(cli.Value("--dir").value_or(".")); loaded != ExitOk) {
        return loaded;
    }
    // The PDF is written in place as it is printed, so a data file named as the target would be
    // lost even when the job fails.
    if (const std::string own = ProgramDataFileAt(pdf); !pdf.empty() && !own.empty()) {
        return CliFail(ExitFailure, "cannot write " + pdf + ": \"" + own +
                                        "\" is one of Tallyleaf's own data files");
    }
    WarnOfValuesNoBookHas(filters);

    const std::unique_ptr<QGuiApplication> application = StartQt();
    std::string printer = pdf;
    if (!pdf.empty()) {
        SetPdfOutput(pdf);
    } else {
        printer = cli.Value("--printer").value_or(DefaultPrinterName());
        if (printer.empty())
            return CliFail(ExitFailure, "no default printer is set (see --printer)");
        if (!SpoolerHasPrinter(printer)) return CliFail(ExitFailure, "no printer named " + printer);
    }
    // The Print window is not shown: the printer is chosen here.
    PresetPrinterChoice(printer);

    const std::vector<std::string_view> rows = StageBookList(filters, australian);
    const std::string title = BookListPrintTitle(
        filters.levelFilter, MatchTexts[filters.matchFilter], filters.categoryFilter);
    const bool printed = PrintBookList(title, static_cast<int>(rows.size()), [&](int row) {
        return PrintedRowOf(BookRowText(rows[static_cast<std::size_t>(row)]), BookListPrintColumns);
    });
    if (!printed) {
        return CliFail(ExitFailure, pdf.empty() ? "cannot print to " + printer
                                                : "cannot write " + pdf + ": cannot be created");
    }
    return ExitOk;
}
