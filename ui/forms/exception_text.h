// The text of the application's standard exception box: the message, with a
// full stop appended when its last character sorts after '.'.
#pragma once

#include <string>
#include <string_view>

std::u16string ExceptionBoxText(std::u16string_view message);
