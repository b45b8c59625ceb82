// Windows error codes with their messages in UTF-8, as every other message
// of the program is: the system's own category gives them in the ANSI code
// page. For the Windows backends only.
#pragma once

#include <system_error>

namespace platform {

// The category of GetLastError() codes and HRESULTs.
const std::error_category& Win32Category();

}  // namespace platform
