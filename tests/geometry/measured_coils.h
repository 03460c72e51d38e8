#pragma once

#include "geometry/solenoid.h"

namespace kovaro {

struct MeasuredCoil {
  const char* builder;
  Secondary coil;  // diameter, winding height, turns, bare wire diameter, base height
  Real f1;         // measured bare resonance, Hz
};

// Bare grounded-base secondaries as their builders published them (Tesla coil mailing list
// and TSSP reports, 1997-2002).
const MeasuredCoil kCoils[] = {
    {"Paul Nicholson, big CW coil", {0.58L, 1.6L, 725, 0.0020525L, 0.15L}, 90900},
    {"Paul Nicholson, half coil", {0.58L, 0.8L, 365, 0.0020525L, 0.15L}, 150700},
    {"Marc Metlicka, 1700 turns", {0.1081L, 1.07696L, 1700, 0.0005106L, 0.3302L}, 276900},
    {"Kurt Schraner, B&W", {0.4013L, 1.768L, 821, 0.0011281L, 0.7L}, 119000},
    {"Kurt Schraner, 12 cm", {0.1207L, 0.585L, 921, 0.0006438L, 0.2L}, 368000},
    {"Kurt Schraner, 20 cm", {0.2L, 0.68L, 979, 0.0006438L, 0.5L}, 202700},
    {"Bart Anderson", {0.21431L, 1.02553L, 1817, 0.0005106L, 0.4445L}, 112500},
};

}  // namespace kovaro
