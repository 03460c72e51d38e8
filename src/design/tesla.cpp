#include "design/tesla.h"

#include "shell/float_error.h"
#include "shell/format.h"
#include "simulation/driver.h"

namespace kovaro {
void DesignRegularCoil(const TeslaInputs& in, DesignTarget state, DesignHost& host) {
  if ((static_cast<int64_t>(in.l) - in.k) % 2 == 0) {
    host.LogLine("The multipliers must have odd differences");
    return;
  }
  host.LogLine("");
  host.LogLine("Ideal Tesla coil:");
  host.LogLine("Energy transfer from C1 to C2");
  // In reals, where k^2 and l^2 are exact and no product overflows.
  const CReal k = static_cast<Real>(in.k);
  const CReal l = static_cast<Real>(in.l);
  const CReal s = Sqr(k) + Sqr(l);
  const CReal p = 2 * Sqr(k) * Sqr(l);
  const CReal d = Sqr(l) - Sqr(k);
  const CReal C1 = in.C1;
  const CReal L2 = in.L2;
  const CReal C2 = in.C2;
  const CReal w0 = Sqrt((s / p) / (C2 * L2));
  const CReal L1 = C2 * L2 / C1;
  const CReal k12 = d / s;
  const std::string micro = "\u00B5";
  host.LogLine("C1=" + FormatReal(C1 / 1e-9L, 16, 10) + " nF");
  host.LogLine("L1=" + FormatReal(L1 / 1e-6L, 16, 10) + " " + micro + "H");
  host.LogLine("C2=" + FormatReal(C2 / 1e-12L, 16, 10) + " pF");
  host.LogLine("L2=" + FormatReal(L2 / 0.001L, 16, 10) + " mH");
  host.LogLine("k12= " + FormatReal(k12, 16, 10));
  host.LogLine("w0= " + FormatReal(w0 / 1000, 16, 10) + " krad/s");
  host.LogLine("Resonances: " + FormatReal(k * w0 / kTwoPi / 1000, 8, 4) + ", " +
               FormatReal(l * w0 / kTwoPi / 1000, 8, 4) + " kHz");
  const CReal transfer_time = kPi / w0;
  host.LogLine("Energy transfer time: " + FormatReal(transfer_time / 1e-6L, 16, 10) + " " + micro + "s (" +
               FormatReal(l / 2, 4, 1) + " cycles)");
  if (!in.update) return;

  constexpr Real kRb = 5000000;
  host.SetElementField(ElementField::Ca, C1.value());
  host.SetElementField(ElementField::Cb, C2.value());
  host.SetElementField(ElementField::La, L1.value());
  host.SetElementField(ElementField::Lb, L2.value());
  host.SetElementField(ElementField::kab, k12.value());
  host.SetElementField(ElementField::Rb, kRb);
  host.SetSimulateEnabled(true);
  host.SetInputFrequency((CReal(0.5L) / transfer_time / in.transfers).value());
  ElementSet& e = state.Elements;
  e.Ca = C1.value();
  e.La = L1.value();
  e.Cb = C2.value();
  e.Lb = L2.value();
  e.kab = k12.value();
  e.Rb = kRb;
  host.TickRemoveLoad();
  state.DesignName = "tesla" + FormatInt(in.k) + FormatInt(in.l);
  host.HideDesignWindow();
}

}  // namespace kovaro
