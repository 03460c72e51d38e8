#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "design/design_host.h"
#include "shell/app_state.h"
#include "shell/report_log.h"

namespace kovaro {

// The "Drive and bank" window's fields.
struct DriveInputs {
  // One capacitor of the bank, and the margin on the run's largest |VCa|.
  Real capacitance = 1e-8L;    // F
  Real voltage_rating = 2000;  // V DC
  Real current_rating = 300;   // A peak
  Real dvdt_rating = 3000;     // V/us
  Real tan_delta = 0.0002L;    // dissipation factor
  Real margin = 1.5L;
  // The bridge's over-current limit.
  Real current_limit = 100;  // A
  // Bursts: the on-time of each and how many a second.
  Real on_time = 1e-4L;  // s
  Real rate = 100;       // Hz
  // Streamers: their length, capacitance per metre, and their resistance, fixed or that of
  // their own reactance at the loaded resonance.
  Real streamer_length = 1;              // m
  Real streamer_capacitance = 3.3e-12L;  // F/m
  bool reactance_resistance = false;
  Real streamer_resistance = 220000;  // ohms
};

// The figures of the last completed run that the bank, the over-current limit and the bursts
// take, from its samples unscaled: the largest |VCa|, |ILa| and |VCb|, the rms of ILa over the
// run, the largest |dVCa/dt| between samples, and the run's input frequency.
struct RunFigures {
  Real vca;
  Real ila;
  Real vcb;
  Real ila_rms;
  Real dvdt;
  Real frequency;
};

// Refuses, naming the field, a run that has not completed or whose VCa or ILa was scaled by 0.
RunFigures FiguresOfRun(const AppState& state);

// When |ILa| first reaches `limit` in the run (linear between samples), and |VCa| and |VCb| then.
struct LimitReached {
  Real time;
  int32_t cycle;  // the drive cycle, from 1
  Real vca;
  Real vcb;
};
std::optional<LimitReached> FirstReaching(const AppState& state, Real limit);

// The streamers' capacitance and resistance, and the secondary's resonance without and with
// them.
struct StreamerLoad {
  Real capacitance;
  Real resistance;
  Real f_without;
  Real f_with;
};
StreamerLoad Streamers(const DriveInputs& in, const ElementSet& e);

// "Calculate": refuses bad input naming the field and the rule, then reports after an empty
// line and "Drive and bank:" the bank, the over-current limit, the bursts and the streamers,
// one quantity a line.
void BdcalcClick(const DriveInputs& in, const AppState& state, ReportLog& log);

// "Apply streamer load": Cb + Cs and the streamers' resistance as Rb, in the elements and the
// element window's fields, and reported.
void BdapplyClick(const DriveInputs& in, DesignTarget target, DesignHost& host);

}  // namespace kovaro
