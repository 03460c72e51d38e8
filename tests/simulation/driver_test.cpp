#include "simulation/driver.h"

#include <gtest/gtest.h>

#include <cmath>

#include "shell/float_error.h"

using namespace kovaro;

namespace {

Real After(Real t) { return std::nextafter(t, 1E10L); }

SimulationSettings Squared(Waveform w, Real f) {
  SimulationSettings s;
  s.VinWaveform = w;
  s.InputFrequency = f;
  s.StopTime = 100;
  return s;
}

}  // namespace

TEST(Driver, SquaredWavesRoundHalvesToEven) {
  // f = 0.5 Hz puts the half period at t = 1 and the period at t = 2 exactly.
  Driver sine(Squared(Waveform::SquaredSine, 0.5L));
  EXPECT_EQ(sine.InputVoltage(0), 180);  // round(-0.5) = 0
  EXPECT_EQ(sine.InputVoltage(0.5L), 180);
  EXPECT_EQ(sine.InputVoltage(1), 180);  // round(0.5) = 0
  EXPECT_EQ(sine.InputVoltage(After(1)), -180);
  EXPECT_EQ(sine.InputVoltage(1.5L), -180);
  EXPECT_EQ(sine.InputVoltage(2), 180);      // round(1.5) = 2
  EXPECT_EQ(sine.InputVoltage(3), 180);      // round(2.5) = 2
  EXPECT_EQ(sine.InputVoltage(3.5L), -180);  // round(3) = 3
  EXPECT_EQ(sine.InputVoltage(4), 180);      // round(3.5) = 4
  EXPECT_EQ(sine.LastDriverOutput, 180);

  Driver cosine(Squared(Waveform::SquaredCosine, 0.5L));
  EXPECT_EQ(cosine.InputVoltage(0), 180);
  EXPECT_EQ(cosine.InputVoltage(0.5L), 180);  // round(0.5) = 0
  EXPECT_EQ(cosine.InputVoltage(After(0.5L)), -180);
  EXPECT_EQ(cosine.InputVoltage(1.5L), 180);  // round(1.5) = 2
}

TEST(Driver, SineAndCosineFollowTheInputFrequency) {
  SimulationSettings s;
  s.VinWaveform = Waveform::Sine;
  s.InputFrequency = 1000;
  Driver sine(s);
  EXPECT_EQ(sine.InputVoltage(0), 0);
  EXPECT_NEAR(sine.InputVoltage(0.00025L), 180, 1e-12);
  EXPECT_NEAR(sine.InputVoltage(0.00075L), -180, 1e-12);
  EXPECT_EQ(sine.InputVoltage(0.0001L), 180 * std::sin(0.0001L * (1000 * kTwoPi)));
  s.VinWaveform = Waveform::Cosine;
  Driver cosine(s);
  EXPECT_EQ(cosine.InputVoltage(0), 180);
  EXPECT_NEAR(cosine.InputVoltage(0.0005L), -180, 1e-12);
}

TEST(Driver, CurrentFeedbackStartsStrictlyAfterItsTime) {
  SimulationSettings s;
  s.VinWaveform = Waveform::Sine;
  s.Feedback = true;
  s.FeedbackStart = 1E-6L;
  Driver d(s);
  EXPECT_EQ(d.InputVoltage(1E-6L), 180 * std::sin(1E-6L * (300000 * kTwoPi)));
  d.FeedbackCurrent = 0;
  EXPECT_EQ(d.InputVoltage(After(1E-6L)), 180);
  d.FeedbackCurrent = -1E-30L;
  EXPECT_EQ(d.InputVoltage(2E-6L), -180);
  s.AddOffset = true;  // the offset is added to the feedback value too
  Driver offset(s);
  offset.FeedbackCurrent = -1;
  EXPECT_EQ(offset.InputVoltage(2E-6L), 0);
  offset.FeedbackCurrent = 1;
  EXPECT_EQ(offset.InputVoltage(3E-6L), 360);
}

TEST(Driver, TurnOffDelayHoldsTheLastOutput) {
  SimulationSettings s = Squared(Waveform::SquaredSine, 0.5L);  // +180 up to t = 1, then -180
  s.StopTime = 0.875L;
  s.TurnOffDelay = 0.25L;
  s.AfterStop = StopMode::ShortCircuit;
  Driver d(s);
  EXPECT_EQ(d.InputVoltage(0.875L), 180);         // exactly Ts: still driving
  EXPECT_EQ(d.InputVoltage(After(0.875L)), 180);  // held
  EXPECT_EQ(d.InputVoltage(1.0625L), 180);        // held, although the wave is negative now
  EXPECT_EQ(d.InputVoltage(1.125L), 180);         // exactly Ts + Td: still held
  EXPECT_EQ(d.LastDriverOutput, 180);
  EXPECT_EQ(d.InputVoltage(After(1.125L)), 0);  // short circuit
  EXPECT_EQ(d.LastDriverOutput, 0);

  s.TurnOffDelay = 0;  // no delay: the stop mode applies to every t after Ts
  Driver no_delay(s);
  EXPECT_EQ(no_delay.InputVoltage(0.875L), 180);
  EXPECT_EQ(no_delay.InputVoltage(After(0.875L)), 0);
}

TEST(Driver, StopModesAfterTheDelay) {
  SimulationSettings s;
  s.StopTime = 0;
  s.TurnOffDelay = 0;
  s.AfterStop = StopMode::FreeWheelingDiodes;
  Driver diodes(s);
  diodes.FeedbackCurrent = -0.01L;
  EXPECT_EQ(diodes.InputVoltage(1), 100);
  diodes.FeedbackCurrent = -0.05L;
  EXPECT_EQ(diodes.InputVoltage(1), 180 + 0.8L);
  diodes.FeedbackCurrent = 0.05L;
  EXPECT_EQ(diodes.InputVoltage(1), -180 - 0.8L);
  s.DiodeDrop = 20;  // a value equal to a limit passes unchanged
  Driver at_limit(s);
  at_limit.FeedbackCurrent = -0.02L;
  EXPECT_EQ(at_limit.InputVoltage(1), 200);

  s.AfterStop = StopMode::OpenDriver;
  Driver open(s);
  open.FeedbackCurrent = 0.5L;
  EXPECT_EQ(open.InputVoltage(1), -5000);

  s.AfterStop = StopMode::MultiplyVin;
  s.AddOffset = true;
  s.VinWaveform = Waveform::SquaredSine;
  s.InputFrequency = 0.5L;
  Driver multiply(s);
  EXPECT_EQ(multiply.InputVoltage(0.5L), 720);
  EXPECT_EQ(multiply.InputVoltage(1.5L), 0);

  s.StopTime = 0.75L;  // the held value includes the offset but is not multiplied
  s.TurnOffDelay = 1;
  Driver held(s);
  EXPECT_EQ(held.InputVoltage(0.5L), 360);
  EXPECT_EQ(held.InputVoltage(1.5L), 360);
  EXPECT_EQ(held.InputVoltage(After(1.75L)), 0);
}

TEST(Driver, SetStopTimeToCycles) {
  SimulationSettings s;
  EXPECT_EQ(StopTimeFor(s), 9.75L / 300000);
  s.InputFrequency = 0;
  EXPECT_THROW(
      {
        try {
          StopTimeFor(s);
        } catch (const FloatError& e) {
          EXPECT_STREQ(e.what(), "Floating point division by zero");
          throw;
        }
      },
      FloatError);
  s.StopCycles = 0;
  try {
    StopTimeFor(s);
    ADD_FAILURE() << "0 / 0 must fault";
  } catch (const FloatError& e) {
    EXPECT_STREQ(e.what(), "Invalid floating point operation");
  }
}
