#include "app/program_info.h"

#include <cstdio>

#include "app/kvadrel_version.h"

void PrintVersion(const char* program) {
    std::printf("%s %s\n", program, kKvadrelVersion);
}

void PrintUsageError(const char* program, const std::string& problem, const char* usage) {
    std::fprintf(stderr, "%s: %s\n%s", program, problem.c_str(), usage);
}
