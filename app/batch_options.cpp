#include "app/batch_options.h"

#include <stdexcept>
#include <string_view>

const char kBatchUsage[] =
    "usage: kvadrel-batch [--once] [--ini FILE] [--quiet]\n"
    "       kvadrel-batch --check [--ini FILE]";

BatchOptions ParseBatchOptions(int argc, const char* const argv[]) {
    BatchOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--once") {
            options.Once = true;
        } else if (argument == "--quiet") {
            options.Quiet = true;
        } else if (argument == "--check") {
            options.Check = true;
        } else if (argument == "--ini") {
            if (i + 1 == argc) {
                throw std::invalid_argument("--ini needs a file name");
            }
            options.Ini = argv[++i];
        } else {
            throw std::invalid_argument("unknown argument '" + std::string(argument) + "'");
        }
    }
    if (options.Check && (options.Once || options.Quiet)) {
        throw std::invalid_argument("--check converts nothing: it takes only --ini");
    }
    return options;
}
