// What every case works with: the options, Wakumo's process and controls,
// the driver's own target windows, and the steps most cases share.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "harness.h"
#include "input_screen.h"
#include "targets.h"
#include "wakumo_process.h"

namespace e2e {

inline constexpr int kTextDeadlineMs = 5000;

struct Options {
  std::wstring wakumo;
  std::string out_unix;
  std::string xdotool;
};

struct Context {
  Options opt;
  std::unique_ptr<UnixShell> shell;
  std::unique_ptr<Input> input;
  TargetWindows t;
  WakumoProcess wakumo;
  HWND image1 = nullptr, label1 = nullptr, label2 = nullptr, cur_size = nullptr, led = nullptr;
  LONG main_height = 0;  // outer height of the main window at start, the list hidden
};

// The named control of Wakumo's main window; the case fails without it.
HWND Ctl(const Context& c, const wchar_t* name);

struct Shown {
  std::wstring label1, label2, cur_size;
  std::string Text() const;
};
Shown ReadShown(const Context& c);
void ExpectShown(const Context& c, const std::wstring& label1, const std::wstring& label2,
                 const std::string& cur_size, const std::string& what);

POINT ScreenPoint(HWND hwnd, int x, int y);
// A point inside the sizable target's client area that no child covers.
POINT SizableEmptySpot(const Context& c);
POINT EditSpot(const Context& c);
void EnsureForeground(const Context& c);

// One drag of the sight: press on Image1, moves, release; the button is let
// go even when a check fails half-way.
class Pick {
 public:
  explicit Pick(const Context& c);
  void MoveTo(POINT p);
  void Release();

 private:
  const Context& c_;
  LeftButtonGuard button_;
};

// An X screenshot of the root window (or of `crop`) into the output folder.
void SaveScreenshot(const Context& c, const std::string& file, const RECT* crop);

// Cases of cases_numbers.cpp: number fields and spinners.
void CaseSpinnersDrawn(Context& c);
void CaseTypedNumberConfinedOnRead(Context& c);
void CaseArrowKeysStepOnlyFocused(Context& c);
void CaseHeldUpArrowRepeats(Context& c);
void CaseSliderDragUp(Context& c);

// Cases of cases_apply.cpp: Set, Undo and the window list.
void CaseThreeUndos(Context& c);
void CaseSetSizesSizable(Context& c);
void CaseSetRestoresMaximised(Context& c);
void CaseBottomRightOfWorkArea(Context& c);
void CaseDialogKeepsSize(Context& c);
void CaseChildClientTopLeft(Context& c);
void CaseMdiDocumentInContainer(Context& c);
void CaseWindowListRowApplies(Context& c);

// Cases of cases_settings.cpp: the settings file, the size menu and the list
// editor, each group with a Wakumo of its own; run after the others.
void RunSettingsCases(Context& c, Suite& suite);
// After the shared Wakumo has closed: it wrote its settings file.
void ExpectClosingWroteSettings(const Context& c);

// Cases of cases_stacking.cpp: "常に前" against another process's window, on
// the shared Wakumo; and a start with OnTop=0, with a Wakumo of its own.
void RunStackingCases(Context& c, Suite& suite);
void RunOnTopOffAtStartCase(Context& c, Suite& suite);
// Cases of cases_dpi.cpp, each with a Wakumo of its own.
void RunDpiCases(Context& c, Suite& suite);
// Cases of cases_tray.cpp: tray mode with a target window of another
// process, with a Wakumo of their own.
void RunTrayCases(Context& c, Suite& suite);
// Cases of cases_settings_bytes.cpp: names that code page 932 cannot read as
// text, with a Wakumo of their own; run by RunSettingsCases.
void RunUndecodableNameCases(Context& c, Suite& suite);
// Cases of cases_about.cpp: the about box, help and the menu hints, with a
// Wakumo of their own; run last.
void RunAboutCases(Context& c, Suite& suite);

}  // namespace e2e
