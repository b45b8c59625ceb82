// What every program answers to --version, and how a usage error is told.
#pragma once

#include <string>

// "<program> <version>" on standard output.
void PrintVersion(const char* program);

// "<program>: <problem>" and then `usage` on standard error.
void PrintUsageError(const char* program, const std::string& problem, const char* usage);
