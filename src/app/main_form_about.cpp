// The main window's menu hints, help and about box.
#include "app/frame_window.h"
#include "app/main_form.h"
#include "presets/about_texts.h"
#include "presets/help_file.h"

namespace wakumo {

namespace {

// Hint texts wrap at this width.
constexpr int kHintMaxWidth = 512;

}  // namespace

void TForm1::CreateHintAndHelp() {
  MenuHintWindow = std::make_unique<THintWindow>(tk_, this, "MenuHintWindow");
  MenuHintWindow->SetColor(clInfoBk);
  HelpFilePath = HelpPathFor(platform_.files.ExecutablePath());
}

// Popup menus show no hints of their own: while a size or position menu is
// open, the highlighted preset's name goes in a hint window beside the entry
// under the pointer.
void TForm1::AppEventsHint() {
  if (!MenuHintWindow) return;
  const std::string text = application_.Hint();
  if (!OpenListMenu || text.empty()) {
    MenuHintWindow->Hide();
    return;
  }
  const int index = OpenListMenu->ItemFromPoint(ws_.GetCursorPos());
  if (index < 0) {
    MenuHintWindow->Hide();
    return;
  }
  // Right of the entry, clear of the menu's frame, level with the entry.
  const Rect entry = OpenListMenu->ItemRect(index);
  const int x = entry.right + 2 * ws_.GetSystemMetric(SystemMetric::CxDlgFrame);
  const int y = entry.top + ws_.GetSystemMetric(SystemMetric::CyDlgFrame);
  const Rect size = MenuHintWindow->CalcHintRect(kHintMaxWidth, text);
  MenuHintWindow->ActivateHint({x + 1, y, x + 1 + size.Width(), y + size.Height()}, text);
}

// A missing file or viewer shows nothing: the desktop is asked, no more.
void TForm1::mHelpClick() { platform_.shell.Open(Handle(), HelpFilePath); }

void TForm1::About1Click() {
  if (!AboutBox) return;
  AboutBox->Version.SetCaption(kVersionText);
  // Centred on the screen each time it opens.
  const Rect r = AboutBox->WindowRect();
  AboutBox->SetWindowRect(CentredOnScreen(ws_, r.Width(), r.Height()));
  AboutBox->ShowModal();
}

}  // namespace wakumo
