#pragma once

#include "design/design_host.h"

namespace kovaro {

enum class Termination { Doubly = 0, Singly = 1 };

// The lossy design window's fields and the main window values its actions read.
struct LossyInputs {
  Real freq = 300000;      // NEfreq
  Real iin = 100;          // NEiin
  Real gain = 500;         // NEn
  Real bandwidth = 50000;  // NEb
  bool square = true;      // CBsquare
  Termination termination = Termination::Doubly;
  Real energy = 1;       // NEe
  Real ct = 4E-11L;      // NEcb
  Real Ca1 = 5.07E-9L;   // NECa1
  Real Cb1 = 1.04E-11L;  // NECb1
  Real Lb1 = 0.0282L;    // NELb1
  Real iin1 = 20;        // NEiin1
  Real vin = 180;        // main window NEvin
  bool details = false;  // main window CBdetails

  bool operator==(const LossyInputs&) const = default;
};

// "Design": a Butterworth bandpass prototype converted into the coupled circuit.
void DesignLossy(const LossyInputs& in, DesignTarget state, DesignHost& host);

// "Set": gain and bandwidth for a wanted output energy in a given Cb.
void SetGainAndBandwidth(const LossyInputs& in, DesignHost& host);

// "Design from elements": the rest of a lossy design from given Ca, Cb and Lb.
void DesignLossyFromElements(const LossyInputs& in, DesignTarget state, DesignHost& host);

}  // namespace kovaro
