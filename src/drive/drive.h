#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "design/design_host.h"
#include "shell/report_log.h"
#include "state/app_state.h"

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

// The last completed run's VCa, ILa and VCb as the circuit had them, with its times: its
// samples are stored scaled for display, which can lose them (an offset far larger than the
// scaled values), so where it ran scaled the same run is made again without scaling.
struct RunChannels {
  std::vector<Real> time;
  std::vector<Real> vca;
  std::vector<Real> ila;
  std::vector<Real> vcb;
  Real frequency;  // the run's input frequency
};

// Refuses a run that has not completed.
RunChannels ChannelsOfRun(const AppState& state);

// The figures of the run that the bank, the over-current limit and the bursts take: the
// largest |VCa|, |ILa| and |VCb|, the rms of ILa over the run, the largest |dVCa/dt| between
// samples, and the run's input frequency.
struct RunFigures {
  Real vca;
  Real ila;
  Real vcb;
  Real ila_rms;
  Real dvdt;
  Real frequency;
};

RunFigures FiguresOfRun(const RunChannels& run, const std::array<StateMaximum, 4>& maxima);

// When |ILa| first reaches `limit` in the run (linear between samples), and |VCa| and |VCb| then.
struct LimitReached {
  Real time;
  int32_t cycle;  // the drive cycle, from 1
  Real vca;
  Real vcb;
};
std::optional<LimitReached> FirstReaching(const RunChannels& run, Real limit);

// What "Apply streamer load" put into the elements: Cb without the streamers, and with them.
struct AppliedStreamers {
  Real unloaded_cb;
  Real loaded_cb;
};

// The secondary's Cb without streamers: the elements' own, or the one a streamer load was
// applied to while the elements still hold that load.
Real UnloadedCb(const ElementSet& e, const std::optional<AppliedStreamers>& applied);

// The streamers' capacitance and resistance, and the secondary's resonance without and with
// them, on a secondary of Lb and (without streamers) Cb.
struct StreamerLoad {
  Real capacitance;
  Real resistance;
  Real f_without;
  Real f_with;
};
StreamerLoad Streamers(const DriveInputs& in, Real Lb, Real Cb);

// "Calculate": refuses bad input naming the field and the rule, then reports after an empty
// line and "Drive and bank:" the bank, the over-current limit, the bursts and the streamers,
// one quantity a line.
void SizeBank(const DriveInputs& in, const AppState& state, const std::optional<AppliedStreamers>& applied,
              ReportLog& log);

// "Apply streamer load": the secondary's Cb without streamers plus theirs, and their
// resistance as Rb, in the elements and the element window's fields, and reported; applied
// again, it replaces the load it applied before instead of adding to it.
AppliedStreamers ApplyStreamerLoad(const DriveInputs& in, const std::optional<AppliedStreamers>& applied,
                                   DesignTarget target, DesignHost& host);

}  // namespace kovaro
