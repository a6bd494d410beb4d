#include <string>
#include <vector>

#include "booklist/data_folder.h"
#include "booklist/folder_writer_lock.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/console_services.h"
#include "maintenance/booklist_import.h"

int RunImportCommand(const std::vector<std::string>& args, Booklist& booklist) {
    const CliArgs cli(args, {"--dir"}, {});
    if (!cli.Ok()) return CliFail(ExitUsage, cli.Error());
    if (cli.Positional().size() != 1 || cli.Positional()[0].empty()) {
        return CliFail(ExitUsage, "import needs exactly one booklist FILE (see --help)");
    }
    const std::string file = AbsoluteFromStart(cli.Positional()[0]);
    const DataFolder folder(DataFolderArgument(cli.Value("--dir")));
    ConsoleServices services;
    const ImportResult imported = ImportBooklistFile(booklist, folder, file, services);
    if (imported.folderBusy) return CliFail(ExitFailure, FolderBusyText(folder));
    if (!imported.done) {
        return CliFail(ExitFailure, "cannot import " + file + ": " + imported.reason +
                                        "; the booklist was not changed");
    }
    return ExitOk;
}
