#include "sweep/sweep.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "shell/messages.h"
#include "simulation/cross_check_circuits.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

namespace {

// The single run with the value typed in: its report lines and its fault.
struct SingleRun {
  std::vector<std::string> lines;
  std::string fault;
  std::array<StateMaximum, 4> maxima{};
};

SingleRun RunWith(SweptQuantity q, Real v, ElementSet e, SimulationSettings s) {
  auto state = std::make_unique<AppState>();
  switch (q) {
    case SweptQuantity::Ca:
      e.Ca = v;
      break;
    case SweptQuantity::La:
      e.La = v;
      break;
    case SweptQuantity::Lb:
      e.Lb = v;
      break;
    case SweptQuantity::Cb:
      e.Cb = v;
      break;
    case SweptQuantity::Rb:
      e.Rb = v;
      break;
    case SweptQuantity::kab:
      e.kab = v;
      break;
    case SweptQuantity::RLa:
      e.RLa = v;
      break;
    case SweptQuantity::RLb:
      e.RLb = v;
      break;
    case SweptQuantity::Rin:
      e.Rin = v;
      break;
    case SweptQuantity::NEfin:
      s.InputFrequency = v;
      break;
    case SweptQuantity::NEvin:
      s.InputVoltage = v;
      break;
    case SweptQuantity::NEtempo:
      s.StopTime = v;
      break;
    case SweptQuantity::NEstart:
      s.FeedbackStart = v;
      break;
  }
  state->Elements = e;
  RecordingHost host;
  SingleRun r;
  try {
    RunSimulation(*state, s, host);
  } catch (const KovaroError& f) {
    r.fault = f.what();
  }
  r.lines = host.lines;
  if (r.fault.empty() && r.lines.size() == 1) r.fault = r.lines[0];  // refused: "Too few points."
  r.maxima = state->Engine.StateMaxima;
  return r;
}

// The text after "=" and before the first " (" of a report line.
std::string Printed(const std::string& line) {
  const size_t from = line.find('=') + 1;
  return line.substr(from, line.find(" (", from) - from);
}

}  // namespace

TEST(Sweep, EveryPointIsTheSingleRunOfItsValue) {
  ScopedWorkDir dir;
  int32_t faulted = 0, completed = 0;
  for (const auto& [name, elements] : CrossCheckCircuits()) {
    SimulationSettings s;
    s.Points = 4000;
    s.SaveTable = true;  // a sweep writes no table
    s.Feedback = name == "lossy";
    s.StopTime = 6e-5L;
    if (name == "regular") s.VinWaveform = Waveform::Sine;
    for (int32_t q = 0; q < kSweptCount; ++q) {
      const auto quantity = static_cast<SweptQuantity>(q);
      const Real v = SweptValue(quantity, elements, s);
      // From 0, where the circuit or the driver often fails, through the value to its double.
      Sweep sweep(elements, s, quantity, SweepRange{0, v == 0 ? 1 : 2 * v, 3});
      while (!sweep.Done()) sweep.Next();
      for (const SweepPoint& p : sweep.Points()) {
        const std::string label = name + " " + SweptName(quantity) + " " + SweepRow(p);
        SimulationSettings single = s;
        single.SaveTable = false;
        const SingleRun r = RunWith(quantity, p.value, elements, single);
        ASSERT_EQ(p.fault, r.fault) << label;
        if (!p.fault.empty()) {
          ++faulted;
          continue;
        }
        ++completed;
        for (int i = 0; i < 4; ++i) {
          EXPECT_EQ(p.maxima[i].Value, r.maxima[i].Value) << label;
          EXPECT_EQ(p.maxima[i].Time, r.maxima[i].Time) << label;
        }
        // The row holds what the report printed: VCb's maximum, the gain, the energy ratio.
        ASSERT_GE(r.lines.size(), 6u) << label;
        const std::string row = SweepRow(p);
        EXPECT_EQ(row, FormatReal(p.value, 15, -1) + " " + Printed(r.lines[2]) + " " + Printed(r.lines[4]) +
                           " " + Printed(r.lines[5]))
            << label;
      }
    }
  }
  EXPECT_GT(faulted, 10);
  EXPECT_GT(completed, 60);
  EXPECT_FALSE(std::filesystem::exists(".tab"));
}

TEST(Sweep, RefusesRangesNamingTheField) {
  const auto message = [](SweepRange r) {
    try {
      ValidateSweep(r);
    } catch (const InputError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  EXPECT_EQ(message({1, 2, 1}), "Points: a sweep takes from 2 to 10000 points");
  EXPECT_EQ(message({1, 2, 10001}), "Points: a sweep takes from 2 to 10000 points");
  EXPECT_EQ(message({2, 2, 5}), "To: the end of a sweep must differ from its start (From)");
  EXPECT_EQ(message({0, 2, 5, true}), "From, To: a logarithmic sweep takes positive values only");
  EXPECT_EQ(message({-1, 2, 5, true}), "From, To: a logarithmic sweep takes positive values only");
  EXPECT_EQ(message({1, -2, 5, true}), "From, To: a logarithmic sweep takes positive values only");
  EXPECT_EQ(message({2, -1, 5, false}), "");
  EXPECT_EQ(message({1, 2, 2}), "");
  // A range whose values overflow is refused before any run.
  EXPECT_THROW(Sweep(ElementSet{}, SimulationSettings{}, SweptQuantity::Ca, SweepRange{-1e4932L, 1e4932L, 3}),
               FloatError);

  // Ends exact; linear steps even, logarithmic steps in one ratio.
  const SweepRange linear{3, -1, 5};
  EXPECT_EQ(SweepValue(linear, 0), 3);
  EXPECT_EQ(SweepValue(linear, 2), 1);
  EXPECT_EQ(SweepValue(linear, 4), -1);
  const SweepRange logarithmic{1e3L, 1e6L, 4, true};
  EXPECT_EQ(SweepValue(logarithmic, 3), 1e6L);
  EXPECT_NEAR(static_cast<double>(SweepValue(logarithmic, 1)), 1e4, 1e-9);
  EXPECT_NEAR(static_cast<double>(SweepValue(logarithmic, 2)), 1e5, 1e-8);
}

TEST(Sweep, RowsAreTheReportsFigures) {
  SweepPoint done{1.5e-9L, {}, RunSummary{-12.25L, 0.875L}, ""};
  done.maxima[StVCb].Value = -2205;
  EXPECT_EQ(SweepRow(done), " 1.500000E-0009     -2205.00000      -12.25000    0.87500");
  EXPECT_EQ(SweepRow(SweepPoint{0, {}, {}, kDivisionByZero}),
            " 0.000000E+0000 Floating point division by zero");
}

TEST(Sweep, ReportsItsRowsTogetherAndSavesThemUnderTheNameItIsGiven) {
  ScopedWorkDir dir;
  SimulationSettings s;
  s.Points = 4000;
  Sweep sweep(CrossCheckCircuits()[0].second, s, SweptQuantity::NEfin, SweepRange{0, 300000, 3});
  sweep.Next();  // 0 Hz: a run without drive
  sweep.Next();
  RecordingHost log;
  ReportSweep("tx1", sweep, log);  // cancelled after two of its three points
  ASSERT_EQ(log.lines.size(), 6u);
  EXPECT_EQ(log.lines[0], "");
  EXPECT_EQ(log.lines[1], "Sweep of Input frequency (Hz):");
  EXPECT_EQ(log.lines[2], SweepRow(sweep.Points()[0]));
  EXPECT_EQ(log.lines[3].substr(0, 16), " 1.500000E+0005 ");
  EXPECT_EQ(log.lines[4], "Sweep cancelled after 2 of 3 points");
  EXPECT_EQ(log.lines[5], "Sweep saved as tx1.swp");
  EXPECT_EQ(ReadFile("tx1.swp"), log.lines[2] + "\r\n" + log.lines[3] + "\r\n" + log.lines[4] + "\r\n");

  sweep.Next();
  log.lines.clear();
  ReportSweep("tx1", sweep, log);  // complete: no cancel line
  ASSERT_EQ(log.lines.size(), 6u);
  EXPECT_EQ(log.lines[5], "Sweep saved as tx1.swp");
  EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "Sweep cancelled after 2 of 3 points"), 0);
}

// The ends are the values typed, also where the steps to them round: To of a seventh.
TEST(Sweep, TheLastValueIsToExactly) {
  for (const Real from : {0.1L, 0.3L, 3.0L}) {
    for (int32_t k = 1; k <= 20; ++k) {
      for (const int32_t points : {3, 4, 7, 11}) {
        for (const bool logarithmic : {false, true}) {
          const SweepRange r{from, k / 7.0L, points, logarithmic};
          EXPECT_EQ(SweepValue(r, points - 1), r.to)
              << from << " " << k << " " << points << " " << logarithmic;
          EXPECT_EQ(SweepValue(r, 0), r.from);
        }
      }
    }
  }
}
