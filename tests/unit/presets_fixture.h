#pragma once
// The main window started on a simulated file system, so that a test can
// prepare the settings file, start, close and start again.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "sim/sim_desktop.h"
#include "sim/sim_platform.h"
#include "sim/sim_ui.h"

namespace wakumo::testing {

inline constexpr std::string_view kToolsFolder = "C:\\Tools";
inline constexpr std::string_view kIniPath = "C:\\Tools\\wakumo.ini";

// What a first start without a file writes at close.
inline constexpr std::string_view kDefaultIni =
    "[Sizes]\r\n120x60=\r\n256x256=\r\n320x240=QVGA\r\n640x480=VGA\r\n800x600=SVGA\r\n1024x768=XGA\r\n"
    "1280x1024=SXGA\r\n1600x1200=UXGA\r\n\r\n[Bases]\r\n\r\n[ShortCut]\r\n\r\n[Option]\r\nTiming=0\r\n"
    "ToFront=1\r\nBase=0\r\nOnTop=1\r\nWinPos=0\r\nListSort=0\r\n";

class PresetsFixture : public ::testing::Test {
 protected:
  PresetsFixture() : tk(desk), tray(desk, platform.Ports()) {}

  void Start() {
    form = std::make_unique<TForm1>(desk, tk, platform.Ports(), tray);
    form->Show();
  }
  // The window's close button; the form stays made, as after the loop ends.
  void Close() { ASSERT_TRUE(tk.CloseForm("Form1")); }
  void Restart() {
    Close();
    form.reset();
    Start();
  }
  std::string Ini() const { return platform.files.FileBytes(kIniPath).value_or("<no file>"); }

  // Every entry of a popup menu, fixed ones included.
  std::vector<std::string> MenuCaptions(std::string_view menu) const {
    return tk.FindPopupMenu(menu)->Items().Captions();
  }
  std::vector<std::string> MenuHints(std::string_view menu) const {
    std::vector<std::string> out;
    for (const SimMenuItemPeer* item : tk.FindPopupMenu(menu)->Items().Items()) out.push_back(item->Hint());
    return out;
  }
  std::string Text(std::string_view control) const { return tk.Get(control).Caption(); }
  const std::vector<std::string>& Messages() { return tk.Application().Messages(); }

  SimDesktop desk;
  SimPlatform platform;
  SimToolkit tk;
  TrayServices tray;
  std::unique_ptr<TForm1> form;
};

}  // namespace wakumo::testing
