#include "design/lossless.h"

#include "elements/value_list.h"
#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/real_math.h"
#include "simulation/driver.h"

namespace kovaro {
namespace {

struct Prototype {
  CReal C1 = 0;
  CReal L1 = 0;
  CReal L2 = 0;
};

// Prototype P: series C1-L1, then L2 parallel to C2 = 1.
Prototype SeriesParallel(InputSignal which, CReal k, CReal l, CReal m) {
  Prototype p;
  switch (which) {
    case InputSignal::CosinusoidBetween:
      p.L2 = 1 / Sqr(l);
      p.L1 = Sqr(l) / ((Sqr(k) - Sqr(l)) * (Sqr(l) - Sqr(m)));
      p.C1 = (Sqr(l) - Sqr(m)) * (Sqr(k) - Sqr(l)) / Sqr(k * m);
      break;
    case InputSignal::SinusoidBetween:
      p.L2 = (k - l + m) / (k * l * m);
      p.L1 = l * (k - l + m) / (Sqr(k + m) * (k - l) * (l - m));
      p.C1 = Sqr(k + m) * (l - m) * (k - l) / (Sqr(k - l + m) * k * m);
      break;
    default:
      p.L2 = (k - l + m) / (k * l * m);
      p.L1 = -m * (k - l + m) / (Sqr(k - l) * (k + m) * (l - m));
      p.C1 = -(l - m) * (k + m) * Sqr(k - l) / (Sqr(k - l + m) * k * l);
      break;
  }
  return p;
}

// Prototype Q: series C1, shunt L1, series L2, shunt C2 = 1.
Prototype ShuntSeries(InputSignal which, CReal k, CReal l, CReal m) {
  Prototype p;
  switch (which) {
    case InputSignal::CosinusoidBetween: {
      const CReal d = Sqr(l) * Sqr(m) + (Sqr(l) - Sqr(m)) * Sqr(k);
      p.L2 = Sqr(l) / d;
      p.L1 = (Sqr(k) - Sqr(l)) * (Sqr(l) - Sqr(m)) / (Sqr(l) * d);
      p.C1 = Sqr(d) / ((Sqr(l) - Sqr(m)) * (Sqr(k) - Sqr(l)) * Sqr(k * m));
      break;
    }
    case InputSignal::SinusoidBetween: {
      const CReal d = Sqr(m) * l + Sqr(k) * (l - m) + k * m * (l - m);
      p.L2 = l / d;
      p.L1 = Sqr(k + m) * (l - m) * (k - l) / (d * k * l * m);
      p.C1 = Sqr(d) / (Sqr(k + m) * k * m * (k - l) * (l - m));
      break;
    }
    default: {
      const CReal d = Sqr(k) * (l - m) - k * l * (l - m) - Sqr(l) * m;
      p.L2 = -m / d;
      p.L1 = Sqr(k - l) * (l - m) * (k + m) / (d * k * l * m);
      p.C1 = -Sqr(d) / (Sqr(k - l) * k * l * (k + m) * (l - m));
      break;
    }
  }
  return p;
}

}  // namespace

void DesignLossless(const LosslessInputs& in, DesignTarget state, DesignHost& host) {
  const CReal k = in.k;
  const CReal l = in.l;
  const CReal m = in.m;
  ElementSet& e = state.Elements;
  e.Ca = in.Ca;
  e.Lb = in.Lb;
  e.Cb = in.Cb;
  e.Rb = 500000;
  host.LogLine("");
  host.LogLine("Normalized transformerless circuit:");

  const CReal C2 = 1;
  const bool p_structure = in.series_parallel;
  const Prototype proto =
      p_structure ? SeriesParallel(in.input_signal, k, l, m) : ShuntSeries(in.input_signal, k, l, m);

  CReal w = l;
  char letter = 'b';
  if (in.input_signal == InputSignal::CosinusoidBetween) {
    host.SetVinWaveform(Waveform::Cosine);
    letter = 'a';
  } else if (in.input_signal == InputSignal::SinusoidBetween) {
    host.SetVinWaveform(Waveform::Sine);
  } else {
    host.SetVinWaveform(Waveform::Sine);
    w = m;
    letter = 'c';
  }
  if (in.input_signal == InputSignal::CosinusoidBetween) {
    host.LogLine("Perfect energy transfer in " + FormatReal(l / 2, 4, 1) +
                 " cycles with cosinusoidal input:");
  } else {
    host.LogLine("Perfect energy transfer in " + FormatReal(l / 4, 5, 2) + " cycles with sinusoidal input:");
  }
  if (p_structure) {
    host.LogLine("C1 (series)=  " + FormatReal(proto.C1, 15, 10));
    host.LogLine("L1 (series)=  " + FormatReal(proto.L1, 15, 10));
    host.LogLine("L2 (parallel)=" + FormatReal(proto.L2, 15, 10));
  } else {
    host.LogLine("C1 (series)=  " + FormatReal(proto.C1, 15, 10));
    host.LogLine("L1 (parallel)=  " + FormatReal(proto.L1, 15, 10));
    host.LogLine("L2 (series)=" + FormatReal(proto.L2, 15, 10));
  }
  host.LogLine("C2 (parallel)=" + FormatReal(C2, 15, 10));

  const CReal Ca = e.Ca;
  const CReal Lb = e.Lb;
  const CReal Cb = e.Cb;
  const CReal L1 = proto.L1;
  const CReal L2 = proto.L2;
  const CReal S = p_structure ? L2 * C2 / (Lb * Cb) : (L1 + L2) * C2 / (Lb * Cb);
  const CReal La = p_structure ? (L1 + L2) * proto.C1 / (Ca * S) : L1 * proto.C1 / (Ca * S);
  e.La = La.value();
  const CReal kab = p_structure ? Sqrt(L2 / (L1 + L2)) : Sqrt(L1 / (L1 + L2));
  e.kab = kab.value();
  const CReal w0 = Sqrt(S);
  const CReal f0 = w0 / kTwoPi;
  const CReal fin = w * w0 / kTwoPi;

  host.LogLine("Final circuit:");
  host.LogLine("Ca=" + FormatReal(Ca / 1e-9L, 15, 10) + " nF");
  host.LogLine("La=" + FormatReal(La / 1e-6L, 15, 10) + " uH");
  host.LogLine("Cb=" + FormatReal(Cb / 1e-12L, 15, 10) + " pF");
  host.LogLine("Lb=" + FormatReal(Lb / 0.001L, 15, 10) + " mH");
  host.LogLine("kab=" + FormatReal(kab, 15, 10));

  state.DesignName = std::string("t") + letter + FormatInt(NearestInt(in.k)) + FormatInt(NearestInt(in.l)) +
                     FormatInt(NearestInt(in.m));
  WriteValueList(
      state.DesignName + ".val",
      {{"Ca", e.Ca}, {"La", e.La}, {"Lb", e.Lb}, {"kab", e.kab}, {"Cb", e.Cb}, {"Freq", fin.value()}}, host);

  SetElementFields(host, e);
  host.SetInputFrequency(fin.value());
  host.SetSimulateEnabled(true);
  host.HideDesignWindow();

  host.LogLine("Output frequencies: " + FormatReal(k * f0, 9, 6) + ", " + FormatReal(l * f0, 9, 6) + ", " +
               FormatReal(m * f0, 9, 6) + " Hz");
  host.LogLine("(" + FormatReal(k * w0, 9, 6) + ", " + FormatReal(l * w0, 9, 6) + ", " +
               FormatReal(m * w0, 9, 6) + " rad/s)");
  CReal G = 0;
  if (in.input_signal == InputSignal::CosinusoidBetween) {
    G = Sqrt(Abs((Ca / Cb) / ((Sqr(k) - Sqr(l)) * (Sqr(l) - Sqr(m))))) * 2 * k * m;
  } else if (in.input_signal == InputSignal::SinusoidBetween) {
    G = Sqrt(Abs((Ca / Cb) * k * m / ((l - m) * (k - l))));
  } else {
    G = Sqrt(Abs((Ca / Cb) * k * l / ((k + m) * (l - m))));
  }
  host.LogLine("Calculated voltage gain=" + FormatReal(G, 15, 10) + " (" + FormatReal(G * 4 / kPi, 15, 10) +
               " for sq. wave input)");
  const CReal vin = in.vin;
  host.LogLine("Calculated bang energy (square wave input): " +
               FormatReal(Sqr(vin * G * 4 / kPi) * Cb / 2, 15, 10) + " J");
  host.LogLine("Calculated bang energy (sinusoidal input):  " + FormatReal(Sqr(vin * G) * Cb / 2, 15, 10) +
               " J");
  const CReal I = (Ca / Sqrt(Cb * Lb)) * Sqr(k) * Sqr(m) / (l * l * l * (m - k));
  host.LogLine("Calculated maximum current envelope (cos input)=" + FormatReal(vin * I, 15, 10) +
               " A (sq. input=" + FormatReal(vin * I * 4 / kPi, 15, 10) + " A");
  host.LogLine("Approximate ratio of energies in Cb and Ca: " +
               FormatReal(Sqr(G) * Cb / (Sqr(I) * La), 15, 10));
  const CReal N = Sqrt(Lb / La) / kab;
  host.LogLine("Transformer effective turns ratio: " + FormatReal(N, 15, 10));
  host.LogLine(
      "Approximate maximum off-state driver voltage: " + FormatReal((vin * G * 4 / kPi) / N, 15, 10) + " V");
  if (in.details) {
    host.LogLine("(1-kab^2)LaCa=" + FormatReal((1 - Sqr(kab)) * La * Ca, 15, -1) +
                 " LbCb=" + FormatReal(Lb * Cb, 15, -1) + " 1/w0^2=" + FormatReal(1 / (Sqr(w) * S), 15, -1) +
                 " 1/(2*pi*sqrt(Lb*Cb))=" + FormatReal(1 / (kTwoPi * Sqrt(Lb * Cb)), 15, -1));
  }
}

}  // namespace kovaro
