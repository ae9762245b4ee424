#include "controls/step_functions.h"

#include <cmath>

namespace wakumo {

long double TSUDLinear::Forward(long double u) const { return u * Rate; }

long double TSUDLinear::Inverse(long double v) const { return Rate == 0 ? 0 : v / Rate; }

long double TSUDLinear::RateFromIncrement(long double, long double quantity, long double increment) const {
  return quantity == 0 ? 0 : increment / quantity;
}

long double TSUDExponential::Forward(long double u) const {
  if (!(Rate > 0)) return 0;
  return std::exp(u * std::log(Rate));
}

long double TSUDExponential::Inverse(long double v) const {
  if (!(v > 0 && Rate > 0 && Rate != 1)) return 0;
  return std::log(v) / std::log(Rate);
}

long double TSUDExponential::RateFromIncrement(long double position, long double quantity,
                                               long double increment) const {
  if (!(increment > -position && position > 0 && quantity != 0)) return 0;
  return std::exp(std::log((position + increment) / position) / quantity);
}

TSUDFunctions::TSUDFunctions() : function_(std::make_unique<TSUDLinear>()) {}

void TSUDFunctions::SetKind(TFunctionKind kind) {
  kind_ = kind;
  std::unique_ptr<TSUDFunction> next;
  switch (kind) {
    case TFunctionKind::fkLinear: next = std::make_unique<TSUDLinear>(); break;
    case TFunctionKind::fkExponential: next = std::make_unique<TSUDExponential>(); break;
    default: next = std::make_unique<TSUDFunction>(); break;
  }
  next->Assign(*function_);
  function_ = std::move(next);
}

void TSUDFunctions::Assign(const TSUDFunctions& source) {
  if (&source == this) return;
  SetKind(source.Kind());
  SetRate(source.Rate());
}

void TfConfine::SetMin(long double v) {
  min_ = v;
  if (max_ < min_) max_ = v;
}

void TfConfine::SetMax(long double v) {
  max_ = v;
  if (min_ > max_) min_ = v;
}

long double TfConfine::Clamp(long double x) const {
  // A NaN would slip past both comparisons and poison every later step.
  if (std::isnan(x)) return min_;
  if (x < min_) x = min_;
  if (x > max_) x = max_;
  return x;
}

long double TfConfine::WrapValue(long double x) const {
  const long double period = max_ - min_;
  // Without a finite, positive period there is no cycle to wrap around (and
  // stepping by the period one at a time would never end); infinite inputs
  // have no place on a cycle either. Those cases clamp.
  if (!(period > 0) || !std::isfinite(period) || !std::isfinite(x)) return Clamp(x);
  long double result = x;
  if (x < min_) {
    // Repeatedly adding the period lands in [Min, Max); fmod gets there at once
    // and exactly, whatever the distance.
    long double r = std::fmod(x - min_, period);  // in (-period, 0]
    result = r < 0 ? min_ + (period + r) : min_;
  } else if (x > max_) {
    // Repeatedly subtracting lands in (Min, Max].
    long double r = std::fmod(x - max_, period);  // in [0, period)
    result = r > 0 ? min_ + r : max_;
  }
  return std::isfinite(result) ? result : Clamp(x);
}

}  // namespace wakumo
