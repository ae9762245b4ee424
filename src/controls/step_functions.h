#pragma once
// Step functions of the slide up-down control. A spinner maps its value onto a
// step coordinate (Inverse), moves along it, and maps back (Forward): even
// steps for the linear kind, multiplying ones for the exponential kind.
// Every case that would divide by zero or take the logarithm of a non-positive
// number yields 0 instead of failing.
#include <memory>

namespace wakumo {

enum class TFunctionKind { fkLinear = 0, fkExponential = 1 };

class TSUDFunction {
 public:
  TSUDFunction() = default;
  virtual ~TSUDFunction() = default;

  // A new object of the same class with that class's starting rate.
  virtual std::unique_ptr<TSUDFunction> Create() const { return std::make_unique<TSUDFunction>(); }
  // Step coordinate to value.
  virtual long double Forward(long double u) const { (void)u; return 0; }
  // Value to step coordinate.
  virtual long double Inverse(long double v) const { (void)v; return 0; }
  // The rate that makes `quantity` steps from `position` change the value by `increment`.
  virtual long double RateFromIncrement(long double position, long double quantity, long double increment) const {
    (void)position; (void)quantity; (void)increment;
    return 0;
  }

  // Any kind of function takes the rate of any other.
  void Assign(const TSUDFunction& source) { Rate = source.Rate; }

  long double Rate = 0;
};

class TSUDLinear : public TSUDFunction {
 public:
  TSUDLinear() { Rate = 1.0L; }
  std::unique_ptr<TSUDFunction> Create() const override { return std::make_unique<TSUDLinear>(); }
  long double Forward(long double u) const override;
  long double Inverse(long double v) const override;
  long double RateFromIncrement(long double position, long double quantity, long double increment) const override;
};

class TSUDExponential : public TSUDFunction {
 public:
  TSUDExponential() { Rate = 2.0L; }
  std::unique_ptr<TSUDFunction> Create() const override { return std::make_unique<TSUDExponential>(); }
  long double Forward(long double u) const override;
  long double Inverse(long double v) const override;
  long double RateFromIncrement(long double position, long double quantity, long double increment) const override;
};

// Holds one step function and switches its class by kind; the rate survives
// a switch, so a class's own starting rate only applies to the first object.
class TSUDFunctions {
 public:
  TSUDFunctions();

  TFunctionKind Kind() const { return kind_; }
  // Any value other than the two kinds gets the base class, which answers 0.
  void SetKind(TFunctionKind kind);
  long double Rate() const { return function_->Rate; }
  void SetRate(long double r) { function_->Rate = r; }
  const TSUDFunction& Function() const { return *function_; }

  void Assign(const TSUDFunctions& source);

  long double Forward(long double u) const { return function_->Forward(u); }
  long double Inverse(long double v) const { return function_->Inverse(v); }
  long double RateFromIncrement(long double position, long double quantity, long double increment) const {
    return function_->RateFromIncrement(position, quantity, increment);
  }
  long double Step(long double position, long double steps) const { return Forward(Inverse(position) + steps); }

 private:
  TFunctionKind kind_ = TFunctionKind::fkLinear;
  std::unique_ptr<TSUDFunction> function_;
};

// Keeps a value within [Min, Max] by clamping or wrapping; Min <= Max holds
// after every setter.
class TfConfine {
 public:
  long double Min() const { return min_; }
  long double Max() const { return max_; }
  bool Wrap() const { return wrap_; }
  void SetMin(long double v);
  void SetMax(long double v);
  void SetWrap(bool w) { wrap_ = w; }

  long double Clamp(long double x) const;
  // Period Max - Min: Max and Min are the same point of the cycle.
  long double WrapValue(long double x) const;
  long double Confine(long double x) const { return wrap_ ? WrapValue(x) : Clamp(x); }

 private:
  long double min_ = 0;
  long double max_ = 0;
  bool wrap_ = false;
};

}  // namespace wakumo
