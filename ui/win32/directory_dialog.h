// "Выбор каталога": the directory chooser of the update-type editor's browse
// buttons. The folder's name is typed in "Имя каталога" or reached through
// "Каталоги" (the folder's subfolders, ".." its parent) and "Диски" (the
// floppy, fixed, network, CD-ROM and RAM drives); "Справка" stays disabled,
// for there is no help file.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Runs the chooser over `owner`, starting at `start` (else at the current
// folder); the folder confirmed with OK, nothing when cancelled.
std::optional<std::u16string> ChooseDirectory(HWND owner, std::u16string_view start);
