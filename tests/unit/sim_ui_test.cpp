#include "sim/sim_ui.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/menu.h"
#include "ui/panel.h"
#include "ui/speed_button.h"

namespace wakumo {
namespace {

struct Fixture {
  SimDesktop desktop;
  SimToolkit tk{desktop};
};

TEST(SimToolkitWindows, FormIsATopLevelWindowCentredUntilPlaced) {
  Fixture f;
  TForm form(f.tk, "Form1");
  form.SetCaption("Wakumo");
  form.SetClientSize(348, 440);
  const WindowHandle w = form.Handle();

  ASSERT_TRUE(f.desktop.Exists(w));
  EXPECT_EQ(f.desktop.GetClassName(w), "TForm1");
  EXPECT_EQ(f.desktop.GetWindowText(w), "Wakumo");
  EXPECT_EQ(f.desktop.GetStyle(w), WS_CAPTION_ | WS_SYSMENU_ | WS_MINIMIZEBOX_) << "hidden until shown";
  EXPECT_EQ(f.desktop.GetParent(w), 0u);
  EXPECT_EQ(f.desktop.GetClientRect(w), (Rect{0, 0, 348, 440}));
  // Outer 354 x 464 (3 px dialog frame, 18 px caption), centred on 1280 x 1024.
  EXPECT_EQ(form.WindowRect(), (Rect{463, 280, 817, 744}));

  f.desktop.SetTitle(w, "Renamed");
  EXPECT_EQ(form.Caption(), "Renamed") << "the window title is the caption";

  form.SetClientSize(348, 240);
  EXPECT_EQ(form.WindowRect(), (Rect{463, 380, 817, 644})) << "a centred form stays centred";
  form.SetWindowRect({10, 20, 364, 284});
  form.SetClientSize(348, 440);
  EXPECT_EQ(form.WindowRect(), (Rect{10, 20, 364, 484})) << "a placed form keeps its top-left";

  form.Show();
  EXPECT_TRUE(f.desktop.IsWindowVisible(w));
  EXPECT_EQ(f.desktop.Foreground(), w);
  form.SetStayOnTop(true);
  EXPECT_TRUE(form.StayOnTop());
  EXPECT_TRUE(f.desktop.GetExStyle(w) & kSimWsExTopmost);
  form.SetBorderIcons(true, false, true);
  EXPECT_EQ(f.desktop.GetStyle(w) & (WS_SYSMENU_ | WS_MINIMIZEBOX_ | WS_MAXIMIZEBOX_), WS_SYSMENU_ | WS_MAXIMIZEBOX_);
}

TEST(SimToolkitWindows, ControlsAreChildWindowsAtTheirBoundsAndWindowlessOnesHaveNoHandle) {
  Fixture f;
  TForm form(f.tk, "Form1");
  form.SetWindowRect({100, 100, 454, 564});  // client origin (103, 121)
  TPanel panel(f.tk, &form, "Panel1");
  panel.SetBounds(0, 104, 348, 140);
  TButton button(f.tk, &panel, "SetBtn");
  button.SetBounds(10, 20, 75, 25);
  TCheckBox check(f.tk, &panel, "Timing");
  TComboBox list(f.tk, &panel, "AutoPos", true);
  TEdit edit(f.tk, &panel, "EdSizeX");
  TLabel label(f.tk, &form, "Label1");
  TImage image(f.tk, &panel, "Image1");
  TSpeedButton speed(f.tk, &form, "GetBtn");

  EXPECT_EQ(label.Handle(), 0u);
  EXPECT_EQ(image.Handle(), 0u);
  EXPECT_EQ(speed.Handle(), 0u);
  const std::vector<std::pair<const TControl*, std::string>> windowed = {
      {&panel, "TPanel"}, {&button, "TButton"}, {&check, "TCheckBox"}, {&list, "TComboBox"}, {&edit, "TEdit"}};
  for (const auto& [control, class_name] : windowed) {
    SCOPED_TRACE(control->Name());
    ASSERT_NE(control->Handle(), 0u);
    EXPECT_EQ(f.desktop.GetClassName(control->Handle()), class_name);
    EXPECT_TRUE(f.desktop.GetStyle(control->Handle()) & WS_CHILD_);
  }
  EXPECT_EQ(f.desktop.GetParent(panel.Handle()), form.Handle());
  EXPECT_EQ(f.desktop.GetParent(button.Handle()), panel.Handle());
  EXPECT_EQ(f.desktop.GetWindowRect(panel.Handle()), (Rect{103, 225, 451, 365}));
  EXPECT_EQ(f.desktop.GetWindowRect(button.Handle()), (Rect{113, 245, 188, 270}));
  EXPECT_EQ(button.Left(), 10);
  EXPECT_EQ(button.Width(), 75);

  form.Show();
  EXPECT_EQ(f.desktop.WindowFromPoint({120, 250}), button.Handle());
  button.SetVisible(false);
  EXPECT_FALSE(f.desktop.IsWindowVisible(button.Handle()));
  EXPECT_EQ(f.desktop.WindowFromPoint({120, 250}), panel.Handle());

  // Windowless controls are found through the window they paint on.
  image.SetBounds(200, 10, 30, 30);
  EXPECT_EQ(f.tk.ControlAt({103 + 210, 225 + 20}), f.tk.Find("Image1"));
  EXPECT_EQ(f.tk.ControlAt({103 + 100, 225 + 20}), f.tk.Find("Panel1"));
  EXPECT_EQ(f.tk.Find("Image1")->ClientToScreen({1, 2}), (Point{304, 237}));
}

class Recorder {
 public:
  std::vector<std::string> log;
  auto Note(std::string what) {
    return [this, what] { log.push_back(what); };
  }
};

TEST(SimToolkitDrivers, ClicksSelectionTypingAndRefusedInput) {
  Fixture f;
  Recorder rec;
  TForm form(f.tk, "Form1");
  TCheckBox check(f.tk, &form, "Timing");
  TButton set(f.tk, &form, "SetBtn");
  TComboBox list(f.tk, &form, "AutoPos", true);
  TEdit edit(f.tk, &form, "EdSizeX");
  TSpeedButton toggle(f.tk, &form, "WListBtn");
  toggle.SetStyle(true, 1, true);
  check.OnClick = [&] { rec.log.push_back(check.Checked() ? "checked" : "unchecked"); };
  set.OnClick = rec.Note("set");
  list.OnChange = [&] { rec.log.push_back("change " + list.Text()); };
  list.OnSelect = rec.Note("select");
  list.OnCloseUp = rec.Note("closeup");
  edit.OnChange = [&] { rec.log.push_back("edit " + edit.Text()); };
  list.SetItems({"標準", "センタリング"});
  list.SetItemIndex(0);

  EXPECT_TRUE(f.tk.Click("Timing"));
  EXPECT_TRUE(f.tk.Click("Timing"));
  set.SetEnabled(false);
  EXPECT_FALSE(f.tk.Click("SetBtn"));
  set.SetEnabled(true);
  form.SetEnabled(false);
  EXPECT_FALSE(f.tk.Click("SetBtn")) << "a disabled form disables its controls";
  form.SetEnabled(true);
  EXPECT_TRUE(f.tk.Click("SetBtn"));
  EXPECT_TRUE(f.tk.Select("AutoPos", 1));
  EXPECT_FALSE(f.tk.Select("AutoPos", 2));
  EXPECT_TRUE(f.tk.TypeText("EdSizeX", "800"));
  EXPECT_FALSE(f.tk.TypeText("SetBtn", "x"));
  EXPECT_THROW(f.tk.Click("NoSuchControl"), std::out_of_range);

  const std::vector<std::string> expected = {"checked", "unchecked", "set", "change センタリング", "select",
                                             "closeup", "edit 800"};
  EXPECT_EQ(rec.log, expected);
  EXPECT_EQ(list.ItemIndex(), 1);

  list.SetItemIndex(7);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.Text(), "");

  f.tk.Click("WListBtn");
  EXPECT_TRUE(toggle.Down());
  f.tk.Click("WListBtn");
  EXPECT_FALSE(toggle.Down()) << "all-up allowed";
}

TEST(SimToolkitDrivers, ScreenMouseFollowsTheCapture) {
  Fixture f;
  TForm form(f.tk, "Form1");
  form.SetWindowRect({0, 0, 200, 200});  // client origin (3, 21)
  form.Show();
  TImage image(f.tk, &form, "Image1");
  image.SetBounds(10, 10, 30, 30);
  std::vector<std::string> log;
  image.OnMouseDown = [&](MouseButton, ShiftState, int x, int y) {
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    f.desktop.SetCapture(form.Handle());
  };
  form.OnMouseMove = [&](ShiftState s, int x, int y) {
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y) + (s.shift ? " shift" : ""));
  };
  form.OnMouseUp = [&](MouseButton, ShiftState, int x, int y) {
    log.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    f.desktop.ReleaseCapture();
  };

  f.tk.MouseDown("Image1", MouseButton::mbLeft, {}, {5, 5});
  EXPECT_EQ(f.desktop.CursorPos(), (Point{18, 36}));
  EXPECT_EQ(f.tk.MouseMoveOnScreen({503, 421}, {.shift = true}), f.tk.Find("Form1"));
  EXPECT_EQ(f.desktop.CursorPos(), (Point{503, 421}));
  f.tk.MouseUpOnScreen({503, 421});
  EXPECT_EQ(f.tk.MouseMoveOnScreen({503, 421}), nullptr) << "nothing of ours there once released";

  const std::vector<std::string> expected = {"down 5,5", "move 500,400 shift", "up 500,400"};
  EXPECT_EQ(log, expected);
}

TEST(SimToolkitMenus, ScriptedChoicesDirectChoicesAndSeparators) {
  Fixture f;
  TForm form(f.tk, "Form1");
  TPopupMenu menu(f.tk, "PopupMenu1");
  std::vector<std::string> log;
  menu.Add(f.tk, "TopChk", "常に前").OnClick = [&] { log.push_back("top"); };
  menu.Add(f.tk, "N1", "-");
  TMenuItem& about = menu.Add(f.tk, "About1", "バージョン情報...");
  about.OnClick = [&] { log.push_back("about"); };
  form.SetPopupMenu(&menu);

  f.tk.ScriptMenuChoice("About1");
  EXPECT_TRUE(f.tk.ContextMenu("Form1", {10, 20}));
  EXPECT_EQ(f.tk.LastPopupMenu(), "PopupMenu1");
  EXPECT_EQ(f.tk.LastPopupPoint(), f.tk.Find("Form1")->ClientToScreen({10, 20}));
  menu.Popup(5, 6);  // no choice scripted: closes without a click
  EXPECT_EQ(f.tk.PopupCount(), 2);
  EXPECT_EQ(f.tk.LastPopupPoint(), (Point{5, 6}));

  f.tk.ScriptMenuChoice("常に前");  // by caption
  menu.Popup(0, 0);
  EXPECT_FALSE(f.tk.ChooseMenuItem("N1"));
  about.SetEnabled(false);
  EXPECT_FALSE(f.tk.ChooseMenuItem("About1"));
  EXPECT_THROW(f.tk.ChooseMenuItem("Nothing"), std::out_of_range);

  EXPECT_EQ(log, (std::vector<std::string>{"about", "top"}));
  EXPECT_EQ(f.tk.FindPopupMenu("PopupMenu1")->Items().Captions(),
            (std::vector<std::string>{"常に前", "-", "バージョン情報..."}));
}

TEST(SimToolkitRegistry, QualifiedNamesScreenApplicationAndClosing) {
  Fixture f;
  TApplication app(f.tk);
  TScreen screen(f.tk);
  auto main = std::make_unique<TForm>(f.tk, "Form1");
  TForm editor(f.tk, "Form4");
  TLabel main_label(f.tk, main.get(), "Label1");
  TLabel editor_label(f.tk, &editor, "Label1");
  bool closed = false;
  editor.OnClose = [&] { closed = true; };

  EXPECT_EQ(static_cast<ControlPeer*>(f.tk.Find("Label1")), &main_label.TControl::Peer());
  EXPECT_EQ(static_cast<ControlPeer*>(f.tk.Find("Form4.Label1")), &editor_label.TControl::Peer());
  EXPECT_EQ(static_cast<ControlPeer*>(f.tk.FindByHandle(editor.Handle())), &editor.TControl::Peer());

  screen.RegisterCursor(5, "MYCURSOR");
  screen.SetCursor(5);
  EXPECT_EQ(f.tk.Screen().CursorResource(5), "MYCURSOR");
  EXPECT_EQ(f.tk.Screen().CursorResource(6), "");
  EXPECT_EQ(screen.Cursor(), 5);

  editor.Show();
  EXPECT_TRUE(f.tk.CloseForm("Form4"));
  EXPECT_TRUE(closed);
  EXPECT_FALSE(editor.Visible());
  EXPECT_FALSE(f.tk.Application().Terminated()) << "only the main form ends the application";
  main->Close();
  EXPECT_TRUE(f.tk.Application().Terminated());

  const WindowHandle w = main->Handle();
  main.reset();
  EXPECT_FALSE(f.desktop.Exists(w)) << "a peer takes its window with it";
  EXPECT_EQ(f.tk.Find("Form1"), nullptr);
}

// Makes every control a label, so that a facade of another kind finds its
// peer without the interface the kind needs.
class LabelsOnly : public UiToolkit {
 public:
  explicit LabelsOnly(SimToolkit& tk) : tk_(tk) {}
  std::unique_ptr<ControlPeer> CreateControl(ControlKind, ControlPeer* parent, PeerEvents& events,
                                             const std::string& name) override {
    return tk_.CreateControl(ControlKind::Label, parent, events, name);
  }
  std::unique_ptr<MenuItemPeer> CreateMenuItem(MenuItemEvents& events, const std::string& name) override {
    return tk_.CreateMenuItem(events, name);
  }
  std::unique_ptr<PopupMenuPeer> CreatePopupMenu(const std::string& name) override { return tk_.CreatePopupMenu(name); }
  ScreenPeer& Screen() override { return tk_.Screen(); }
  ApplicationPeer& Application() override { return tk_.Application(); }

 private:
  SimToolkit& tk_;
};

std::string LogicErrorOf(const std::function<void()>& make) {
  try {
    make();
  } catch (const std::logic_error& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

TEST(SimToolkitRegistry, KindLookupsAndPeersOfTheWrongKindAreRefused) {
  Fixture f;
  TForm form(f.tk, "Form1");
  TLabel label(f.tk, &form, "Label1");
  TEdit edit(f.tk, &form, "Edit1");
  edit.SetText("abc");
  f.tk.Get<SimEditPeer>("Edit1").SetSel(1, 2);
  EXPECT_EQ(edit.SelStart(), 1);
  EXPECT_EQ(edit.SelLength(), 2);
  EXPECT_THROW(f.tk.Get<SimEditPeer>("Label1"), std::out_of_range);
  EXPECT_THROW(f.tk.Get<SimEditPeer>("Edit2"), std::out_of_range);
  EXPECT_EQ(LogicErrorOf([&] { PeerAs<EditPeer>(label.TControl::Peer()); }),
            "control Label1 lacks the interface its kind needs");

  LabelsOnly labels(f.tk);
  PeerEvents events;
  EXPECT_EQ(LogicErrorOf([&] { TEdit wrong(labels, &form, "Edit3"); }), "control Edit3 lacks the interface its kind needs");
  EXPECT_EQ(LogicErrorOf([&] { labels.Create<GridPeer>(ControlKind::ValueListEditor, nullptr, events, "Grid1"); }),
            "control Grid1 lacks the interface its kind needs");
  EXPECT_EQ(f.tk.Find("Edit3"), nullptr) << "the refused control's peer is gone";
  EXPECT_EQ(f.tk.Find("Grid1"), nullptr);
}

}  // namespace
}  // namespace wakumo
