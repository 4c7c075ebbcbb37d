#pragma once

#include <cstdint>

namespace wienbridge {

// Bytes the program can still allocate without pushing the machine into swap or
// the out-of-memory killer: MemAvailable on Linux, free physical memory elsewhere.
std::uint64_t availableMemoryBytes();

}  // namespace wienbridge
