#include "clear_upper_vector_halves.h"

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

void clearUpperVectorHalves() {}

}  // namespace wienbridge

#endif
