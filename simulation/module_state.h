#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wienbridge {

// Everything a run computes, kept for the life of the program and overwritten
// by the next run; the readout reads what the last run left. The names are the
// ones engineers use on the circuit (CR, Fc, Vp = V+, Vo) and stay as they are.
struct ModuleState {
    double CR = 0.0;       // time constant of the Wien network, seconds
    double Fc = 0.0;       // op-amp crossover frequency, MHz
    std::int32_t N = 0;    // sample-count parameter; a run takes 10 * N steps
    double Ratio = 0.0;    // R1 / R2
    double Dt = 0.0;       // step, seconds
    double Aol = 0.0;      // open-loop gain at the angular frequency 1 / CR
    std::int32_t K = 0;    // closed-loop gain of the stage, rounded to an integer
    // Samples of V+ and Vo at t = i * Dt, indices 0 to 10 * N + 1. Vp[1] = 1,
    // Vp[0] is never used; Vo[0] and Vo[10 * N + 1] stay 0. Empty before a run.
    std::vector<double> Vp;
    std::vector<double> Vo;
    double Integral = 0.0;  // rectangle-rule integral of Vp up to the current sample
    double Peak = 0.0;      // largest |Vo[i]|, i = 1 to 10 * N
    std::string RatioText;  // the last ratio written into the ratio box by a preset

    // False from the moment a run starts until it has drawn its curve, so that
    // nothing reads the samples of a run that stopped half-way.
    bool lastRunCompleted = false;
};

}  // namespace wienbridge
