#include "drive/drive.h"

#include <cmath>
#include <vector>

#include "geometry/solenoid.h"
#include "shell/constants.h"
#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/messages.h"
#include "shell/numeric_text.h"
#include "shell/real_math.h"

namespace kovaro {
namespace {

constexpr Real kMostCapacitors = 100000;

void Require(bool rule, const std::string& message) {
  if (!rule) throw InputError(message);
}

void Positive(Real value, const std::string& field) { Require(value > 0, field + " must be greater than 0"); }

// A channel of the completed run as the circuit had it: its samples were stored scaled.
std::vector<Real> Unscaled(const AppState& state, Channel c, const char* name) {
  const SimulationSettings& s = state.Engine.Completed->settings;
  Require(s.Scale[c] != 0, std::string("The last run showed ") + name +
                               " with a scaling factor of 0, so its samples hold none of it: run again with "
                               "another factor");
  const WaveformStore& store = state.Store;
  std::vector<Real> v(static_cast<size_t>(store.SampleCount));
  for (int32_t k = 0; k < store.SampleCount; ++k)
    v[static_cast<size_t>(k)] = (store.Channels[static_cast<size_t>(k)][c] - s.Offset[c]) / s.Scale[c];
  return v;
}

void RequireRun(const AppState& state) {
  Require(state.Engine.Completed.has_value() && state.Store.SampleCount > 1,
          "Drive and bank needs a completed run: press \"Simulate and plot\" first");
}

void ValidateStreamers(const DriveInputs& in) {
  Require(in.streamer_length >= 0, "Streamer length (m) must not be negative");
  Require(in.streamer_capacitance >= 0, "Streamer capacitance (F/m) must not be negative");
  if (in.reactance_resistance) {
    Require(in.streamer_length * in.streamer_capacitance > 0,
            "Streamer length (m) and capacitance (F/m) must be greater than 0 for a resistance equal to the "
            "streamers' reactance");
  } else {
    Positive(in.streamer_resistance, "Streamer resistance (ohm)");
  }
}

void Validate(const DriveInputs& in) {
  Positive(in.capacitance, "Capacitance (F)");
  Positive(in.voltage_rating, "DC voltage rating (V)");
  Positive(in.current_rating, "Peak current rating (A)");
  Positive(in.dvdt_rating, "dV/dt rating (V/us)");
  Require(in.tan_delta >= 0, "Dissipation factor (tan delta) must not be negative");
  Require(in.margin >= 1, "Voltage margin must be at least 1");
  Positive(in.current_limit, "Over-current limit (A)");
  Positive(in.on_time, "Burst on-time (s)");
  Positive(in.rate, "Bursts per second (Hz)");
  Require(in.on_time * in.rate <= 1, "Burst on-time (s) times Bursts per second (Hz) must not exceed 1");
  ValidateStreamers(in);
}

std::string Fixed(Real x) { return FormatReal(x, 15, 5); }
std::string Sci(Real x) { return FormatReal(x, 15, -1); }
std::string Percent(Real x) { return FormatReal(x, 10, 5); }

}  // namespace

RunFigures FiguresOfRun(const AppState& state) {
  RequireRun(state);
  const std::vector<Real> vca = Unscaled(state, VCa, "VCa");
  const std::vector<Real> ila = Unscaled(state, ILa, "ILa");
  const std::vector<Real>& t = state.Store.Time;
  RunFigures f{};
  const auto& maxima = state.Engine.StateMaxima;
  f.vca = std::fabs(maxima[StVCa].Value);
  f.ila = std::fabs(maxima[StILa].Value);
  f.vcb = std::fabs(maxima[StVCb].Value);
  f.frequency = state.Engine.Completed->settings.NEfin;
  Real squares = 0;
  for (size_t k = 0; k + 1 < vca.size(); ++k) {
    const Real dt = t[k + 1] - t[k];
    f.dvdt = std::fmax(f.dvdt, std::fabs(Div(vca[k + 1] - vca[k], dt)));
    squares += Ck((ila[k] * ila[k] + ila[k + 1] * ila[k + 1]) / 2 * dt);  // trapezoids over the run
  }
  f.ila_rms = Sqrt(Div(squares, t[vca.size() - 1] - t[0]));
  return f;
}

std::optional<LimitReached> FirstReaching(const AppState& state, Real limit) {
  RequireRun(state);
  const std::vector<Real> ila = Unscaled(state, ILa, "ILa");
  const std::vector<Real> vca = Unscaled(state, VCa, "VCa");
  const std::vector<Real> vcb = Unscaled(state, VCb, "VCb");
  const std::vector<Real>& t = state.Store.Time;
  for (size_t k = 0; k < ila.size(); ++k) {
    if (std::fabs(ila[k]) < limit) continue;
    // Linear between the sample below the limit and this one.
    const Real u = k == 0 ? 0 : (limit - std::fabs(ila[k - 1])) / (std::fabs(ila[k]) - std::fabs(ila[k - 1]));
    const size_t j = k == 0 ? 0 : k - 1;
    const auto at = [&](const std::vector<Real>& v) { return std::fabs(v[j] + u * (v[k] - v[j])); };
    const Real time = t[j] + u * (t[k] - t[j]);
    const Real cycles = time * state.Engine.Completed->settings.NEfin;
    return LimitReached{time, NearestInt(std::floor(cycles)) + 1, at(vca), at(vcb)};
  }
  return std::nullopt;
}

StreamerLoad Streamers(const DriveInputs& in, const ElementSet& e) {
  StreamerLoad load{};
  load.capacitance = Ck(in.streamer_length * in.streamer_capacitance);
  load.f_without = ResonantFrequency(e.Lb, e.Cb);
  load.f_with = ResonantFrequency(e.Lb, Ck(e.Cb + load.capacitance));
  load.resistance =
      in.reactance_resistance ? Div(1, Ck(2 * kPi * load.f_with * load.capacitance)) : in.streamer_resistance;
  return load;
}

void BdcalcClick(const DriveInputs& in, const AppState& state, ReportLog& log) {
  Validate(in);
  const RunFigures run = FiguresOfRun(state);
  const ElementSet& e = state.Engine.Completed->elements;
  // The bank: the fewest in series that hold the margin, the strings nearest Ca.
  const Real series = std::fmax(1, std::ceil(Div(in.margin * run.vca, in.voltage_rating)));
  Require(series <= kMostCapacitors, "DC voltage rating (V): the bank would need more than 100000 in series");
  const Real string = in.capacitance / series;
  const Real strings = RoundToEven(Div(e.Ca, string));
  Require(strings >= 1, "Capacitance (F) is too large: one string of " +
                            FormatInt(static_cast<int32_t>(series)) + " gives " + GeneralText(string) +
                            " F, more than twice Ca");
  Require(strings <= kMostCapacitors,
          "Capacitance (F) is too small: the bank would need more than 100000 strings");
  const Real bank = Ck(strings * string);
  const Real peak = run.ila / strings;
  const Real dvdt = run.dvdt / series / 1e6L;  // V/us across each of the string's capacitors
  const Real rms = run.ila_rms / strings;
  const Real esr = Div(in.tan_delta, Ck(2 * kPi * run.frequency * in.capacitance));
  const Real loss = Ck(rms * rms * esr);
  const Real duty = in.on_time * in.rate;
  const std::optional<LimitReached> limit = FirstReaching(state, in.current_limit);
  const Real energy = Ck(e.Cb * run.vcb * run.vcb / 2);
  const Real power = Ck(energy * in.rate);
  const Real spark = 1.7L * std::sqrt(power) * 0.0254L;  // inches to metres
  const StreamerLoad streamers = Streamers(in, state.Elements);

  log.LogLine("");
  log.LogLine("Drive and bank:");
  log.LogLine("Largest |VCa| of the run=" + Fixed(run.vca) + " V");
  log.LogLine("Capacitors in series=" + FormatInt(static_cast<int32_t>(series)));
  log.LogLine("Strings in parallel=" + FormatInt(static_cast<int32_t>(strings)));
  log.LogLine("Bank capacitance=" + Sci(bank) + " F");
  log.LogLine("Bank capacitance against Ca=" + Percent(100 * (bank / e.Ca - 1)) + " %");
  log.LogLine("Peak current per string=" + Fixed(peak) + " A");
  log.LogLine("Peak current per string against its rating=" + Percent(100 * peak / in.current_rating) + " %");
  log.LogLine("dV/dt per capacitor=" + Fixed(dvdt) + " V/us");
  log.LogLine("dV/dt per capacitor against its rating=" + Percent(100 * dvdt / in.dvdt_rating) + " %");
  log.LogLine("Rms current per string over the run=" + Fixed(rms) + " A");
  log.LogLine("ESR per capacitor at the run's frequency=" + Sci(esr) + " ohm");
  log.LogLine("Loss per capacitor during a burst=" + Fixed(loss) + " W");
  log.LogLine("Average loss per capacitor with the bursts=" + Fixed(loss * duty) + " W");
  if (limit) {
    log.LogLine("Time |ILa| reaches the over-current limit=" + Fixed(limit->time / 1e-6L) + " us");
    log.LogLine("Drive cycle it is reached in=" + FormatInt(limit->cycle));
    log.LogLine("|VCa| then=" + Fixed(limit->vca) + " V");
    log.LogLine("|VCb| then=" + Fixed(limit->vcb) + " V");
  } else {
    log.LogLine("The run never reaches the over-current limit; its largest |ILa|=" + Fixed(run.ila) + " A");
  }
  log.LogLine("Burst duty=" + Percent(100 * duty) + " %");
  log.LogLine("Energy in Cb at the largest |VCb|=" + Fixed(energy) + " J");
  log.LogLine("Average power of the bursts=" + Fixed(power) + " W");
  log.LogLine("Spark length by the rule of thumb (1.7 sqrt(W) inches)=" + Fixed(spark) + " m");
  log.LogLine("Streamer capacitance=" + Fixed(streamers.capacitance / 1e-12L) + " pF");
  log.LogLine("Streamer resistance=" + Sci(streamers.resistance) + " ohm");
  log.LogLine("Secondary resonance without streamers=" + Fixed(streamers.f_without / 1000) + " kHz");
  log.LogLine("Secondary resonance with streamers=" + Fixed(streamers.f_with / 1000) + " kHz");
  log.LogLine("Detuning by the streamers=" + Percent(100 * (streamers.f_with / streamers.f_without - 1)) +
              " %");
}

void BdapplyClick(const DriveInputs& in, DesignTarget target, DesignHost& host) {
  ValidateStreamers(in);
  const StreamerLoad load = Streamers(in, target.Elements);
  const Real cb = Ck(target.Elements.Cb + load.capacitance);
  host.SetElementField(ElementField::Cb, cb);
  host.SetElementField(ElementField::Rb, load.resistance);
  target.Elements.Cb = cb;
  target.Elements.Rb = load.resistance;
  host.LogLine("");
  host.LogLine("Streamer load applied:");
  host.LogLine("Cb=" + Sci(cb) + " F");
  host.LogLine("Rb=" + Sci(load.resistance) + " ohm");
}

}  // namespace kovaro
