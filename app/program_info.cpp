#include "app/program_info.h"

#include <cstdio>

#include "app/kvadrel_version.h"
#include "app/terminal_text.h"

void PrintVersion(const char* program) {
    ConsolePrintf(stdout, "%s %s\n", program, kKvadrelVersion);
}

void PrintUsageError(const char* program, const std::string& problem, const char* usage) {
    ConsolePrintf(stderr, "%s: %s\n%s", program, problem.c_str(), usage);
}
