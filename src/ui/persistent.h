#pragma once
// Settings objects that take each other's values with Assign, as the widget
// set's persistent objects do.
#include <stdexcept>
#include <string>

namespace wakumo {

// The widget set's error for an Assign between objects of unrelated kinds.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPersistent {
 public:
  virtual ~TPersistent() = default;
  virtual std::string ClassName() const = 0;
  // Takes the values of `source`; a source of a kind it cannot take is
  // refused with EConvertError and nothing changes.
  virtual void Assign(const TPersistent& source) { AssignError(source); }

 protected:
  [[noreturn]] void AssignError(const TPersistent& source) const;
};

// "%s を %s に代入することはできません", filled with the two class names.
std::string AssignErrorText(const std::string& source_class, const std::string& target_class);

}  // namespace wakumo
