#include "simulation/run_report.h"

#include <cmath>

#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/text_file.h"

namespace kovaro {

void WriteTableFile(const std::string& design_name, const WaveformStore& store, ReportLog& log) {
  const std::string name = design_name + ".tab";
  TextFile file(name);
  const int32_t stride = store.SampleCount / 601 + 1;
  int32_t rows = 0;
  std::string row;
  for (int32_t i = 1; i <= store.SampleCount; i += stride) {
    row = FormatReal(store.Time[i - 1], 23, -1);
    for (Real v : store.Channels[i - 1]) {
      row += ' ';
      row += FormatReal(v, 23, -1);
    }
    file.WriteLine(row);
    ++rows;
  }
  file.Close();
  log.LogLine("Table saved as " + name + " with " + FormatInt(rows) + " points.");
}

RunSummary WriteRunReport(const std::array<StateMaximum, 4>& maxima, const ElementSet& el,
                          const SimulationSettings& s, ReportLog& log) {
  struct Line {
    const char* label;
    Real energy_element;
  };
  const std::array<Line, 4> lines{
      {{"VCa (V)", el.Ca}, {"ILa (A)", el.La}, {"VCb (V)", el.Cb}, {"ILb (A)", el.Lb}}};
  for (int32_t i = 0; i < 4; ++i) {
    const Real m = maxima[i].Value;
    const Real energy = Ck(Ck(m * m) * (lines[i].energy_element * 0.5L));
    log.LogLine("Maximum " + std::string(lines[i].label) + "=" + FormatReal(m, 15, 5) + " (" +
                FormatReal(energy, 10, 5) + " J) at " + FormatReal(Div(maxima[i].Time, 1E-6L), 15, 5) +
                " us");
  }
  const Real vcb = maxima[StVCb].Value;
  const Real gain = Div(vcb, s.InputVoltage);
  log.LogLine("Maximum voltage gain obtained=" + FormatReal(gain, 14, 5));
  const Real q = Div(vcb, maxima[StVCa].Value);
  const Real ratio = Ck(Ck(q * q) * Div(el.Cb, el.Ca));
  log.LogLine("Ratio of maximum energies in the capacitors=" + FormatReal(ratio, 10, 5));
  if (s.ListDetails) {
    log.LogLine("Ratio to the voltage gain of a capacitor-discharge system: " +
                FormatReal(std::fabs(Div(gain, Sqrt(Div(el.Ca, el.Cb)))), 10, 5));
  }
  return RunSummary{gain, ratio};
}

}  // namespace kovaro
