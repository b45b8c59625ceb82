// kvadrel-dump: prints dBASE tables (fields, then one line per record) as UTF-8.
#include <cstdio>
#include <exception>
#include <string_view>

#include "app/program_info.h"
#include "app/table_print.h"
#include "app/terminal_text.h"

namespace {

constexpr char kUsage[] =
    "usage: kvadrel-dump TABLE.dbf...\n       kvadrel-dump --help | --version\n";
constexpr char kHelp[] =
    "Prints dBASE tables as UTF-8: the fields with their widths, one line per\n"
    "record with the values separated by \" | \", then the number of records.\n"
    "Exit status: 0 all printed, 1 a table could not be read, 2 bad arguments.\n";
constexpr int kExitUsage = 2;

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        PrintUsageError("kvadrel-dump", "no table named", kUsage);
        return kExitUsage;
    }
    // Options come before the tables; "--" ends them, for a table whose name starts with "-".
    int first = 1;
    if (const std::string_view argument = argv[1]; argument == "--help") {
        ConsolePrintf(stdout, "%s\n%s", kUsage, kHelp);
        return 0;
    } else if (argument == "--version") {
        PrintVersion("kvadrel-dump");
        return 0;
    } else if (argument == "--") {
        first = 2;
    } else if (argument.starts_with("-")) {
        PrintUsageError("kvadrel-dump", "unknown option '" + std::string(argument) + "'", kUsage);
        return kExitUsage;
    }
    int status = 0;
    for (int i = first; i < argc; ++i) {
        try {
            PrintTable(ReadDbf(argv[i]));
        } catch (const std::exception& error) {
            ConsolePrintf(stderr, "kvadrel-dump: %s\n", error.what());
            status = 1;
        }
    }
    return status;
}
