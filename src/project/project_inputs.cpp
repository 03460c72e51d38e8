#include "geometry/units.h"
#include "project/project.h"
#include "shell/numeric_text.h"
#include "sweep/sweep.h"

namespace kovaro {

const std::vector<ProjectInput>& ProjectInputs() {
  using K = InputKind;
  static const std::vector<ProjectInput> inputs = {
      // The program's state.
      {"design_name", "", "DesignName", K::Text},
      {"simulate_enabled", "", "Bplot", K::Check},
      {"elements.Ca", "", "Ca", K::RealValue},
      {"elements.La", "", "La", K::RealValue},
      {"elements.Lb", "", "Lb", K::RealValue},
      {"elements.Cb", "", "Cb", K::RealValue},
      {"elements.Rb", "", "Rb", K::RealValue},
      {"elements.kab", "", "kab", K::RealValue},
      {"elements.RLa", "", "RLa", K::RealValue},
      {"elements.RLb", "", "RLb", K::RealValue},
      {"elements.Rin", "", "Rin", K::RealValue},
      // The main window.
      {"main.drive.waveform", "TForm1", "RGvin", K::Choice, 4},
      {"main.drive.offset", "TForm1", "CBoffset", K::Check},
      {"main.drive.feedback", "TForm1", "CBsegue", K::Check},
      {"main.stop.mode", "TForm1", "RGstop", K::Choice, 4},
      {"main.run.use_maximum", "TForm1", "CBescala", K::Check},
      {"main.run.remove_load", "TForm1", "CBnoload", K::Check},
      {"main.run.trapezoidal", "TForm1", "CBtrapezoidal", K::Check},
      {"main.run.save_table", "TForm1", "CBsalvar", K::Check},
      {"main.run.details", "TForm1", "CBdetails", K::Check},
      {"main.scaling.Vin.shown", "TForm1", "CBVin", K::Check},
      {"main.scaling.VCa.shown", "TForm1", "CBVCa", K::Check},
      {"main.scaling.ILa.shown", "TForm1", "CBILa", K::Check},
      {"main.scaling.VCb.shown", "TForm1", "CBVcb", K::Check},
      {"main.scaling.ILb.shown", "TForm1", "CBILb", K::Check},
      {"main.scaling.VLa.shown", "TForm1", "CBVLa", K::Check},
      {"main.drive.voltage", "TForm1", "NEvin", K::RealValue},
      {"main.drive.frequency", "TForm1", "NEfin", K::RealValue},
      {"main.drive.feedback_start", "TForm1", "NEstart", K::RealValue},
      {"main.stop.time", "TForm1", "NEtempo", K::RealValue},
      {"main.stop.multiply", "TForm1", "NEmult", K::RealValue},
      {"main.stop.r_open", "TForm1", "NEropen", K::RealValue},
      {"main.stop.cycles", "TForm1", "NEcycles", K::RealValue},
      {"main.stop.delay", "TForm1", "NEatraso", K::RealValue},
      {"main.stop.diode_drop", "TForm1", "NEvd", K::RealValue},
      {"main.run.final_time", "TForm1", "NEtmax", K::RealValue},
      {"main.run.maximum", "TForm1", "NEvmax", K::RealValue},
      {"main.run.points", "TForm1", "NEpontos", K::IntValue},
      {"main.scaling.Vin.scale", "TForm1", "NEv", K::RealValue},
      {"main.scaling.Vin.offset", "TForm1", "NEovin", K::RealValue},
      {"main.scaling.VCa.scale", "TForm1", "NEvca", K::RealValue},
      {"main.scaling.VCa.offset", "TForm1", "NEovca", K::RealValue},
      {"main.scaling.ILa.scale", "TForm1", "NEila", K::RealValue},
      {"main.scaling.ILa.offset", "TForm1", "NEoila", K::RealValue},
      {"main.scaling.VCb.scale", "TForm1", "NEvcb", K::RealValue},
      {"main.scaling.VCb.offset", "TForm1", "NEovcb", K::RealValue},
      {"main.scaling.ILb.scale", "TForm1", "NEilb", K::RealValue},
      {"main.scaling.ILb.offset", "TForm1", "NEoilb", K::RealValue},
      {"main.scaling.VLa.scale", "TForm1", "Nevla", K::RealValue},
      {"main.scaling.VLa.offset", "TForm1", "NEovla", K::RealValue},
      // The element window's fields, which Apply copies into the elements.
      {"element_window.Ca", "TForm3", "NEca", K::RealValue},
      {"element_window.La", "TForm3", "NEla", K::RealValue},
      {"element_window.Lb", "TForm3", "NElb", K::RealValue},
      {"element_window.Cb", "TForm3", "NEcb", K::RealValue},
      {"element_window.kab", "TForm3", "NEkab", K::RealValue},
      {"element_window.RLa", "TForm3", "NERla", K::RealValue},
      {"element_window.RLb", "TForm3", "NERlb", K::RealValue},
      {"element_window.Rin", "TForm3", "NErin", K::RealValue},
      {"element_window.Rb", "TForm3", "NErb", K::RealValue},
      // The design windows.
      {"lossless.input_signal", "TFlossless", "RGfin", K::Choice, 3},
      {"lossless.series_parallel", "TFlossless", "CBsspp", K::Check},
      {"lossless.k", "TFlossless", "NEk", K::RealValue},
      {"lossless.l", "TFlossless", "NEl", K::RealValue},
      {"lossless.m", "TFlossless", "NEm", K::RealValue},
      {"lossless.Ca", "TFlossless", "NECa", K::RealValue},
      {"lossless.Lb", "TFlossless", "NELb", K::RealValue},
      {"lossless.Cb", "TFlossless", "NECb", K::RealValue},
      {"lossy.termination", "TFlossy", "RGdesign", K::Choice, 2},
      {"lossy.square", "TFlossy", "CBsquare", K::Check},
      {"lossy.frequency", "TFlossy", "NEfreq", K::RealValue},
      {"lossy.input_current", "TFlossy", "NEiin", K::RealValue},
      {"lossy.gain", "TFlossy", "NEn", K::RealValue},
      {"lossy.bandwidth", "TFlossy", "NEb", K::RealValue},
      {"lossy.set.energy", "TFlossy", "NEe", K::RealValue},
      {"lossy.set.Cb", "TFlossy", "NEcb", K::RealValue},
      {"lossy.from_elements.Ca", "TFlossy", "NECa1", K::RealValue},
      {"lossy.from_elements.Cb", "TFlossy", "NECb1", K::RealValue},
      {"lossy.from_elements.Lb", "TFlossy", "NELb1", K::RealValue},
      {"lossy.from_elements.input_current", "TFlossy", "NEiin1", K::RealValue},
      {"tesla.update", "TForm4", "CBupdate", K::Check},
      {"tesla.k", "TForm4", "NEk", K::IntValue},
      {"tesla.l", "TForm4", "NEl", K::IntValue},
      {"tesla.Ca", "TForm4", "NECa", K::RealValue},
      {"tesla.Lb", "TForm4", "NElb", K::RealValue},
      {"tesla.Cb", "TForm4", "NEcb", K::RealValue},
      {"tesla.transfers", "TForm4", "NEtran", K::RealValue},
      // The coil geometry window, its lengths in its unit.
      {"geometry.unit", "TFgeometry", "CBunit", K::Choice, kLengthUnitCount},
      {"geometry.secondary.gauge", "TFgeometry", "CBawg", K::Choice, kGaugeChoices},
      {"geometry.topload.shape", "TFgeometry", "RGtop", K::Choice, 3},
      {"geometry.primary.shape", "TFgeometry", "RGprim", K::Choice, 2},
      {"geometry.secondary.diameter", "TFgeometry", "NEsd", K::RealValue},
      {"geometry.secondary.height", "TFgeometry", "NEsh", K::RealValue},
      {"geometry.secondary.turns", "TFgeometry", "NEsn", K::RealValue},
      {"geometry.secondary.wire", "TFgeometry", "NEsw", K::RealValue},
      {"geometry.secondary.base", "TFgeometry", "NEsb", K::RealValue},
      {"geometry.topload.major", "TFgeometry", "NEtD", K::RealValue},
      {"geometry.topload.minor", "TFgeometry", "NEtd", K::RealValue},
      {"geometry.topload.height", "TFgeometry", "NEth", K::RealValue},
      {"geometry.measured_resonance", "TFgeometry", "NEsf", K::RealValue},
      {"geometry.primary.radius", "TFgeometry", "NEpr", K::RealValue},
      {"geometry.primary.turns", "TFgeometry", "NEpn", K::RealValue},
      {"geometry.primary.spacing", "TFgeometry", "NEps", K::RealValue},
      {"geometry.primary.conductor", "TFgeometry", "NEpw", K::RealValue},
      {"geometry.primary.height", "TFgeometry", "NEph", K::RealValue},
      {"geometry.surroundings.ceiling", "TFgeometry", "NEceil", K::RealValue},
      {"geometry.surroundings.form_wall", "TFgeometry", "NEformt", K::RealValue},
      {"geometry.surroundings.form_permittivity", "TFgeometry", "NEformer", K::RealValue},
      // The frequency response and the sweep.
      {"frequency.from", "TFfrequency", "NEflo", K::RealValue},
      {"frequency.to", "TFfrequency", "NEfhi", K::RealValue},
      {"frequency.points", "TFfrequency", "NEfpts", K::IntValue},
      {"sweep.quantity", "TFsweep", "CBparam", K::Choice, kSweptCount},
      {"sweep.logarithmic", "TFsweep", "CBslog", K::Check},
      {"sweep.from", "TFsweep", "NEsfrom", K::RealValue},
      {"sweep.to", "TFsweep", "NEsto", K::RealValue},
      {"sweep.points", "TFsweep", "NEscount", K::IntValue},
      // The drive and bank window.
      {"drive.streamers.resistance_model", "TFdrive", "RGdsr", K::Choice, 2},
      {"drive.bank.capacitance", "TFdrive", "NEdcap", K::RealValue},
      {"drive.bank.voltage_rating", "TFdrive", "NEdvr", K::RealValue},
      {"drive.bank.current_rating", "TFdrive", "NEdir", K::RealValue},
      {"drive.bank.dvdt_rating", "TFdrive", "NEddv", K::RealValue},
      {"drive.bank.tan_delta", "TFdrive", "NEdtan", K::RealValue},
      {"drive.bank.margin", "TFdrive", "NEdmargin", K::RealValue},
      {"drive.current_limit", "TFdrive", "NEdocd", K::RealValue},
      {"drive.bursts.on_time", "TFdrive", "NEdon", K::RealValue},
      {"drive.bursts.rate", "TFdrive", "NEdbps", K::RealValue},
      {"drive.streamers.length", "TFdrive", "NEdslen", K::RealValue},
      {"drive.streamers.capacitance", "TFdrive", "NEdscap", K::RealValue},
      {"drive.streamers.resistance", "TFdrive", "NEdsr", K::RealValue},
  };
  return inputs;
}

std::string ElementsNotApplied(const Project& project) {
  std::string differing;
  if (project.at("simulate_enabled").integer == 0) return differing;
  for (const char* element : {"Ca", "La", "Lb", "Cb", "kab", "RLa", "RLb", "Rin", "Rb"}) {
    const Real circuit = project.at(std::string("elements.") + element).real;
    const InputValue& shown = project.at(std::string("element_window.") + element);
    if (shown.real == circuit) continue;
    if (!differing.empty()) differing += ", ";
    differing += std::string(element) + " " + shown.text + " (circuit " + GeneralText(circuit) + ")";
  }
  return differing;
}

}  // namespace kovaro
