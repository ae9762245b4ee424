#include "ui/control.h"

namespace wakumo {

TControl::TControl(UiToolkit& tk, ControlKind kind, TControl* parent, const std::string& name)
    : peer_(tk.CreateControl(kind, parent ? &parent->Peer() : nullptr, *this, name)) {}

}  // namespace wakumo
