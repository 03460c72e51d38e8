#include "frequency/netlist.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <utility>

#include "shell/float_error.h"
#include "shell/messages.h"
#include "shell/numeric_text.h"
#include "shell/text_file.h"
#include "simulation/circuit.h"
#include "simulation/engine.h"
#include "simulation/waveform_store.h"

namespace kovaro {
namespace {

// ngspice's AC sweep never ends with many more points a decade than this.
constexpr Real kMostPointsPerDecade = 1e6L;

// A number as SPICE reads it: the general text of a field, locale-free, refused when a
// double cannot hold it, since SPICE would read it as infinite or as 0.
std::string N(Real x, const char* what) {
  const std::string text = GeneralText(x);
  errno = 0;
  const double read = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(read) || (read == 0) != (x == 0) || (read != 0 && std::fabs(read) < DBL_MIN))
    throw InputError(std::string(what) + "=" + text +
                     " is beyond the range of numbers SPICE reads (about 1E-307 to 1E308)");
  return text;
}

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

// The numbers' texts one after another, so that the first one SPICE cannot read is named.
std::string Numbers(std::initializer_list<std::pair<Real, const char*>> numbers) {
  std::string text;
  for (const auto& [x, what] : numbers) {
    if (!text.empty()) text += ' ';
    text += N(x, what);
  }
  return text;
}

std::string Source(const SimulationSettings& s, Real h) {
  const char* volts = "Input voltage (V peak)";
  const char* hertz = "Input frequency (Hz)";
  const char* seconds = "Final time (s)";
  const Real v = s.InputVoltage;
  const Real offset = s.AddOffset ? v : 0;
  const Real period = Div(1, s.InputFrequency);
  std::string line = "V1 in 0 DC 0 AC 1 ";
  if (s.VinWaveform == Waveform::Sine || s.VinWaveform == Waveform::Cosine) {
    const char* phase = s.VinWaveform == Waveform::Sine ? " 0 0 0)\n" : " 0 0 90)\n";
    return line + "SIN(" + Numbers({{offset, volts}, {v, volts}, {s.InputFrequency, hertz}}) + phase;
  }
  // The square wave as a pulse train with edges of a tenth of a step, centred on the
  // switching times: the first at half a period (squared sine) or a quarter (squared cosine).
  const Real edge = h / 10;
  const Real first = s.VinWaveform == Waveform::SquaredSine ? period / 2 : period / 4;
  return line + "PULSE(" +
         Numbers({{Ck(v + offset), volts},
                  {Ck(offset - v), volts},
                  {first - edge / 2, hertz},
                  {edge, seconds},
                  {edge, seconds},
                  {period / 2 - edge, hertz},
                  {period, hertz}}) +
         ")\n";
}

// The AC sweep of `range`: as many points a decade as give its points.
std::string AcLine(const FrequencyRange& range) {
  const Real ratio = range.to / range.from;
  const Real decades =
      std::isfinite(ratio) ? std::log10(ratio) : std::log10(range.to) - std::log10(range.from);
  const Real per_decade = std::fmax(1, std::ceil((range.points - 1) / decades));
  if (per_decade > kMostPointsPerDecade)
    throw InputError(
        "Points: a netlist's AC analysis takes at most 1000000 points a decade; widen From (Hz) "
        "to To (Hz) or take fewer points");
  return ".ac dec " + GeneralText(per_decade) + " " +
         Numbers({{range.from, "From (Hz)"}, {range.to, "To (Hz)"}}) + "\n";
}

}  // namespace

std::string SpiceNetlist(const std::string& title, const ElementSet& e, const SimulationSettings& s,
                         const FrequencyRange& range) {
  BuildCircuit(e, s.RemoveLoad);  // a circuit that a run refuses is not exported either
  const Real h = StepLength(s.FinalTime, std::min(s.Points, kCapacity));
  std::string n = "* " + title + "\n";
  n += "* The driver's primary current feedback and its stop modes cannot be expressed here.\n";
  if (s.Feedback)
    n += "* The run switches the driver with the primary current after t=" + GeneralText(s.FeedbackStart) +
         " s.\n";
  if (s.StopTime < s.FinalTime)
    n += "* The run stops the driver at t=" + GeneralText(s.StopTime) + " s (" + StopModeName(s.AfterStop) +
         ").\n";
  n += Source(s, h);
  const char* node = "in";
  auto series = [&](const char* name, Real r, const char* next) {
    if (r == 0) return;
    n += std::string(name) + " " + node + " " + next + " " + N(r, name) + "\n";
    node = next;
  };
  series("Rin", e.Rin, "x");
  const std::string terminal = node;  // the driver's output, after its resistance
  n += std::string("Ca ") + node + " a " + N(e.Ca, "Ca") + "\n";
  node = "a";
  series("RLa", e.RLa, "al");
  n += std::string("La ") + node + " 0 " + N(e.La, "La") + "\n";
  n += "Cb b 0 " + N(e.Cb, "Cb") + "\n";
  if (!s.RemoveLoad) n += "Rb b 0 " + N(e.Rb, "Rb") + "\n";
  node = "b";
  series("RLb", e.RLb, "bl");
  n += std::string("Lb ") + node + " 0 " + N(e.Lb, "Lb") + "\n";
  n += "K1 La Lb " + N(e.kab, "kab") + "\n";
  n += ".options reltol=1e-6\n";
  const char* seconds = "Final time (s)";
  const std::string step = N(h, seconds);
  n += ".tran " + step + " " + N(s.FinalTime, seconds) + " 0 " + step + " uic\n";
  n += AcLine(range);
  // What the plot shows: Vin at the driver's output, VCa, ILa, VCb, ILb and VLa (across the
  // primary's branch); and |VCb/Vdrive| and the primary current of the response.
  const std::string vin = "v(" + terminal + ")";
  n += ".save v(in)" + (terminal == "in" ? std::string() : " " + vin) + " v(a) v(b) i(La) i(Lb)\n";
  n += ".print tran " + vin + " v(" + terminal + ",a) i(La) v(b) i(Lb) v(a)\n";
  n += ".print ac vdb(b) vp(b) i(La)\n";
  n += ".end\n";
  return n;
}

void ExportNetlist(const std::string& design_name, const ElementSet& e, const SimulationSettings& s,
                   const FrequencyRange& range, ReportLog& log) {
  // Settings that "Simulate and plot" refuses are refused here with its message: the run is
  // made, unseen, in a store of its own.
  const auto scratch = std::make_unique<RunBuffers>();
  if (!QuietRun(e, s, scratch->Target())) throw InputError(kTooFewPoints);
  const std::string name = design_name + ".cir";
  WriteWholeFile(name, SpiceNetlist("Kovaro " + design_name, e, s, range), true);
  log.LogLine("Netlist saved as " + name);
}

}  // namespace kovaro
