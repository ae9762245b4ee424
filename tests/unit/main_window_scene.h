#pragma once
// The main window on the simulated desktop with the ports it runs on: the
// scene the form tests' fixture and the benchmarks build on.
#include <cstdint>

#include "app/main_form.h"
#include "sim/sim_desktop.h"
#include "sim/sim_platform.h"
#include "sim/sim_ui.h"

namespace wakumo::testing {

// An ordinary application window's frame: caption, system menu, sizing
// border, minimise and maximise boxes.
inline constexpr std::uint32_t kOverlapped =
    WS_CAPTION_ | WS_SYSMENU_ | WS_THICKFRAME_ | WS_MINIMIZEBOX_ | WS_MAXIMIZEBOX_;

struct MainWindowScene {
  MainWindowScene() : tk(desk), tray(desk, platform.Ports()), form(desk, tk, platform.Ports(), tray) {}

  SimDesktop desk;
  SimPlatform platform;
  SimToolkit tk;
  TrayServices tray;
  TForm1 form;
};

}  // namespace wakumo::testing
