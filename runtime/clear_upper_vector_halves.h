#pragma once

namespace wienbridge {

// Some code (Qt's image fill among it) returns with the upper halves of the
// AVX registers still in use. Until something clears them, every SSE
// instruction waits for the previous value of the register it writes, which
// chains independent operations one after the other and makes a long loop of
// them much slower: the model's loop at N = 1000000 takes 67 ms instead of
// 37 after Qt's image fill on the development machine (wienbridge-bench
// --benchmark_filter=UpperHalves shows it). Call this before such a loop; it does nothing on processors
// without AVX.
void clearUpperVectorHalves();

}  // namespace wienbridge
