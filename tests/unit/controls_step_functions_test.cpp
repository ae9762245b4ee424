#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controls/step_functions.h"

namespace wakumo {
namespace {

constexpr long double kTol = 1e-15L;

TSUDFunctions Functions(TFunctionKind kind, long double rate) {
  TSUDFunctions f;
  f.SetKind(kind);
  f.SetRate(rate);
  return f;
}

TEST(StepFunctions, LinearStepsByRateAndZeroRateCollapsesToZero) {
  TSUDFunctions f;
  EXPECT_EQ(f.Kind(), TFunctionKind::fkLinear);
  EXPECT_EQ(f.Rate(), 1.0L);
  EXPECT_EQ(f.Step(5, 1), 6);
  EXPECT_EQ(f.Step(5, -3), 2);
  EXPECT_EQ(f.Step(-9999, -1), -10000);

  f.SetRate(0.5L);
  EXPECT_EQ(f.Step(5, 2), 6);

  f.SetRate(0);
  EXPECT_EQ(f.Inverse(5), 0);
  EXPECT_EQ(f.Step(5, 1), 0) << "rate 0: every step yields 0";
}

TEST(StepFunctions, LinearRateFromIncrementIsIncrementPerStep) {
  TSUDLinear lin;
  EXPECT_EQ(lin.RateFromIncrement(100, 4, 2), 0.5L);
  EXPECT_EQ(lin.RateFromIncrement(100, -2, 3), -1.5L);
  EXPECT_EQ(lin.RateFromIncrement(100, 0, 3), 0) << "no steps: no rate rather than a division by zero";
}

TEST(StepFunctions, ExponentialMultipliesAndHandlesNonPositivePositions) {
  TSUDFunctions f = Functions(TFunctionKind::fkExponential, 2);
  EXPECT_NEAR(f.Step(3, 1), 6.0L, kTol);
  EXPECT_NEAR(f.Step(3, -1), 1.5L, kTol);
  EXPECT_NEAR(f.Step(100, 3), 800.0L, 1e-13L);
  // From 0 or below the inverse is 0, so the result is rate^steps.
  EXPECT_NEAR(f.Step(0, 1), 2.0L, kTol);
  EXPECT_NEAR(f.Step(0, -1), 0.5L, kTol);
  EXPECT_NEAR(f.Step(-50, 2), 4.0L, kTol);

  f.SetRate(1);
  EXPECT_EQ(f.Inverse(77), 0);
  EXPECT_NEAR(f.Step(77, 5), 1.0L, kTol) << "rate 1: every position steps to 1";

  for (long double bad : {0.0L, -2.0L}) {
    SCOPED_TRACE(static_cast<double>(bad));
    f.SetRate(bad);
    EXPECT_EQ(f.Forward(1), 0);
    EXPECT_EQ(f.Inverse(8), 0);
    EXPECT_EQ(f.Step(8, 1), 0);
  }
}

TEST(StepFunctions, ExponentialRateFromIncrementRoundTripsThroughStep) {
  TSUDExponential e;
  EXPECT_NEAR(e.RateFromIncrement(10, 1, 5), 1.5L, kTol);
  EXPECT_NEAR(e.RateFromIncrement(10, 2, 30), 2.0L, kTol);
  EXPECT_NEAR(e.RateFromIncrement(3, 1, 3), 2.0L, kTol);
  // Guards: the target must stay positive, the position be positive, and steps non-zero.
  EXPECT_EQ(e.RateFromIncrement(10, 1, -10), 0);
  EXPECT_EQ(e.RateFromIncrement(10, 1, -11), 0);
  EXPECT_EQ(e.RateFromIncrement(0, 1, 5), 0);
  EXPECT_EQ(e.RateFromIncrement(-4, 1, 5), 0);
  EXPECT_EQ(e.RateFromIncrement(10, 0, 5), 0);

  struct Row { long double p, q, i; };
  for (Row r : {Row{10, 1, 5}, Row{250, 3, -200}, Row{1, 0.5L, 1}, Row{9999, 7, 1}}) {
    SCOPED_TRACE(testing::Message() << "p=" << static_cast<double>(r.p) << " q=" << static_cast<double>(r.q)
                                    << " i=" << static_cast<double>(r.i));
    TSUDFunctions f = Functions(TFunctionKind::fkExponential, e.RateFromIncrement(r.p, r.q, r.i));
    EXPECT_NEAR(static_cast<double>(f.Step(r.p, r.q)), static_cast<double>(r.p + r.i), 1e-9);
  }
}

TEST(StepFunctions, KindSwitchKeepsTheRateAndUnknownKindAnswersZero) {
  TSUDFunctions f;
  f.SetRate(3);
  f.SetKind(TFunctionKind::fkExponential);
  EXPECT_EQ(f.Kind(), TFunctionKind::fkExponential);
  EXPECT_NE(dynamic_cast<const TSUDExponential*>(&f.Function()), nullptr);
  EXPECT_EQ(f.Rate(), 3) << "the class's starting rate 2 must not replace the carried one";
  EXPECT_NEAR(f.Step(2, 1), 6.0L, kTol);

  TSUDFunctions fresh;
  fresh.SetKind(TFunctionKind::fkExponential);
  EXPECT_EQ(fresh.Rate(), 1) << "only the very first object has its class's own rate";

  f.SetKind(static_cast<TFunctionKind>(7));
  EXPECT_EQ(f.Rate(), 3);
  EXPECT_EQ(f.Step(2, 1), 0);
  EXPECT_EQ(f.RateFromIncrement(2, 1, 1), 0);

  TSUDFunctions copy;
  copy.Assign(Functions(TFunctionKind::fkExponential, 1.25L));
  EXPECT_EQ(copy.Kind(), TFunctionKind::fkExponential);
  EXPECT_EQ(copy.Rate(), 1.25L);

  TSUDLinear lin;
  TSUDExponential ex;
  ex.Rate = 4;
  lin.Assign(ex);
  EXPECT_EQ(lin.Rate, 4) << "any function kind takes any other's rate";
}

TEST(Confine, SettersKeepMinNotAboveMax) {
  TfConfine c;
  c.SetMax(100);
  c.SetMin(10);
  c.SetMax(5);
  EXPECT_EQ(c.Min(), 5);
  EXPECT_EQ(c.Max(), 5);
  c.SetMin(20);
  EXPECT_EQ(c.Min(), 20);
  EXPECT_EQ(c.Max(), 20);
}

TEST(Confine, ClampHoldsBoundsAndTurnsNaNIntoMin) {
  TfConfine c;
  c.SetMax(9999);
  c.SetMin(1);
  EXPECT_EQ(c.Confine(0), 1);
  EXPECT_EQ(c.Confine(10000), 9999);
  EXPECT_EQ(c.Confine(500), 500);
  EXPECT_EQ(c.Confine(std::numeric_limits<long double>::infinity()), 9999);
  EXPECT_EQ(c.Confine(std::numeric_limits<long double>::quiet_NaN()), 1);
}

// The cycle as the control describes it, one period at a time.
long double WrapByLoop(long double x, long double min, long double max) {
  while (x < min) x += max - min;
  while (x > max) x -= max - min;
  return x;
}

TEST(Confine, WrapUsesPeriodMaxMinusMin) {
  TfConfine c;
  c.SetWrap(true);
  c.SetMax(9999);
  c.SetMin(1);
  EXPECT_EQ(c.Confine(10000), 2) << "9999 + 1 is the same point as 1 + 1";
  EXPECT_EQ(c.Confine(0), 9998);
  EXPECT_EQ(c.Confine(9999), 9999);
  EXPECT_EQ(c.Confine(1), 1);

  c.SetMax(360);
  c.SetMin(0);
  EXPECT_EQ(c.Confine(370), 10);
  EXPECT_EQ(c.Confine(-10), 350);
  EXPECT_EQ(c.Confine(720), 360);
  EXPECT_EQ(c.Confine(-360), 0);

  struct Bounds { long double min, max; };
  for (Bounds b : {Bounds{1, 9999}, Bounds{-9999, 9999}, Bounds{0, 360}, Bounds{-2.5L, 2.5L}, Bounds{3, 4}}) {
    c.SetMax(1e9L);
    c.SetMin(b.min);
    c.SetMax(b.max);
    const long double period = b.max - b.min;
    for (long double x = b.min - 5 * period - 3; x <= b.max + 5 * period + 3; x += period / 64) {  // exact steps: both sides compute without rounding
      SCOPED_TRACE(testing::Message() << "[" << static_cast<double>(b.min) << ", " << static_cast<double>(b.max)
                                      << "] x=" << static_cast<double>(x));
      EXPECT_EQ(c.Confine(x), WrapByLoop(x, b.min, b.max));
    }
  }
}

TEST(Confine, WrapEndsForDegenerateAndFarInputs) {
  TfConfine c;
  c.SetWrap(true);
  c.SetMax(5);
  c.SetMin(5);
  EXPECT_EQ(c.Confine(7), 5) << "a zero period must not loop";
  EXPECT_EQ(c.Confine(3), 5);

  c.SetMax(9999);
  c.SetMin(1);
  EXPECT_EQ(c.Confine(9999 + 9998.0L * 1000000 + 1), 2);
  long double far = c.Confine(-1e30L);
  EXPECT_GE(far, 1);
  EXPECT_LE(far, 9999);
  EXPECT_EQ(c.Confine(std::numeric_limits<long double>::infinity()), 9999);
  EXPECT_EQ(c.Confine(-std::numeric_limits<long double>::infinity()), 1);
  EXPECT_EQ(c.Confine(std::numeric_limits<long double>::quiet_NaN()), 1);

  c.SetWrap(false);
  EXPECT_EQ(c.Confine(10000), 9999);
}

}  // namespace
}  // namespace wakumo
