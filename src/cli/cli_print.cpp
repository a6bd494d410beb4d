#include <sys/stat.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "app/book_list.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_filters.h"
#include "cli/console_services.h"
#include "maintenance/export_writer.h"
#include "print/list_print.h"
#include "print/printer.h"
#include "print/printer_settings.h"

namespace {

constexpr const char* MatchTexts[] = {"Matched", "Not matched", "Everything"};

// Printing needs Qt's fonts and printer support, hence an application; a machine without a
// display gets the offscreen platform.
void PrepareQt() {
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
    const std::string dir = cli.Value("--dir").value_or(".");
    const DataFolder folder(dir);
    ConsoleServices services;
    if (const int loaded = LoadDataFolder(folder, dir, services); loaded != ExitOk) return loaded;
    // The PDF is written in place as it is printed, so a data file named as the target would be
    // lost even when the job fails.
    if (const std::string own = ProgramDataFileAt(folder, pdf); !pdf.empty() && !own.empty()) {
        return CliFail(ExitFailure, "cannot write " + pdf + ": \"" + own +
                                        "\" is one of Tallyleaf's own data files");
    }
    WarnOfValuesNoBookHas(filters);

    PrepareQt();
    int argc = 1;
    char name[] = "tallyleaf-cli";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    std::string printer = pdf;
    if (!pdf.empty()) {
        SetPdfOutput(pdf);
    } else {
        printer = cli.Value("--printer").value_or(DefaultPrinterName());
        if (printer.empty())
            return CliFail(ExitFailure, "no default printer is set (see --printer)");
        if (!SpoolerHasPrinter(printer)) return CliFail(ExitFailure, "no printer named " + printer);
    }
    // No Print window: the printer named, the default one or the PDF file is opened here.
    const int device = OpenPrinterDevice(printer, DefaultPrinterSettingsText);

    const std::vector<std::string_view> rows = StageBookList(filters, australian);
    const std::string title = BookListPrintTitle(
        filters.levelFilter, MatchTexts[filters.matchFilter], filters.categoryFilter);
    const bool printed = PrintBookList(device, title, static_cast<int>(rows.size()), [&](int row) {
        return PrintedRowOf(BookRowText(rows[static_cast<std::size_t>(row)]), BookListPrintColumns);
    });
    if (!printed) {
        return CliFail(ExitFailure, pdf.empty() ? "cannot print to " + printer
                                                : "cannot write " + pdf + ": cannot be created");
    }
    return ExitOk;
}
