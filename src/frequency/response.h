#pragma once

#include <complex>
#include <vector>

#include "simulation/circuit.h"

namespace kovaro {

using Complex = std::complex<Real>;

// The steady state at one frequency, per volt of the driver's source.
struct Response {
  Complex gain;       // VCb / Vdrive
  Complex impedance;  // Zin = Vdrive / ILa, Rin included
};

// Solves (j w I - A) X = B at f; no time-domain run is involved.
Response FrequencyResponse(const CircuitSystem& c, Real f);

// 20 log10 |g| (minus infinity for 0), and the phase of z in degrees.
Real Decibels(Complex g);
Real PhaseDegrees(Complex z);

// n frequencies from `from` to `to`, evenly spaced on a logarithmic axis.
std::vector<Real> LogFrequencies(Real from, Real to, int32_t n);

// A natural mode of the circuit: a complex pair as its frequency |lambda| / 2 pi and its
// Q = |lambda| / (-2 Re lambda) (infinite without damping), or a real eigenvalue as its time
// constant -1 / lambda.
struct Mode {
  bool oscillating;
  Real f;
  Real Q;
  Real tau;
};

// The eigenvalues of A by Eigen's real Schur decomposition (Hessenberg reduction and
// Francis QR steps): pairs in increasing frequency, then real eigenvalues by decreasing
// time constant.
std::vector<Mode> NaturalModes(const CircuitSystem& c);

}  // namespace kovaro
