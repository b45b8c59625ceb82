// The console of the command-line programs: stop requests from it, and text
// in the form it shows.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace platform {

// Takes the stop requests of the process for WaitForStopRequest: SIGINT and
// SIGTERM, or on Windows the console's Ctrl+C, Ctrl+Break and close. Called
// once, on the main thread, before any other thread is started.
void CatchStopRequests();

// Waits up to `timeout` for a stop request; true when one has come, false
// at the timeout or when EndStopRequestWait was called.
bool WaitForStopRequest(std::chrono::milliseconds timeout);

// Ends the wait for stop requests under way, or the next one, at once: what
// it watched is over. Called from any thread.
void EndStopRequestWait();

// Whether standard error is a terminal that takes the control sequences of a
// progress line ("\r", "\033[K"); on Windows the console is switched to take
// them.
bool PrepareProgressTerminal();

// UTF-8 text as the console expects it: in the console's output code page on
// Windows (a character it cannot hold becomes '?'), unchanged elsewhere.
std::string ConsoleText(std::string_view utf8);

}  // namespace platform
