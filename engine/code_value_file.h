// The code-value file as the worker and the configuration check load it:
// both code lists and the Moscow-region constants, and what became of the
// file, which decides whether special-products types may be converted.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/formats/code_values.h"
#include "engine/formats/moscow_scramble.h"

struct TCodeValueFile {
    enum class TState { Read, Missing, Unreadable };

    std::filesystem::path Path;
    TState State = TState::Missing;
    std::string Error;   // why it could not be read (State Unreadable)
    TCodeValuesCut Cut;  // values that filled the read limit
    // The Moscow-region constants ignored, a line each for the caller to pass
    // on with the file's name (TMoscowConstants::Load).
    std::vector<std::string> Ignored;
};

// Replaces the lists and the constants by those of `path`. A missing file
// gives empty lists and the built-in constants; a file that cannot be read
// gives empty lists too, and says why.
TCodeValueFile LoadCodeValueFile(const std::filesystem::path& path, CodeList& kodObj,
                                 CodeList& tipZnak, TMoscowConstants& moscow);
