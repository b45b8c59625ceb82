// kvadrel-batch --check: what is wrong with the configuration, before any
// file is touched.
#pragma once

#include <filesystem>

// Prints on standard output the lines of the store file that could not be
// read, what became of the code-value file, and every error and warning of
// every update type; converts, deletes and writes nothing. Returns the exit
// status: 0 without an error, 1 with one.
int RunCheck(const std::filesystem::path& storeFile, const std::filesystem::path& codeValueFile);
