// Simulated text fields: the edit's caret, selection, typing and pasting,
// and the entries of combo boxes and drop-down lists.
#include "sim/sim_ui.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/text.h"

namespace wakumo {

void SimEditPeer::SetCaption(const std::string& text) {
  SimControlPeer::SetCaption(text);
  sel_start_ = sel_length_ = 0;
  modified_ = false;
  events_.PeerChange();
}

void SimEditPeer::SetSel(int start, int length) {
  const int size = static_cast<int>(Utf8ToUtf16(Caption()).size());
  sel_start_ = std::clamp(start, 0, size);
  sel_length_ = std::clamp(length, 0, size - sel_start_);
}

void SimEditPeer::ReplaceEditText(const std::string& text, int caret) {
  caption_ = text;
  if (handle_ != 0) Desktop().SetTitle(handle_, text);
  sel_start_ = caret;
  sel_length_ = 0;
  modified_ = true;
}

void SimItemsPeer::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  item_index_ = -1;
  if (kind_ == ControlKind::DropDownList) SetCaption("");
}

void SimItemsPeer::SetItemIndex(int index) {
  if (index >= 0 && index < static_cast<int>(items_.size())) {
    item_index_ = index;
    SetCaption(items_[static_cast<std::size_t>(index)]);
  } else {
    item_index_ = -1;
    SetCaption("");
  }
}

bool SimToolkit::Select(std::string_view name, int index) {
  auto* items = dynamic_cast<SimItemsPeer*>(&Get(name));
  if (!items) return false;
  SimItemsPeer& c = *items;
  if (!c.CanTakeInput() || index < 0 || index >= static_cast<int>(c.items_.size())) return false;
  c.SetItemIndex(index);
  c.events_.PeerChange();
  c.events_.PeerSelect();
  c.events_.PeerCloseUp();
  return true;
}

bool SimToolkit::TypeText(std::string_view name, std::string_view text) {
  SimControlPeer& c = Get(name);
  if (c.kind_ != ControlKind::Edit && c.kind_ != ControlKind::ComboBox) return false;
  if (!c.CanTakeInput()) return false;
  if (auto* edit = dynamic_cast<SimEditPeer*>(&c)) {
    edit->ReplaceEditText(std::string(text), static_cast<int>(Utf8ToUtf16(text).size()));
  } else {
    c.SetCaption(std::string(text));
  }
  c.events_.PeerChange();
  return true;
}

bool SimToolkit::TypeChar(std::string_view name, char32_t ch) {
  auto* edit = dynamic_cast<SimEditPeer*>(&Get(name));
  if (!edit || !edit->CanTakeInput()) return false;
  SimEditPeer& c = *edit;
  if (!c.events_.PeerKeyPress(ch)) return true;
  if (ch == 0x16) {  // Ctrl+V
    PasteInto(c);
    return true;
  }
  std::u16string text = Utf8ToUtf16(c.Caption());
  const std::size_t size = text.size();
  std::size_t start = std::min(static_cast<std::size_t>(c.sel_start_), size);
  const std::size_t length = std::min(static_cast<std::size_t>(c.sel_length_), size - start);
  if (ch == 8) {
    if (length > 0) {
      text.erase(start, length);
    } else if (start > 0) {
      // A surrogate pair goes as one character.
      const bool pair = start >= 2 && DecodeUtf16At(text, start - 2).length == 2;
      const std::size_t n = pair ? 2 : 1;
      text.erase(start - n, n);
      start -= n;
    } else {
      return true;
    }
  } else if (ch < 0x20 || ch == 0x7F) {
    return true;
  } else {
    std::u16string typed;
    AppendUtf16(typed, ch);
    text.replace(start, length, typed);
    start += typed.size();
  }
  c.ReplaceEditText(Utf16ToUtf8(text), static_cast<int>(start));
  c.events_.PeerChange();
  return true;
}

bool SimToolkit::TypeChars(std::string_view name, std::string_view text) {
  auto* edit = dynamic_cast<SimEditPeer*>(&Get(name));
  if (!edit || !edit->CanTakeInput()) return false;
  for (const char32_t ch : Utf8ToUtf32(text)) TypeChar(name, ch);
  return true;
}

bool SimToolkit::Paste(std::string_view name) {
  auto* edit = dynamic_cast<SimEditPeer*>(&Get(name));
  if (!edit || !edit->CanTakeInput()) return false;
  SimEditPeer& c = *edit;
  PasteInto(c);
  return true;
}

void SimToolkit::PasteInto(SimEditPeer& c) {
  if (c.events_.PeerPaste() || !clipboard_) return;
  const std::optional<std::string> clip = clipboard_->GetText();
  if (!clip) return;
  const std::u16string line = Utf8ToUtf16(clip->substr(0, clip->find_first_of("\r\n")));
  std::u16string text = Utf8ToUtf16(c.Caption());
  const std::size_t start = std::min(static_cast<std::size_t>(c.sel_start_), text.size());
  const std::size_t length = std::min(static_cast<std::size_t>(c.sel_length_), text.size() - start);
  text.replace(start, length, line);
  c.ReplaceEditText(Utf16ToUtf8(text), static_cast<int>(start + line.size()));
  c.events_.PeerChange();
}

}  // namespace wakumo
