// What a fuzz target does when a property of the code under test fails: it
// says which, and aborts, so that libFuzzer keeps the input as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

inline void FuzzCheck(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}

inline std::string_view FuzzBytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
