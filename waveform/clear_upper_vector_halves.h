#pragma once

namespace wienbridge {

// Some of Qt's painting code returns with the upper halves of the AVX
// registers still in use. Until something clears them, every SSE instruction
// waits for the previous value of the register it writes, which chains
// independent divisions one after the other and makes a long loop of them
// several times slower. Call this before such a loop; it does nothing on
// processors without AVX.
void clearUpperVectorHalves();

}  // namespace wienbridge
