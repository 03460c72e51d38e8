#pragma once

#include <string>
#include <unistd.h>
#include <vector>

#include <filesystem>

#include "simulation/engine.h"

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
