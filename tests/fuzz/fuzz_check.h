#pragma once

#include <cstdio>
#include <cstdlib>

// A failed check in a fuzz target: says what went wrong and aborts, which the
// fuzzer records as a crash, printing the input and saving it.
namespace wienbridge::fuzz {

inline void require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "\nFUZZ CHECK FAILED: %s\n", what);
        std::abort();
    }
}

}  // namespace wienbridge::fuzz
