// kvadrel-batch --preview: the rows a file would give as a given update type,
// and the lines it would not take, with nothing written where the converter
// writes and nothing deleted.
#pragma once

#include <filesystem>
#include <string>

// `type` is the update type's name (UTF-8); `codeValueFile` is the code-value
// file the converter would read. Prints to standard output; returns the exit
// status: 0 shown, 1 the file or the code-value file cannot be read or the
// type has no transport format, 2 no update type of that name.
int PrintPreview(const std::string& type, const std::filesystem::path& file,
                 const std::filesystem::path& codeValueFile);
