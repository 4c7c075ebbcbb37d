#pragma once

#include <cstdint>

namespace wienbridge {

// What a run is asked to compute, as read from the parameter boxes. The names
// are the ones engineers use on the circuit and stay as they are.
struct RunInputs {
    double CR = 0.0;     // time constant of the Wien network, seconds
    double Fc = 0.0;     // op-amp crossover frequency, MHz
    std::int32_t N = 0;  // sample-count parameter; a run takes 10 * N steps
    double Ratio = 0.0;  // R1 / R2
};

// What a run that completed leaves, besides what its observers kept.
struct RunResult {
    double Dt = 0.0;           // step, seconds
    double Aol = 0.0;          // open-loop gain at the angular frequency 1 / CR
    std::int32_t K = 0;        // closed-loop gain of the stage, rounded to an integer
    double Peak = 0.0;         // largest |Vo| over the run
    std::int64_t Samples = 0;  // 10 * N, the samples of the whole run
};

}  // namespace wienbridge
