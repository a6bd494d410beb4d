#include <sys/stat.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QtGlobal>
#include <csignal>
#include <cstdlib>
#include <memory>

#include "app/list_rows.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_filters.h"
#include "cli/console_services.h"
#include "cli/print_platform.h"
#include "maintenance/export_writer.h"
#include "platform/qt/font_faces.h"
#include "print/list_print.h"
#include "print/pdf_target.h"
#include "print/printer_connection.h"
#include "print/printer_settings.h"

namespace {

constexpr const char* MatchTexts[] = {"Matched", "Not matched", "Everything"};

// Printing needs Qt's fonts and printer support, hence an application; a machine whose display
// cannot be opened gets the offscreen platform.
void PrepareQt() {
    ChoosePrintPlatform();
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
    const std::string dir = DataFolderArgument(cli.Value("--dir"));
    const DataFolder folder(dir);
    ConsoleServices services;
    Booklist booklist;
    if (const int loaded = LoadDataFolder(folder, dir, services, booklist, LoadEntriesAndMatches);
        loaded != ExitOk)
        return loaded;
    // The PDF replaces the file named, so a data file named as the target would be lost.
    if (const std::string refusal = OwnDataFileRefusal(folder, pdf);
        !pdf.empty() && !refusal.empty()) {
        return CliFail(ExitFailure, "cannot write " + pdf + ": " + refusal);
    }
    ResolveLevelFilter(booklist, filters);
    WarnOfValuesNoBookHas(booklist, filters);
    // A reader of the PDF, or the spooler, that goes away is told as a failure, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    PdfTarget target;
    if (!pdf.empty() && !target.Open(pdf)) {
        return CliFail(ExitFailure, "cannot write " + pdf + ": " + target.Reason());
    }

    PrepareQt();
    int argc = 1;
    char name[] = "tallyleaf-cli";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);
    // Qt's own complaints are no messages of this tool's: a failure is told below, in its words.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    AddTahomaIfMissing();
    std::string printer = pdf;
    if (!pdf.empty()) {
        SetPdfOutput(target.DrawingPath());
    } else {
        printer = cli.Value("--printer").value_or(DefaultPrinterName());
        if (printer.empty())
            return CliFail(ExitFailure, "no default printer is set (see --printer)");
        if (!SpoolerHasPrinter(printer)) return CliFail(ExitFailure, "no printer named " + printer);
    }
    // No Print window: the printer named, the default one or the PDF file is opened here.
    const int device = OpenPrinterDevice(printer, DefaultPrinterSettingsText);

    const std::vector<std::string_view> rows = StageBookList(booklist, filters, australian);
    const std::string title = BookListPrintTitle(
        filters.levelFilter, MatchTexts[filters.matchFilter], filters.categoryFilter);
    const bool printed = PrintBookList(device, title, static_cast<int>(rows.size()), [&](int row) {
        return PrintedRowOf(BookRowText(rows[static_cast<std::size_t>(row)]), BookListPrintColumns);
    });
    const std::string refusal = PrinterDocumentFailure();
    ReleasePrinterDevice();  // Qt's output is closed
    if (pdf.empty()) {
        if (printed) return ExitOk;
        return CliFail(ExitFailure, "cannot print to " + printer + ": the printer " +
                                        (refusal.empty() ? "did not take the document" : refusal));
    }
    if (!printed) return CliFail(ExitFailure, "cannot write " + pdf + ": the PDF was not started");
    if (!target.Commit())
        return CliFail(ExitFailure, "cannot write " + pdf + ": " + target.Reason());
    return ExitOk;
}
