#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// A failed check in a fuzz target: says what went wrong and with which input,
// then aborts, which the fuzzer records as a crash and saves the input of.
namespace wienbridge::fuzz {

inline void printEscaped(std::string_view text)
{
    std::fputc('"', stderr);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            std::fprintf(stderr, "\\%c", c);
        else if (byte >= 0x20 && byte < 0x7f)
            std::fputc(c, stderr);
        else
            std::fprintf(stderr, "\\x%02x", byte);
    }
    std::fputc('"', stderr);
}

[[noreturn]] inline void fail(std::string_view input, const char* what)
{
    std::fprintf(stderr, "\nFUZZ CHECK FAILED: %s\ninput: ", what);
    printEscaped(input);
    std::fputc('\n', stderr);
    std::abort();
}

inline void require(bool ok, std::string_view input, const char* what)
{
    if (!ok)
        fail(input, what);
}

}  // namespace wienbridge::fuzz
