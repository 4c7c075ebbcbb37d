#include "runtime/clear_upper_vector_halves.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>

namespace wienbridge {
namespace {

__attribute__((target("avx"))) void zeroUpperHalves()
{
    _mm256_zeroupper();
}

}  // namespace

void clearUpperVectorHalves()
{
    if (__builtin_cpu_supports("avx"))
        zeroUpperHalves();
}

}  // namespace wienbridge

#else

namespace wienbridge {

// Without GCC's builtins, or off x86, there is nothing to clear or no portable
// way to ask for AVX: the loop keeps its results and may only run slower.
void clearUpperVectorHalves() {}

}  // namespace wienbridge

#endif
