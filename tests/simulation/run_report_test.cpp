#include "simulation/run_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/file_error.h"
#include "shell/float_error.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

using namespace kovaro;

namespace {

// Unit elements, k = 0.5, h = 1 s and a constant 180 V drive: two Euler steps that can be
// followed by hand. G11 = G22 = 4/3, G12 = -2/3.
// Sample 1: VCa 0, ILa 240, VCb 0, ILb -120. Sample 2: VCa 240, ILa 480, VCb 120, ILb -240.
void HandCase(AppState& state, SimulationSettings& s) {
  state.Elements = ElementSet{1, 1, 1, 1, 0, 0.5L, 0, 0, 0};
  s.Trapezoidal = false;
  s.InputFrequency = 0;
  s.FinalTime = 2;
  s.Points = 3;
  s.StopTime = 100;
}

}  // namespace

TEST(RunReport, LinesOfAHandComputedRun) {
  auto state = std::make_unique<AppState>();
  SimulationSettings s;
  HandCase(*state, s);
  s.ListDetails = true;
  RecordingHost host;
  RunSimulation(*state, s, host);
  const std::vector<std::string> expected{
      "Maximum VCa (V)=      240.00000 (28800.00000 J) at   2000000.00000 us",
      "Maximum ILa (A)=      480.00000 (115200.00000 J) at   2000000.00000 us",
      "Maximum VCb (V)=      120.00000 (7200.00000 J) at   2000000.00000 us",
      "Maximum ILb (A)=     -240.00000 (28800.00000 J) at   2000000.00000 us",
      "Maximum voltage gain obtained=       0.66667",
      "Ratio of maximum energies in the capacitors=   0.25000",
      "Ratio to the voltage gain of a capacitor-discharge system:    0.66667",
  };
  EXPECT_EQ(host.lines, expected);

  // A negative VCb peak: negative gain, positive ratios.
  state->Elements.kab = -0.5L;
  s.ListDetails = false;
  host = RecordingHost();
  RunSimulation(*state, s, host);
  ASSERT_EQ(host.lines.size(), 6u);
  EXPECT_EQ(host.lines[2], "Maximum VCb (V)=     -120.00000 (7200.00000 J) at   2000000.00000 us");
  EXPECT_EQ(host.lines[4], "Maximum voltage gain obtained=      -0.66667");
  EXPECT_EQ(host.lines[5], "Ratio of maximum energies in the capacitors=   0.25000");
}

TEST(RunReport, FaultsStopTheReportAfterTheLinesBefore) {
  auto state = std::make_unique<AppState>();
  SimulationSettings s;
  HandCase(*state, s);
  RecordingHost host;
  s.InputVoltage = 0;  // everything stays 0: the gain is 0 / 0
  EXPECT_EQ(FaultOf(*state, s, host), "Invalid floating point operation");
  EXPECT_EQ(host.lines.size(), 4u);
  EXPECT_EQ(host.enabled + host.shown, 0);

  s.InputVoltage = 180;
  s.Points = 2;  // one Euler step: VCa and VCb are still 0
  host = RecordingHost();
  EXPECT_EQ(FaultOf(*state, s, host), "Invalid floating point operation");
  EXPECT_EQ(host.lines.size(), 5u);

  s.Points = 3;
  s.ListDetails = true;
  state->Elements.Ca = -1;  // sqrt(Ca / Cb) of a negative ratio
  host = RecordingHost();
  EXPECT_EQ(FaultOf(*state, s, host), "Invalid floating point operation");
  EXPECT_EQ(host.lines.size(), 6u);
}

TEST(TableFile, BytesOfAHandComputedRun) {
  ScopedWorkDir dir;
  auto state = std::make_unique<AppState>();
  SimulationSettings s;
  HandCase(*state, s);
  s.SaveTable = true;
  s.Offset[Vin] = 1;
  state->DesignName = "hand";
  RecordingHost host;
  RunSimulation(*state, s, host);
  ASSERT_EQ(host.lines.size(), 7u);
  EXPECT_EQ(host.lines[0], "Table saved as hand.tab with 3 points.");
  const std::string zero = " 0.00000000000000E+0000";
  const std::string expected =
      zero + "  1.00000000000000E+0000 " + zero + " " + zero + " " + zero + " " + zero + " " + zero + "\r\n" +
      " 1.00000000000000E+0000  1.80100000000000E+0003 " + zero + "  2.40000000000000E+0005 " + zero +
      " -1.20000000000000E+0005  1.80000000000000E+0003\r\n" +
      " 2.00000000000000E+0000  1.80100000000000E+0003  2.40000000000000E+0002  4.80000000000000E+0005"
      "  1.20000000000000E+0002 -2.40000000000000E+0005 -6.00000000000000E+0002\r\n";
  EXPECT_EQ(ReadFile(dir.path() / "hand.tab"), expected);

  // The next run overwrites the same file; an empty design name gives ".tab".
  s.Points = 2;
  s.InputVoltage = 90;
  host = RecordingHost();
  EXPECT_EQ(FaultOf(*state, s, host), "Invalid floating point operation");  // VCa stays 0
  EXPECT_EQ(ReadFile(dir.path() / "hand.tab").size(), 2u * 169u);
  state->DesignName = "";
  s.Points = 3;
  RunSimulation(*state, s, host);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / ".tab"));
}

TEST(TableFile, StrideAndRowCounts) {
  ScopedWorkDir dir;
  auto store = std::make_unique<WaveformStore>();
  for (int32_t k = 0; k < kCapacity; ++k) store->Time[k] = k;
  const std::pair<int32_t, int32_t> cases[] = {{10000, 589}, {600, 600}, {601, 301},
                                               {50000, 596}, {1, 1},     {0, 0}};
  for (const auto& [count, rows] : cases) {
    store->SampleCount = count;
    RecordingHost log;
    WriteTableFile("t", *store, log);
    EXPECT_EQ(log.lines,
              std::vector<std::string>{"Table saved as t.tab with " + std::to_string(rows) + " points."});
    const std::string text = ReadFile(dir.path() / "t.tab");
    ASSERT_EQ(text.size(), static_cast<size_t>(rows) * 169) << count;
    if (count == 10000) {
      EXPECT_EQ(text.substr(588 * 169, 23), " 9.99600000000000E+0003");
    }
  }
}

TEST(TableFile, FileFailuresStopTheRun) {
  auto state = std::make_unique<AppState>();
  SimulationSettings s;
  HandCase(*state, s);
  s.SaveTable = true;
  auto failure = [&](RecordingHost& host) -> std::string {
    try {
      RunSimulation(*state, s, host);
    } catch (const FileError& e) {
      return e.what();
    }
    return "";
  };
  {
    // /sys refuses new files even to root.
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path("/sys");
    RecordingHost host;
    const std::string message = failure(host);
    std::filesystem::current_path(old);
    EXPECT_EQ(message, "File access denied");
    EXPECT_TRUE(host.lines.empty());
    EXPECT_EQ(host.enabled + host.shown, 0);
    EXPECT_EQ(state->Store.Channels[1][ILa], 240000);  // already scaled
  }
  {
    ScopedWorkDir dir;
    std::filesystem::create_symlink("/dev/full", dir.path() / "full.tab");
    state->DesignName = "full";
    RecordingHost host;
    EXPECT_EQ(failure(host), "Disk full");
    EXPECT_TRUE(host.lines.empty());
    EXPECT_EQ(host.enabled + host.shown, 0);
    // A table larger than the stream's buffer fails while it is written.
    s.Points = 50000;
    EXPECT_EQ(failure(host), "Disk full");
  }
}
