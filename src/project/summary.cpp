#include "project/summary.h"

#include "frequency/frequency_plot.h"
#include "frequency/response.h"
#include "geometry/solenoid.h"
#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/text_file.h"

namespace kovaro {
namespace {

class Lines : public ReportLog {
 public:
  explicit Lines(std::vector<std::string>& lines) : lines_(lines) {}
  void LogLine(const std::string& text) override { lines_.push_back(text); }

 private:
  std::vector<std::string>& lines_;
};

std::string Sci(Real x) { return FormatReal(x, 15, -1); }
std::string Fixed(Real x) { return FormatReal(x, 15, 10); }

// A part of the summary, or the fault that stops it.
template <class Part>
void Add(std::vector<std::string>& lines, const std::string& heading, Part&& part) {
  lines.push_back(heading);
  const size_t start = lines.size();
  try {
    part();
  } catch (const KovaroError& e) {
    lines.resize(start);
    lines.push_back("(not computed: " + std::string(e.what()) + ")");
  }
}

}  // namespace

std::vector<std::string> DesignSummary(const SummaryInputs& in) {
  std::vector<std::string> lines;
  const ElementSet& e = in.elements;
  lines.push_back("Kovaro design " +
                  (in.design_name.empty() ? std::string("(no design name)") : in.design_name));
  lines.push_back("Elements:");
  lines.push_back("Ca=" + Sci(e.Ca) + " F");
  lines.push_back("La=" + Sci(e.La) + " H");
  lines.push_back("Lb=" + Sci(e.Lb) + " H");
  lines.push_back("Cb=" + Sci(e.Cb) + " F");
  lines.push_back("kab=" + Sci(e.kab));
  lines.push_back("Rb=" + Sci(e.Rb) + " Ohms" + (in.no_load ? " (load removed)" : ""));
  lines.push_back("RLa=" + Sci(e.RLa) + " Ohms");
  lines.push_back("RLb=" + Sci(e.RLb) + " Ohms");
  lines.push_back("Rin=" + Sci(e.Rin) + " Ohms");
  Add(lines, "Resonances alone:", [&] {
    lines.push_back("Primary resonance=" + Fixed(ResonantFrequency(e.La, e.Ca) / 1000) + " kHz");
    lines.push_back("Secondary resonance=" + Fixed(ResonantFrequency(e.Lb, e.Cb) / 1000) + " kHz");
  });
  Add(lines, "Natural modes:", [&] {
    int32_t i = 0;
    for (const Mode& m : NaturalModes(BuildCircuit(e, in.no_load))) lines.push_back(ModeLine(++i, m));
  });
  if (in.geometry) {
    const CoilGeometry& g = *in.geometry;
    const char* const toploads[] = {"none", "toroid", "sphere"};
    lines.push_back("Coil geometry, as typed (metres):");
    lines.push_back("Secondary diameter=" + Fixed(g.secondary.diameter) + " m");
    lines.push_back("Secondary winding height=" + Fixed(g.secondary.height) + " m");
    lines.push_back("Secondary turns=" + Fixed(g.secondary.turns));
    lines.push_back("Secondary wire diameter=" + Fixed(g.secondary.wire) + " m");
    lines.push_back("Secondary winding start above ground=" + Fixed(g.secondary.base) + " m");
    lines.push_back(std::string("Topload=") + toploads[static_cast<int>(g.topload)]);
    if (g.topload != Topload::None) lines.push_back("Topload major diameter=" + Fixed(g.top_major) + " m");
    if (g.topload == Topload::Toroid) lines.push_back("Topload minor diameter=" + Fixed(g.top_minor) + " m");
    if (g.topload != Topload::None)
      lines.push_back("Topload centre above winding top=" + Fixed(g.top_height) + " m");
    if (g.measured_f > 0) lines.push_back("Measured loaded resonance=" + Fixed(g.measured_f) + " Hz");
    lines.push_back(std::string("Primary=") + (g.primary.helical ? "helical" : "flat spiral"));
    lines.push_back("Primary inner radius=" + Fixed(g.primary.radius) + " m");
    lines.push_back("Primary turns=" + Fixed(g.primary.turns));
    lines.push_back("Primary turn spacing=" + Fixed(g.primary.spacing) + " m");
    lines.push_back("Primary conductor diameter=" + Fixed(g.primary.conductor) + " m");
    lines.push_back("Primary height above winding start=" + Fixed(g.primary.height) + " m");
    // The surroundings change Cb: a builder comparing summaries must see them.
    if (g.ceiling > 0) lines.push_back("Grounded ceiling above floor=" + Fixed(g.ceiling) + " m");
    if (g.form_wall > 0) lines.push_back("Coil form wall=" + Fixed(g.form_wall) + " m");
    if (g.form_permittivity > 0) lines.push_back("Coil form permittivity=" + Fixed(g.form_permittivity));
    Add(lines, "Coil geometry, computed:", [&] {
      std::vector<std::string> report;
      Lines log(report);
      CalculateGeometry(g, e.Ca, false, log);
      lines.insert(lines.end(), report.begin() + 2, report.end());  // without its empty line and heading
    });
  }
  if (in.last_run) {
    lines.push_back("Last run:");
    const char* const labels[] = {"VCa (V)", "ILa (A)", "VCb (V)", "ILb (A)"};
    for (int32_t i = 0; i < 4; ++i) {
      const StateMaximum& m = (*in.last_run)[static_cast<size_t>(i)];
      lines.push_back("Maximum " + std::string(labels[i]) + "=" + FormatReal(m.Value, 15, 5) + " at " +
                      FormatReal(m.Time / 1E-6L, 15, 5) + " us");
    }
  }
  return lines;
}

void WriteSummary(const std::string& design_name, const std::vector<std::string>& lines, ReportLog& log) {
  // Before any design, "untitled.txt": not a hidden ".txt".
  const std::string name = (design_name.empty() ? std::string("untitled") : design_name) + ".txt";
  TextFile file(name, true);
  for (const std::string& line : lines) file.WriteLine(line);
  file.Close();
  log.LogLine("Summary saved as " + name);
}

}  // namespace kovaro
