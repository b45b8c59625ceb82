// A Win32 call that failed, as an exception with the system's reason.
#pragma once

// Throws std::system_error for GetLastError(), its text in UTF-8 as every
// message of the program is.
[[noreturn]] void ThrowLastError(const char* what);
