#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// A failed check in a fuzz target: says what went wrong and with which input
// (bytes outside printable ASCII in hex), then aborts, which the fuzzer records
// as a crash and saves the input of.
namespace wienbridge::fuzz {

[[noreturn]] inline void fail(std::string_view input, const char* what)
{
    std::fprintf(stderr, "\nFUZZ CHECK FAILED: %s\ninput: ", what);
    for (const unsigned char c : input)
        std::fprintf(stderr, c >= 0x20 && c < 0x7f && c != '\\' ? "%c" : "\\x%02x", c);
    std::fputc('\n', stderr);
    std::abort();
}

inline void require(bool ok, std::string_view input, const char* what)
{
    if (!ok)
        fail(input, what);
}

}  // namespace wienbridge::fuzz
