#include "ui/persistent.h"

namespace wakumo {

std::string AssignErrorText(const std::string& source_class, const std::string& target_class) {
  return source_class + " を " + target_class + " に代入することはできません";
}

void TPersistent::AssignError(const TPersistent& source) const {
  throw EConvertError(AssignErrorText(source.ClassName(), ClassName()));
}

}  // namespace wakumo
