#include "sim/sim_notify_area.h"

namespace wakumo {

void PrintTo(NotifyIconMessage m, std::ostream* os) {
  switch (m) {
    case NotifyIconMessage::nimAdd: *os << "NIM_ADD"; return;
    case NotifyIconMessage::nimModify: *os << "NIM_MODIFY"; return;
    case NotifyIconMessage::nimDelete: *os << "NIM_DELETE"; return;
  }
  *os << "NIM_" << static_cast<std::uint32_t>(m);
}

bool SimNotifyArea::NotifyIcon(NotifyIconMessage message, const NotifyIconData& data) {
  bool ok;
  if (const auto failure = ScriptedFailure(message)) {
    if (failure->second) Apply(message, data);
    last_error_ = failure->first;
    ok = false;
  } else {
    ok = Apply(message, data);
    if (!ok) last_error_ = kRefusedError;
  }
  calls_.push_back({message, data, ok});
  return ok;
}

std::optional<std::pair<std::uint32_t, bool>> SimNotifyArea::ScriptedFailure(NotifyIconMessage message) {
  for (auto it = scripts_.begin(); it != scripts_.end(); ++it) {
    if (it->message != message) continue;
    const auto failure = std::make_pair(it->error, it->applied);
    scripts_.erase(it);
    return failure;
  }
  auto always = always_.find(message);
  if (always != always_.end()) return std::make_pair(always->second, false);
  return std::nullopt;
}

bool SimNotifyArea::Apply(NotifyIconMessage message, const NotifyIconData& data) {
  const auto key = std::make_pair(data.hWnd, data.uID);
  auto it = icons_.find(key);
  auto take_state = [&data](Icon& icon) {
    if (!(data.uFlags & NIF_STATE_) || !(data.dwStateMask & NIS_HIDDEN_)) return;
    icon.hidden = (data.dwState & NIS_HIDDEN_) != 0;
  };
  switch (message) {
    case NotifyIconMessage::nimAdd: {
      if (it != icons_.end()) return false;
      Icon icon{data, false};
      take_state(icon);
      icons_[key] = icon;
      return true;
    }
    case NotifyIconMessage::nimModify: {
      if (it == icons_.end()) return false;
      Icon& icon = it->second;
      icon.data.layout = data.layout;
      if (data.uFlags & NIF_ICON_) icon.data.hIcon = data.hIcon;
      if (data.uFlags & NIF_TIP_) icon.data.szTip = data.szTip;
      if (data.uFlags & NIF_MESSAGE_) icon.data.uCallbackMessage = data.uCallbackMessage;
      take_state(icon);
      return true;
    }
    case NotifyIconMessage::nimDelete:
      if (it == icons_.end()) return false;
      icons_.erase(it);
      return true;
  }
  return false;
}

std::vector<NotifyIconMessage> SimNotifyArea::Messages() const {
  std::vector<NotifyIconMessage> out;
  for (const Call& c : calls_) out.push_back(c.message);
  return out;
}

void SimNotifyArea::FailNext(NotifyIconMessage message, std::uint32_t error, bool applied) {
  scripts_.push_back({message, error, applied});
}

void SimNotifyArea::FailAlways(NotifyIconMessage message, std::uint32_t error) { always_[message] = error; }

void SimNotifyArea::StopFailing() {
  scripts_.clear();
  always_.clear();
}

const SimNotifyArea::Icon* SimNotifyArea::Find(WindowHandle w, std::uint32_t id) const {
  auto it = icons_.find({w, id});
  return it == icons_.end() ? nullptr : &it->second;
}

std::size_t SimNotifyArea::VisibleIconCount() const {
  std::size_t n = 0;
  for (const auto& [key, icon] : icons_) n += icon.hidden ? 0 : 1;
  return n;
}

void SimNotifyArea::RestartTaskbar() {
  icons_.clear();
  windows_.Broadcast(windows_.RegisterWindowMessage("TaskbarCreated"));
}

TColor SimTaskbarTooltip::SystemColor(int index) {
  auto it = colors_.find(index);
  if (it != colors_.end()) return it->second;
  switch (index) {
    case COLOR_INFOBK_: return RGBColor(255, 255, 225);
    case COLOR_INFOTEXT_: return RGBColor(0, 0, 0);
    default: return RGBColor(index, index, index);  // each index its own grey
  }
}

}  // namespace wakumo
