// Where the windows' notes go: the program has no console, so they go to the
// system's debugger output.
#pragma once

#include <string>

void DebugNote(const std::string& text);
