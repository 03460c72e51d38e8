#include "drive/drive.h"

#include <cmath>
#include <memory>
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

void RequireRun(const AppState& state) {
  Require(state.Engine.Completed.has_value() && state.Store.SampleCount > 1,
          "Drive and bank needs a completed run: press \"Simulate and plot\" first");
}

// A figure of the report from the fields named, refused where it would be beyond the largest
// number (the report would print "+Inf").
Real Within(Real figure, const std::string& fields) {
  Require(std::isfinite(figure), fields + " would give a figure of the report beyond the largest number");
  return figure;
}

void ValidateStreamers(const DriveInputs& in) {
  Require(in.streamer_length >= 0, "Streamer length (m) must not be negative");
  Require(in.streamer_capacitance >= 0, "Streamer capacitance (F/m) must not be negative");
  const std::string both = "Streamer length (m) times Streamer capacitance (F/m)";
  Within(in.streamer_length * in.streamer_capacitance / 1e-12L, both);
  if (in.reactance_resistance) {
    Require(in.streamer_length > 0 && in.streamer_capacitance > 0,
            "Streamer length (m) and capacitance (F/m) must be greater than 0 for a resistance equal to the "
            "streamers' reactance");
    Require(in.streamer_length * in.streamer_capacitance > 0,
            both +
                " is too small for a resistance equal to the streamers' reactance: their reactance would be "
                "beyond the largest number");
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

RunChannels ChannelsOfRun(const AppState& state) {
  RequireRun(state);
  const CompletedRun& completed = *state.Engine.Completed;
  RunChannels run;
  run.frequency = completed.settings.InputFrequency;
  const auto plain = [&](Channel c) {
    return completed.settings.Scale[c] == 1 && completed.settings.Offset[c] == 0;
  };
  const auto take = [&](const WaveformStore& store) {
    const auto count = static_cast<size_t>(store.SampleCount);
    run.time.assign(store.Time.begin(), store.Time.begin() + static_cast<std::ptrdiff_t>(count));
    for (size_t k = 0; k < count; ++k) {
      run.vca.push_back(store.Channels[k][VCa]);
      run.ila.push_back(store.Channels[k][ILa]);
      run.vcb.push_back(store.Channels[k][VCb]);
    }
  };
  if (plain(VCa) && plain(ILa) && plain(VCb)) {
    take(state.Store);
    return run;
  }
  // The same steps give the same state: only what is stored of it differs.
  SimulationSettings unscaled = completed.settings;
  unscaled.Scale.fill(1);
  unscaled.Offset.fill(0);
  const auto again = std::make_unique<RunBuffers>();
  QuietRun(completed.elements, unscaled, again->Target());
  take(again->Store);
  return run;
}

RunFigures FiguresOfRun(const RunChannels& run, const std::array<StateMaximum, 4>& maxima) {
  const std::vector<Real>& t = run.time;
  RunFigures f{};
  f.vca = std::fabs(maxima[StVCa].Value);
  f.ila = std::fabs(maxima[StILa].Value);
  f.vcb = std::fabs(maxima[StVCb].Value);
  f.frequency = run.frequency;
  Real squares = 0;
  for (size_t k = 0; k + 1 < t.size(); ++k) {
    const Real dt = t[k + 1] - t[k];
    f.dvdt = std::fmax(f.dvdt, std::fabs(Div(run.vca[k + 1] - run.vca[k], dt)));
    squares += Ck((run.ila[k] * run.ila[k] + run.ila[k + 1] * run.ila[k + 1]) / 2 * dt);  // trapezoids
  }
  f.ila_rms = Sqrt(Div(squares, t.back() - t.front()));
  return f;
}

std::optional<LimitReached> FirstReaching(const RunChannels& run, Real limit) {
  const std::vector<Real>& ila = run.ila;
  const std::vector<Real>& t = run.time;
  for (size_t k = 0; k < ila.size(); ++k) {
    if (std::fabs(ila[k]) < limit) continue;
    // Linear between the sample below the limit and this one.
    const Real u = k == 0 ? 0 : (limit - std::fabs(ila[k - 1])) / (std::fabs(ila[k]) - std::fabs(ila[k - 1]));
    const size_t j = k == 0 ? 0 : k - 1;
    const auto at = [&](const std::vector<Real>& v) { return std::fabs(v[j] + u * (v[k] - v[j])); };
    const Real time = t[j] + u * (t[k] - t[j]);
    const Real cycles = time * run.frequency;
    return LimitReached{time, NearestInt(std::floor(cycles)) + 1, at(run.vca), at(run.vcb)};
  }
  return std::nullopt;
}

Real UnloadedCb(const ElementSet& e, const std::optional<AppliedStreamers>& applied) {
  return applied && e.Cb == applied->loaded_cb ? applied->unloaded_cb : e.Cb;
}

StreamerLoad Streamers(const DriveInputs& in, Real Lb, Real Cb) {
  StreamerLoad load{};
  load.capacitance = Ck(in.streamer_length * in.streamer_capacitance);
  load.f_without = ResonantFrequency(Lb, Cb);
  load.f_with = ResonantFrequency(Lb, Ck(Cb + load.capacitance));
  load.resistance = in.reactance_resistance ? Within(1 / (2 * kPi * load.f_with * load.capacitance),
                                                     "Streamer length (m) times Streamer capacitance (F/m)")
                                            : in.streamer_resistance;
  return load;
}

void SizeBank(const DriveInputs& in, const AppState& state, const std::optional<AppliedStreamers>& applied,
              ReportLog& log) {
  Validate(in);
  const RunChannels channels = ChannelsOfRun(state);
  const RunFigures run = FiguresOfRun(channels, state.Engine.StateMaxima);
  const ElementSet& e = state.Engine.Completed->elements;
  // The bank: the fewest in series that hold the margin, the strings nearest Ca. Compared
  // before rounding, so that a margin or rating of any size is refused, not overflowed.
  const Real needed = in.margin * (run.vca / in.voltage_rating);
  Require(needed <= kMostCapacitors,
          "Voltage margin and DC voltage rating (V): the bank would need more than "
          "100000 capacitors in series");
  const Real series = std::fmax(1, std::ceil(needed));
  const Real string = in.capacitance / series;
  const Real strings = RoundToEven(e.Ca / string);
  Require(strings >= 1, "Capacitance (F) is too large: one string of " +
                            FormatInt(static_cast<int32_t>(series)) + " gives " + GeneralText(string) +
                            " F, more than twice Ca");
  Require(strings <= kMostCapacitors,
          "Capacitance (F) is too small: the bank would need more than 100000 strings");
  const Real bank = Ck(strings * string);
  const Real peak = run.ila / strings;
  const Real dvdt = run.dvdt / series / 1e6L;  // V/us across each of the string's capacitors
  const Real rms = run.ila_rms / strings;
  const Real peak_share = Within(100 * peak / in.current_rating, "Peak current rating (A)");
  const Real dvdt_share = Within(100 * dvdt / in.dvdt_rating, "dV/dt rating (V/us)");
  const Real omega_c = 2 * kPi * run.frequency * in.capacitance;
  Require(run.frequency == 0 || omega_c > 0,
          "Capacitance (F) is too small for its ESR at the run's frequency to be within the largest number");
  const Real esr = in.tan_delta == 0 ? 0 : Div(in.tan_delta, omega_c);
  const Real loss = Within(rms * rms * esr, "Dissipation factor (tan delta) with Capacitance (F)");
  const Real duty = in.on_time * in.rate;
  const std::optional<LimitReached> limit = FirstReaching(channels, in.current_limit);
  const Real energy = Ck(e.Cb * run.vcb * run.vcb / 2);
  const Real power = Within(energy * in.rate, "Bursts per second (Hz)");
  const Real spark = 1.7L * std::sqrt(power) * 0.0254L;  // inches to metres
  const StreamerLoad streamers = Streamers(in, state.Elements.Lb, UnloadedCb(state.Elements, applied));

  log.LogLine("");
  log.LogLine("Drive and bank:");
  log.LogLine("Largest |VCa| of the run=" + Fixed(run.vca) + " V");
  log.LogLine("Capacitors in series=" + FormatInt(static_cast<int32_t>(series)));
  log.LogLine("Strings in parallel=" + FormatInt(static_cast<int32_t>(strings)));
  log.LogLine("Bank capacitance=" + Sci(bank) + " F");
  log.LogLine("Bank capacitance against Ca=" + Percent(100 * (bank / e.Ca - 1)) + " %");
  log.LogLine("Peak current per string=" + Fixed(peak) + " A");
  log.LogLine("Peak current per string against its rating=" + Percent(peak_share) + " %");
  log.LogLine("dV/dt per capacitor=" + Fixed(dvdt) + " V/us");
  log.LogLine("dV/dt per capacitor against its rating=" + Percent(dvdt_share) + " %");
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

AppliedStreamers ApplyStreamerLoad(const DriveInputs& in, const std::optional<AppliedStreamers>& applied,
                                   DesignTarget target, DesignHost& host) {
  ValidateStreamers(in);
  const Real unloaded = UnloadedCb(target.Elements, applied);
  const StreamerLoad load = Streamers(in, target.Elements.Lb, unloaded);
  const Real cb = Ck(unloaded + load.capacitance);
  host.SetElementField(ElementField::Cb, cb);
  host.SetElementField(ElementField::Rb, load.resistance);
  target.Elements.Cb = cb;
  target.Elements.Rb = load.resistance;
  host.LogLine("");
  host.LogLine("Streamer load applied:");
  host.LogLine("Cb=" + Sci(cb) + " F");
  host.LogLine("Cb without the streamers=" + Sci(unloaded) + " F");
  host.LogLine("Streamer capacitance=" + Sci(load.capacitance) + " F");
  host.LogLine("Rb=" + Sci(load.resistance) + " ohm");
  return {unloaded, cb};
}

}  // namespace kovaro
