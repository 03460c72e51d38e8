#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "design/design_host.h"
#include "shell/format.h"

inline bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Records a calculator's effects in order: report lines as they are, the others as
// "field Ca 5.070000E-0009", "design Gain ...", "fin ...", "vin 0", "simulate 1",
// "remove load", "hide", "secondary <Lb> <Cb>".
class RecordingDesignHost : public kovaro::DesignHost {
 public:
  void LogLine(const std::string& text) override {
    lines.push_back(text);
    effects.push_back(text);
  }
  void SetElementField(kovaro::ElementField field, kovaro::Real value) override {
    static const char* const names[] = {"Ca", "La", "Lb", "Cb", "kab", "Rb"};
    effects.push_back(std::string("field ") + names[static_cast<int>(field)] + " " + Value(value));
  }
  void SetDesignField(kovaro::DesignField field, kovaro::Real value) override {
    effects.push_back(std::string("design ") + (field == kovaro::DesignField::Gain ? "Gain " : "Bandwidth ") +
                      Value(value));
  }
  void SetInputFrequency(kovaro::Real fin) override { effects.push_back("fin " + Value(fin)); }
  void SetVinWaveform(kovaro::Waveform w) override {
    effects.push_back("vin " + std::to_string(static_cast<int>(w)));
  }
  void SetSimulateEnabled(bool enabled) override {
    effects.push_back(std::string("simulate ") + (enabled ? "1" : "0"));
  }
  void TickRemoveLoad() override { effects.push_back("remove load"); }
  void HideDesignWindow() override { effects.push_back("hide"); }
  void SetDesignSecondary(kovaro::Real Lb, kovaro::Real Cb) override {
    effects.push_back("secondary " + Value(Lb) + " " + Value(Cb));
  }

  static std::string Value(kovaro::Real v) { return kovaro::FormatReal(v, 15, -1).substr(1); }

  std::vector<std::string> lines;
  std::vector<std::string> effects;
};
