#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/float_error.h"
#include "simulation/engine.h"
#include "state/app_state.h"

// Records what a run does to the windows around it.
class RecordingHost : public kovaro::RunHost {
 public:
  void LogLine(const std::string& text) override { lines.push_back(text); }
  void SetPoints(int32_t n) override { points.push_back(n); }
  void EnableSaveReference() override { ++enabled; }
  void ShowPlot() override { ++shown; }

  std::vector<std::string> lines;
  std::vector<int32_t> points;
  int enabled = 0;
  int shown = 0;
};

// The message of the arithmetic fault that stopped the run, or "" for a completed run.
inline std::string FaultOf(kovaro::AppState& state, const kovaro::SimulationSettings& s,
                           RecordingHost& host) {
  try {
    kovaro::RunSimulation(state, s, host);
  } catch (const kovaro::FloatError& e) {
    return e.what();
  }
  return "";
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs a test inside a fresh directory, so that the files a run writes land there.
class ScopedWorkDir {
 public:
  ScopedWorkDir() : old_(std::filesystem::current_path()) {
    char pattern[] = "/tmp/kovaro_test_XXXXXX";
    path_ = mkdtemp(pattern);
    std::filesystem::current_path(path_);
  }
  ~ScopedWorkDir() {
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(path_);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path old_;
  std::filesystem::path path_;
};
