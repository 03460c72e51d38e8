#include "frequency/netlist.h"

#include <algorithm>
#include <cmath>

#include "shell/float_error.h"
#include "shell/numeric_text.h"
#include "shell/text_file.h"
#include "simulation/circuit.h"
#include "simulation/engine.h"
#include "simulation/waveform_store.h"

namespace kovaro {
namespace {

// The general text of a field: locale-free, and read by SPICE as written.
std::string N(Real x) { return GeneralText(x); }

const char* StopModeName(StopMode mode) {
  switch (mode) {
    case StopMode::OpenDriver:
      return "open driver";
    case StopMode::ShortCircuit:
      return "short-circuit driver";
    case StopMode::FreeWheelingDiodes:
      return "open with free-wheeling diodes";
    case StopMode::MultiplyVin:
      return "multiply vin";
  }
  return "";
}

std::string Source(const SimulationSettings& s, Real h) {
  const Real v = s.NEvin;
  const Real offset = s.CBoffset ? v : 0;
  const Real period = Div(1, s.NEfin);
  std::string line = "V1 in 0 DC 0 AC 1 ";
  if (s.RGvin == Waveform::Sine || s.RGvin == Waveform::Cosine) {
    const char* phase = s.RGvin == Waveform::Sine ? "0" : "90";
    return line + "SIN(" + N(offset) + " " + N(v) + " " + N(s.NEfin) + " 0 0 " + phase + ")\n";
  }
  // The square wave as a pulse train with edges of a tenth of a step, centred on the
  // switching times: the first at half a period (squared sine) or a quarter (squared cosine).
  const Real edge = h / 10;
  const Real first = s.RGvin == Waveform::SquaredSine ? period / 2 : period / 4;
  return line + "PULSE(" + N(Ck(v + offset)) + " " + N(Ck(offset - v)) + " " + N(first - edge / 2) + " " +
         N(edge) + " " + N(edge) + " " + N(period / 2 - edge) + " " + N(period) + ")\n";
}

}  // namespace

std::string SpiceNetlist(const std::string& title, const ElementSet& e, const SimulationSettings& s,
                         const FrequencyRange& range) {
  BuildCircuit(e, s.CBnoload);  // a circuit that a run refuses is not exported either
  const Real h = StepLength(s.NEtmax, std::min(s.NEpontos, kCapacity));
  std::string n = "* " + title + "\n";
  n += "* The driver's primary current feedback and its stop modes cannot be expressed here.\n";
  if (s.CBsegue)
    n += "* The run switches the driver with the primary current after t=" + N(s.NEstart) + " s.\n";
  if (s.NEtempo < s.NEtmax)
    n += "* The run stops the driver at t=" + N(s.NEtempo) + " s (" + StopModeName(s.RGstop) + ").\n";
  n += Source(s, h);
  const char* node = "in";
  auto series = [&](const char* name, Real r, const char* next) {
    if (r == 0) return;
    n += std::string(name) + " " + node + " " + next + " " + N(r) + "\n";
    node = next;
  };
  series("Rin", e.Rin, "x");
  n += std::string("Ca ") + node + " a " + N(e.Ca) + "\n";
  node = "a";
  series("RLa", e.RLa, "al");
  n += std::string("La ") + node + " 0 " + N(e.La) + "\n";
  n += "Cb b 0 " + N(e.Cb) + "\n";
  if (!s.CBnoload) n += "Rb b 0 " + N(e.Rb) + "\n";
  node = "b";
  series("RLb", e.RLb, "bl");
  n += std::string("Lb ") + node + " 0 " + N(e.Lb) + "\n";
  n += "K1 La Lb " + N(e.kab) + "\n";
  n += ".options reltol=1e-6\n";
  n += ".tran " + N(h) + " " + N(s.NEtmax) + " 0 " + N(h) + " uic\n";
  const Real decades = std::log10(range.to / range.from);
  const Real per_decade = std::fmax(1, std::ceil((range.points - 1) / decades));
  n += ".ac dec " + N(per_decade) + " " + N(range.from) + " " + N(range.to) + "\n";
  n += ".end\n";
  return n;
}

void BnetlistClick(const std::string& design_name, const ElementSet& e, const SimulationSettings& s,
                   const FrequencyRange& range, ReportLog& log) {
  const std::string name = design_name + ".cir";
  WriteWholeFile(name, SpiceNetlist("Kovaro " + design_name, e, s, range));
  log.LogLine("Netlist saved as " + name);
}

}  // namespace kovaro
