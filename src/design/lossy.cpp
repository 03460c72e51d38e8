#include "design/lossy.h"

#include "elements/value_list.h"
#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/real_math.h"
#include "simulation/driver.h"

namespace kovaro {
namespace {

const char* Word(Termination t) { return t == Termination::Doubly ? "doubly" : "singly"; }

// The closing steps of both designs, from the elements already in the set.
void CompleteLossyDesign(CReal R, CReal f, CReal vin, CReal n, bool details, DesignTarget state,
                         DesignHost& host) {
  const ElementSet& e = state.Elements;
  WriteValueList(state.DesignName + ".val",
                 {{"Ra", R.value()},
                  {"Ca", e.Ca},
                  {"La", e.La},
                  {"Lb", e.Lb},
                  {"kab", e.kab},
                  {"Cb", e.Cb},
                  {"Rb", e.Rb},
                  {"Freq", f.value()}},
                 host);
  SetElementFields(host, e);
  const CReal Ca = e.Ca;
  const CReal La = e.La;
  const CReal Lb = e.Lb;
  const CReal Cb = e.Cb;
  const CReal kab = e.kab;
  if (details) {
    host.LogLine("La*Ca = " + FormatReal(La * Ca, 15, -1));
    host.LogLine("Lb*Cb = " + FormatReal(Lb * Cb, 15, -1));
    host.LogLine("La*Ca*(1-kab^2) = " + FormatReal(La * Ca * (1 - Sqr(kab)), 15, -1));
    host.LogLine("1/(2*pi*sqrt(Lb*Cb)) = " + FormatReal(1 / (Sqrt(Lb * Cb) * kTwoPi), 15, -1));
  }
  const CReal energy = CReal(0.5L) * Cb * Sqr(CReal(kFourOverPi) * vin * n);
  host.LogLine("Peak energy in Cb at steady state: " + FormatReal(energy, 15, 10) + " J");
  host.SetInputFrequency(f.value());
  host.SetSimulateEnabled(true);
  host.HideDesignWindow();
}

CReal TerminationResistance(bool square, CReal vin, CReal iin) {
  const CReal V1 = square ? CReal(kFourOverPi) * vin : vin;
  return V1 / iin;
}

}  // namespace

void DesignLossy(const LossyInputs& in, DesignTarget state, DesignHost& host) {
  host.LogLine("");
  const CReal f = in.freq;
  const CReal vin = in.vin;
  const CReal n = in.gain;
  const bool doubly = in.termination == Termination::Doubly;
  const CReal w0 = CReal(kTwoPi) * f;
  const CReal bw = CReal(kTwoPi) * in.bandwidth;
  const CReal R = TerminationResistance(in.square, vin, in.iin);
  const CReal sqrt2 = Sqrt(CReal(2));
  const CReal C1 = bw / (sqrt2 * Sqr(w0) * R);
  const CReal L1 = sqrt2 * R / bw;
  const CReal L2 = doubly ? bw * R / (sqrt2 * Sqr(w0)) : sqrt2 * bw * R / Sqr(w0);
  const CReal C2 = doubly ? sqrt2 / (bw * R) : 1 / (sqrt2 * bw * R);
  const std::string word = Word(in.termination);
  state.DesignName = (doubly ? "td" : "ts") + FormatInt(NearestInt((w0 / bw).value()));

  ElementSet& e = state.Elements;
  e.Ca = C1.value();
  e.La = (L1 + L2).value();
  e.Lb = (Sqr(n) * L2).value();
  e.Cb = (C2 / Sqr(n)).value();
  e.kab = Sqrt(L2 / (L1 + L2)).value();
  e.Rb = (Sqr(n) * R).value();

  if (in.details) {
    host.LogLine("Butterworth " + word + " terminated bandpass filter:");
    if (doubly) host.LogLine("R1: " + FormatReal(R, 15, -1));
    host.LogLine("C1: " + FormatReal(C1, 15, -1));
    host.LogLine("L1: " + FormatReal(L1, 15, -1));
    host.LogLine("L2: " + FormatReal(L2, 15, -1));
    host.LogLine("C2: " + FormatReal(C2, 15, -1));
    host.LogLine("R2: " + FormatReal(R, 15, -1));
    WriteValueList(state.DesignName + "n.val",
                   {{"R1", R.value()},
                    {"C1", C1.value()},
                    {"L1", L1.value()},
                    {"L2", L2.value()},
                    {"C2", C2.value()},
                    {"R2", R.value()}},
                   host);
  }
  host.LogLine("Final circuit, " + word + " terminated design:");
  if (doubly) host.LogLine("Ra: " + FormatReal(R, 15, 10) + " ohms");
  host.LogLine("Ca: " + FormatReal(CReal(e.Ca) / 1e-12L, 15, 10) + " pF");
  host.LogLine("La: " + FormatReal(CReal(e.La) / 1e-6L, 15, 10) + " uH");
  host.LogLine("Lb: " + FormatReal(CReal(e.Lb) / 1e-6L, 15, 10) + " uH");
  host.LogLine("kab: " + FormatReal(e.kab, 15, 10));
  host.LogLine("Cb: " + FormatReal(CReal(e.Cb) / 1e-12L, 15, 10) + " pF");
  host.LogLine("Rb: " + FormatReal(e.Rb, 15, 10) + " ohms");
  CompleteLossyDesign(R, f, vin, n, in.details, state, host);
}

void SetGainAndBandwidth(const LossyInputs& in, DesignHost& host) {
  const CReal sqrt2 = Sqrt(CReal(2));
  const CReal K = (in.termination == Termination::Doubly ? 4 / sqrt2 : 2 / sqrt2) / kPi;
  const CReal vin = in.vin;
  const CReal E = in.energy;
  const CReal b = K * vin * in.iin / E / kTwoPi;
  host.SetDesignField(DesignField::Bandwidth, b.value());
  const CReal n = Sqrt(E / 8 / in.ct) * (kPi / vin);
  host.SetDesignField(DesignField::Gain, n.value());
  host.SetSimulateEnabled(false);
}

void DesignLossyFromElements(const LossyInputs& in, DesignTarget state, DesignHost& host) {
  host.LogLine("");
  const bool doubly = in.termination == Termination::Doubly;
  ElementSet& e = state.Elements;
  e.Ca = in.Ca1;
  e.Lb = in.Lb1;
  e.Cb = in.Cb1;
  const CReal Ca = e.Ca;
  const CReal Lb = e.Lb;
  const CReal Cb = e.Cb;
  const CReal vin = in.vin;
  const CReal R = TerminationResistance(in.square, vin, in.iin1);
  const CReal sqrt2 = Sqrt(CReal(2));
  const CReal w0 = 1 / Sqrt(Lb * Cb);
  const CReal bw = sqrt2 * Ca * R / (Lb * Cb);
  const CReal n = doubly ? Sqrt(Lb / (Sqr(R) * Ca)) : Sqrt(Lb / (2 * Sqr(R) * Ca));
  const CReal La = doubly ? Sqr(R) * Ca + Lb * Cb / Ca : 2 * Sqr(R) * Ca + Lb * Cb / Ca;
  e.La = La.value();
  const CReal t = doubly ? Sqr(Ca * R) : 2 * Sqr(Ca * R);
  const CReal kab = Sqrt(t / (t + Lb * Cb));
  e.kab = kab.value();
  const std::string word = Word(in.termination);
  state.DesignName = (doubly ? "tde" : "tse") + FormatInt(NearestInt((w0 / bw).value()));
  const CReal Rb = Sqr(n) * R;
  e.Rb = Rb.value();
  const CReal f = w0 / kTwoPi;
  host.LogLine("Final circuit, " + word + " terminated design with specified elements:");
  host.LogLine("Driving frequency: " + FormatReal(f, 15, 5) + " Hz");
  host.LogLine("Bandwidth: " + FormatReal(bw / kTwoPi, 15, 5) + " Hz");
  host.LogLine("Voltage gain: " + FormatReal(n, 15, 10));
  host.LogLine("Ra: " + FormatReal(R, 15, 10) + " ohms");
  host.LogLine("Rb: " + FormatReal(Rb, 15, 10) + " ohms");
  host.LogLine("Ca: " + FormatReal(Ca / 1e-12L, 15, 10) + " pF");
  host.LogLine("La: " + FormatReal(La / 1e-6L, 15, 10) + " uH");
  host.LogLine("Lb: " + FormatReal(Lb / 1e-6L, 15, 10) + " uH");
  host.LogLine("kab: " + FormatReal(kab, 15, 10));
  host.LogLine("Cb: " + FormatReal(Cb / 1e-12L, 15, 10) + " pF");
  CompleteLossyDesign(R, f, vin, n, in.details, state, host);
}

}  // namespace kovaro
