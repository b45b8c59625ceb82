#include "engine/code_value_file.h"

#include "platform/files/file_exists.h"

TCodeValueFile LoadCodeValueFile(const std::filesystem::path& path, CodeList& kodObj,
                                 CodeList& tipZnak, TMoscowConstants& moscow) {
    TCodeValueFile file{path, TCodeValueFile::TState::Missing, "", {}, {}};
    try {
        const bool exists = platform::FileExists(path);
        file.Cut = LoadCodeValues(path, kodObj, tipZnak);
        moscow = TMoscowConstants::Load(path, file.Ignored);
        file.State = exists ? TCodeValueFile::TState::Read : TCodeValueFile::TState::Missing;
    } catch (const std::exception& error) {
        kodObj.clear();
        tipZnak.clear();
        file.State = TCodeValueFile::TState::Unreadable;
        file.Error = error.what();
    }
    return file;
}
