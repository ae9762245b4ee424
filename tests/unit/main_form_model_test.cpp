// A randomized model test of the main window: long seeded runs of user
// actions on a simulated desktop whose windows come, go and move meanwhile,
// with the invariants checked after every step. A failure prints the seed,
// the step and the last actions; replay it with
// WAKUMO_MODEL_SEED=<seed> WAKUMO_MODEL_STEPS=<steps>.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <algorithm>
#include <deque>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/frame_window.h"
#include "form_fixture.h"
#include "presets_fixture.h"
#include "presets/preset_menus.h"
#include "presets/settings.h"

namespace wakumo::testing {
namespace {

constexpr unsigned kDefaultSeed = 1;
constexpr long kDefaultSteps = 5000;
constexpr std::size_t kTailLength = 20;

long EnvNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  return end != nullptr && *end == '\0' && v >= 0 ? v : fallback;
}

// What the undo history must hold: the outer rectangle each change replaced,
// newest last. A window gone by the time of its change has no rectangle.
struct UndoEntry {
  WindowHandle window = 0;
  std::optional<Rect> rect;
};

// Everything of the main window that the settings file keeps.
struct KeptState {
  std::vector<std::pair<std::string, std::string>> sizes;
  std::vector<std::pair<std::string, std::string>> bases;
  std::vector<std::string> shortcut_names;
  std::vector<NamedShortCut> shortcuts;
  bool timing = false;
  bool to_front = false;
  bool base = false;
  std::optional<std::string> base_x;  // unset when the field shows no number it keeps
  std::optional<std::string> base_y;
  bool on_top = false;
  bool save_pos = false;
  std::optional<Point> win_pos;
  bool list_sort = false;
};

enum class When { kIdle, kPicking, kAlways };

class MainFormModelTest : public PresetsFixture {
 protected:
  struct Action {
    const char* name;
    int weight;
    When when;
    std::function<void()> run;
  };

  MainFormModelTest() : seed_(static_cast<unsigned>(EnvNumber("WAKUMO_MODEL_SEED", kDefaultSeed))), rng_(seed_) {
    Start();
    for (int i = 0; i < 6; ++i) CreateWindow();
    CreateMdi();
  }

  // ---------------------------------------------------------------- randomness

  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(int percent) { return Uniform(1, 100) <= percent; }
  template <typename T>
  const T& OneOf(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(Uniform(0, static_cast<int>(v.size()) - 1))];
  }

  // Numbers as a user types or pastes them: fitting, out of range, broken.
  std::string NumberText() {
    static const std::vector<std::string> odd = {
        "", "abc", " 4a2 ", "12.6", "-0.5", "1e3", "+5", "--5", "-", "0x10", "99999999999999999999",
        "１２３", "1,024", "  ", "9999", "-9999", "10000", "-10000", "0", "1"};
    switch (Uniform(0, 3)) {
      case 0: return std::to_string(Uniform(1, 2000));
      case 1: return std::to_string(Uniform(-12000, 12000));
      case 2: return std::to_string(Uniform(-30000, 30000) * 7);
      default: return OneOf(odd);
    }
  }
  // Keys typed into the list editor: mostly well-formed, sometimes no numbers
  // at all (the file leaves those out).
  std::string PresetKey(bool size) {
    if (Chance(85)) {
      return size ? std::to_string(Uniform(1, 3000)) + " x " + std::to_string(Uniform(1, 3000))
                  : std::to_string(Uniform(-3000, 3000)) + " , " + std::to_string(Uniform(-3000, 3000));
    }
    return OneOf(NoNumbers());
  }
  static const std::vector<std::string>& NoNumbers() {
    static const std::vector<std::string> keys = {"abc", "", "a=b"};
    return keys;
  }
  static bool GivesNoNumbers(const std::string& caption) {
    return std::find(NoNumbers().begin(), NoNumbers().end(), caption) != NoNumbers().end();
  }
  std::string Name() {
    static const std::vector<std::string> names = {"", "A", "b", "B", "Small", "大画面", "テスト", "x y",
                                                   "a=b", ";x", "x;"};
    return OneOf(names);
  }

  // ---------------------------------------------------------------- the desktop

  void AddWindow(const SimWindowSpec& window) {
    if (const WindowHandle w = desk.Create(window); w != 0) windows_.push_back(w);
  }
  Rect RandomRect(int max_w, int max_h, int area_w, int area_h) {
    const int w = Uniform(40, max_w);
    const int h = Uniform(30, max_h);
    const int x = Uniform(-100, area_w - 20);
    const int y = Uniform(-50, area_h - 20);
    return {x, y, x + w, y + h};
  }
  // A top-level window of a random kind, with up to two child controls.
  void CreateWindow() {
    static const std::vector<std::pair<const char*, std::uint32_t>> kinds = {
        {"Notepad", kOverlapped},
        {"Fixed", WS_CAPTION_ | WS_SYSMENU_},
        {"Splash", WS_POPUP_ | WS_THICKFRAME_},
        {"Tip", WS_POPUP_},
        {"#32770", WS_CAPTION_ | WS_SYSMENU_},
    };
    const auto& [cls, style] = OneOf(kinds);
    const std::uint32_t ex = std::string(cls) == "#32770" ? WS_EX_DLGMODALFRAME_ : 0;
    const Rect r = RandomRect(900, 700, 1280, 1024);
    const WindowHandle top = desk.Create({.class_name = cls, .title = "w" + std::to_string(++made_), .style = style,
                                          .ex_style = ex, .rect = r});
    windows_.push_back(top);
    for (int i = Uniform(0, 2); i > 0; --i) {
      AddWindow({.class_name = "Edit", .style = WS_CHILD_, .parent = top,
                 .rect = RandomRect(r.Width(), r.Height(), r.Width(), r.Height())});
    }
  }
  // A container with a document window or two.
  void CreateMdi() {
    const Rect r = RandomRect(1000, 800, 1100, 900);
    const WindowHandle frame = desk.Create({.class_name = "MDIFrame", .title = "mdi" + std::to_string(++made_),
                                            .style = kOverlapped, .rect = r});
    windows_.push_back(frame);
    const WindowHandle client = desk.Create(
        {.class_name = "MDIClient", .style = WS_CHILD_, .parent = frame, .rect = {0, 0, r.Width() - 8, r.Height() - 30}});
    windows_.push_back(client);
    for (int i = Uniform(1, 2); i > 0; --i) {
      AddWindow({.class_name = "Doc", .title = "doc", .style = WS_CHILD_ | kOverlapped, .parent = client,
                 .rect = RandomRect(500, 400, r.Width() - 8, r.Height() - 30)});
    }
  }
  std::vector<WindowHandle> Alive() {
    std::erase_if(windows_, [&](WindowHandle w) { return !desk.Exists(w); });
    return windows_;
  }
  std::vector<WindowHandle> AliveTopLevel() {
    std::vector<WindowHandle> out;
    for (const WindowHandle w : Alive()) {
      if (desk.ParentOf(w) == 0) out.push_back(w);
    }
    return out;
  }
  // Somewhere to point: mostly inside a window, sometimes on our own window
  // or on bare screen.
  Point SomePoint() {
    const std::vector<WindowHandle> alive = Alive();
    const int pick = Uniform(0, 99);
    if (pick < 65 && !alive.empty()) {
      const Rect r = desk.ScreenRect(OneOf(alive));
      if (r.Width() > 0 && r.Height() > 0) return {Uniform(r.left, r.right - 1), Uniform(r.top, r.bottom - 1)};
    }
    if (pick < 80) {
      const Rect r = desk.ScreenRect(form->Handle());
      return {Uniform(r.left, r.right - 1), Uniform(r.top, r.bottom - 1)};
    }
    return {Uniform(-200, 1400), Uniform(-200, 1200)};
  }

  // ---------------------------------------------------------------- the actions

  void Note(std::string text) { action_ = std::move(text); }
  static std::string At(Point p) { return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; }
  static const char* Field(int i) { return std::array{"EdSizeX", "EdSizeY", "EdBaseX", "EdBaseY"}[i]; }

  void Typed(const char* field) { typed_[field] = tk.Get(field).Caption(); }

  // Opens a menu from its button and chooses an entry, as the user does.
  void ChooseFrom(const char* button, const std::string& entry) {
    // A choice scripted for a menu that never opens would wait for the next one.
    if (!tk.Get(button).CanTakeInput()) return Note(std::string("menu ") + button + ": button disabled");
    tk.ScriptMenuChoice(entry);
    EXPECT_TRUE(tk.Click(button));
    Note(std::string("menu ") + button + " -> \"" + entry + "\"");
    EXPECT_EQ(tk.PendingMenuChoices(), 0u) << "the chosen entry " << entry << " was in the menu";
  }
  std::vector<std::string> PresetCaptions(const char* menu) {
    // Entries the user can tell apart by their caption.
    std::vector<std::string> c = MenuCaptions(menu);
    c.erase(c.begin(), c.begin() + static_cast<long>(kFixedPresetItems));
    std::erase_if(c, GivesNoNumbers);
    return c;
  }

  void EditLists() {
    // The list editor, played while it is open: a few edits, then O K or Cancel.
    std::string done;
    const auto before_sizes = Kept().sizes;
    const auto before_bases = Kept().bases;
    bool ok = false;
    std::vector<std::pair<std::string, std::string>> rows_sizes, rows_bases;
    tk.ScriptModal([&](SimControlPeer&) {
      for (int i = Uniform(0, 6); i > 0; --i) {
        const bool size = Chance(50);
        const std::string grid = size ? "Form4.SizeList" : "Form4.BaseList";
        const int rows = tk.Get<SimGridPeer>(grid).RowCount();
        const int row = rows > 0 ? Uniform(0, rows - 1) : 0;
        switch (Uniform(0, 4)) {
          case 0: tk.ClickCell(grid, row, Uniform(0, 1)); done += " click " + std::to_string(row); break;
          case 1: {
            const std::string key = PresetKey(size);
            tk.EditKey(grid, row, key);
            done += " key " + std::to_string(row) + "=\"" + key + "\"";
            break;
          }
          case 2: {
            const std::string value = Name();
            tk.EditValue(grid, row, value);
            done += " value " + std::to_string(row) + "=\"" + value + "\"";
            break;
          }
          default: {
            const char* button = OneOf(std::vector<const char*>{"SUpBtn", "SDwnBtn", "SDelBtn", "BUpBtn", "BDwnBtn", "BDelBtn"});
            tk.Click(std::string("Form4.") + button);
            done += std::string(" ") + button;
          }
        }
      }
      rows_sizes = GridRows("Form4.SizeList");
      rows_bases = GridRows("Form4.BaseList");
      ok = Chance(60);
      EXPECT_TRUE(tk.Click(ok ? "Form4.Button7" : "Form4.Button8"));
    });
    const std::size_t messages = Messages().size();
    ASSERT_TRUE(tk.ChooseMenuItem("mListEdit"));
    if (tk.PendingModalScripts() != 0) {
      Note("list editor refused to open");
      EXPECT_GT(Messages().size(), messages) << "a refusal says why";
      return;
    }
    Note(std::string("list editor:") + done + (ok ? " OK" : " Cancel"));
    EXPECT_EQ(Kept().sizes, ok ? rows_sizes : before_sizes) << "size presets after the list editor";
    EXPECT_EQ(Kept().bases, ok ? rows_bases : before_bases) << "position presets after the list editor";
  }
  std::vector<std::pair<std::string, std::string>> GridRows(const std::string& grid) {
    std::vector<std::pair<std::string, std::string>> out;
    SimGridPeer& g = tk.Get<SimGridPeer>(grid);
    for (int i = 0; i < g.RowCount(); ++i) {
      const std::vector<std::string> r = g.RowTexts(i);
      out.emplace_back(r.at(0), r.at(1));
    }
    return out;
  }

  void StepSpinner() {
    const int i = Uniform(0, 3);
    const std::string spinner = std::string(std::array{"SizeX", "SizeY", "BaseX", "BaseY"}[i]);
    const bool up = Chance(50);
    if (Chance(50)) {
      const std::string part = spinner + (up ? "Up" : "Down");
      const bool pressed = tk.MouseDown(part, MouseButton::mbLeft, {}, {5, 4});
      if (pressed) tk.MouseUp(part, MouseButton::mbLeft, {}, {5, 4});
      Note("click " + part + (pressed ? "" : " (refused)"));
    } else {
      const bool focused = tk.SetFocusTo(Field(i));
      if (focused) {
        platform.keyboard_hook.FeedKeyDown(up ? VK_UP_ : VK_DOWN_);
        platform.keyboard_hook.FeedKeyUp(up ? VK_UP_ : VK_DOWN_);
      }
      Note(std::string("key ") + (up ? "Up" : "Down") + " in " + Field(i) + (focused ? "" : " (refused)"));
    }
  }

  void Restart() {
    const KeptState before = Kept();
    Close();
    form.reset();
    messages_before_start_ = Messages().size();
    Start();
    desk.SetForeground(form->Handle());
    undo_.clear();
    typed_.clear();
    ++restarts_;
    Note("close and start again");
    const KeptState after = Kept();
    EXPECT_EQ(Messages().size(), messages_before_start_) << "the saved file reads without complaint";
    // Entries without numbers are left out of the file; with no sizes left
    // the built-in ones come back.
    auto kept = [](std::vector<std::pair<std::string, std::string>> presets) {
      std::erase_if(presets, [](const auto& p) { return GivesNoNumbers(p.first); });
      return presets;
    };
    std::vector<std::pair<std::string, std::string>> sizes = kept(before.sizes);
    if (sizes.empty()) {
      for (const NamedPreset& p : DefaultSizes()) sizes.emplace_back(p.caption, p.name);
    }
    EXPECT_EQ(after.sizes, sizes);
    EXPECT_EQ(after.bases, kept(before.bases));
    EXPECT_EQ(after.shortcuts, before.shortcuts);
    EXPECT_EQ(after.shortcut_names, before.shortcut_names);
    EXPECT_EQ(after.timing, before.timing);
    EXPECT_EQ(after.to_front, before.to_front);
    EXPECT_EQ(after.base, before.base);
    if (before.base_x) {
      EXPECT_EQ(after.base_x, before.base_x);
    }
    if (before.base_y) {
      EXPECT_EQ(after.base_y, before.base_y);
    }
    EXPECT_EQ(after.on_top, before.on_top);
    EXPECT_EQ(after.save_pos, before.save_pos);
    if (before.save_pos) {
      EXPECT_EQ(after.win_pos, before.win_pos);
    }
    EXPECT_EQ(after.list_sort, before.list_sort);
  }

  std::vector<Action> Actions() {
    return {
        {"press sight", 8, When::kIdle,
         [&] { Note(std::string("press Image1") + (tk.MouseDown("Image1", MouseButton::mbLeft, {}, {15, 15}) ? "" : " (refused)")); }},
        {"move", 30, When::kPicking,
         [&] {
           const Point p = SomePoint();
           const bool shift = Chance(35);
           tk.MouseMoveOnScreen(p, ShiftState{.shift = shift});
           Note("move " + At(p) + (shift ? " shift" : ""));
         }},
        {"release", 8, When::kPicking,
         [&] {
           const Point p = Chance(70) ? desk.CursorPos() : SomePoint();
           const bool shift = Chance(35);
           tk.MouseUpOnScreen(p, MouseButton::mbLeft, ShiftState{.shift = shift});
           Note("release " + At(p) + (shift ? " shift" : ""));
         }},
        {"type", 6, When::kIdle,
         [&] {
           const char* field = Field(Uniform(0, 3));
           const std::string text = NumberText();
           const bool done = tk.TypeText(field, text);
           if (done) Typed(field);
           Note(std::string("type ") + field + " \"" + text + "\"" + (done ? "" : " (refused)"));
         }},
        {"type keys", 3, When::kIdle,
         [&] {
           const char* field = Field(Uniform(0, 3));
           std::string text = NumberText();
           if (Chance(30)) text += Chance(50) ? "\b" : "\x16";  // backspace or Ctrl+V
           const bool done = tk.TypeChars(field, text);
           if (done) Typed(field);
           Note(std::string("keys ") + field + " \"" + text + "\"" + (done ? "" : " (refused)"));
         }},
        {"paste", 2, When::kIdle,
         [&] {
           const char* field = Field(Uniform(0, 3));
           const std::string text = NumberText() + (Chance(20) ? "\r\n5" : "");
           platform.clipboard.SetText(text);
           const bool done = tk.Paste(field);
           if (done) Typed(field);
           Note(std::string("paste ") + field + " \"" + text + "\"" + (done ? "" : " (refused)"));
         }},
        {"step", 6, When::kIdle, [&] { StepSpinner(); }},
        {"Set", 12, When::kIdle, [&] { Note(std::string("Set") + (tk.Click("SetBtn") ? "" : " (refused)")); }},
        {"Undo", 9, When::kIdle, [&] { Undo(); }},
        {"Get", 2, When::kIdle, [&] { Note(std::string("Get") + (tk.Click("GetBtn") ? "" : " (refused)")); }},
        {"box", 5, When::kIdle,
         [&] {
           const char* box = OneOf(std::vector<const char*>{"BaseChk", "BaseChk", "ClientChk", "FrontChk", "Timing"});
           if (std::string(box) == "Timing" && Chance(70)) box = "BaseChk";
           Note(std::string("click ") + box + (tk.Click(box) ? "" : " (refused)"));
         }},
        {"placement", 3, When::kIdle,
         [&] {
           const int i = Uniform(0, 5);
           Note("placement " + std::to_string(i) + (tk.Select("AutoPos", i) ? "" : " (refused)"));
         }},
        {"maximise size", 2, When::kIdle,
         [&] { ChooseFrom("WsBtn", OneOf(std::vector<std::string>{"mHVmax", "mVmax", "mHmax"})); }},
        {"size preset", 4, When::kIdle,
         [&] {
           const std::vector<std::string> presets = PresetCaptions("SizeList");
           const int pick = Uniform(0, static_cast<int>(presets.size()) + 2);
           ChooseFrom("SlstBtn", pick == 0 ? "mSadd" : pick == 1 || presets.empty() ? "mSinvert" : presets[static_cast<std::size_t>(pick - 2) % presets.size()]);
         }},
        {"position preset", 3, When::kIdle,
         [&] {
           const std::vector<std::string> presets = PresetCaptions("BaseList");
           const int pick = Uniform(0, static_cast<int>(presets.size()) + 2);
           ChooseFrom("BlstBtn", pick == 0 ? "mBadd" : pick == 1 || presets.empty() ? "mBinvert" : presets[static_cast<std::size_t>(pick - 2) % presets.size()]);
         }},
        {"swap by double click", 1, When::kIdle, [&] { Note(std::string("double click Label5") + (tk.DblClick("Label5") ? "" : " (refused)")); }},
        {"shortcut add/delete", 3, When::kIdle,
         [&] {
           const std::string name = Name();
           tk.TypeText("ComboBox1", name);
           const std::string entry = OneOf(std::vector<std::string>{"mSetAdd", "mSetAdd", "mSetDel", "mSetSort"});
           ChooseFrom("ScutBtn", entry);
           Note("shortcut \"" + name + "\" " + entry);
         }},
        {"shortcut choose", 3, When::kIdle,
         [&] {
           const int n = static_cast<int>(form->ComboBox1.Items().size());
           if (n == 0) return Note("shortcut choose: none");
           const int i = Uniform(0, n - 1);
           Note("choose shortcut " + std::to_string(i) + (tk.Select("ComboBox1", i) ? "" : " (refused)"));
         }},
        {"list editor", 2, When::kIdle, [&] { EditLists(); }},
        {"window list", 3, When::kIdle, [&] { Note(std::string("click WListBtn") + (tk.Click("WListBtn") ? "" : " (refused)")); }},
        {"window list row", 5, When::kIdle,
         [&] {
           const int rows = tk.Get<SimListViewPeer>("WinList").RowCount();
           const int row = Uniform(-1, rows - 1);
           Note("row " + std::to_string(row) + " of " + std::to_string(rows) + (tk.SelectRow("WinList", row) ? "" : " (refused)"));
         }},
        {"stay on top", 1, When::kIdle, [&] { Note(std::string("TopChk") + (tk.ChooseMenuItem("TopChk") ? "" : " (refused)")); }},
        {"save position", 1, When::kIdle, [&] { Note(std::string("mSavePos") + (tk.ChooseMenuItem("mSavePos") ? "" : " (refused)")); }},
        {"window closes", 2, When::kAlways,
         [&] {
           const std::vector<WindowHandle> alive = Alive();
           if (alive.empty()) return Note("close: no window");
           const WindowHandle w = OneOf(alive);
           desk.Destroy(w);
           Note("window " + std::to_string(w) + " closes");
         }},
        {"window moves", 3, When::kAlways,
         [&] {
           const std::vector<WindowHandle> top = AliveTopLevel();
           if (top.empty()) return Note("move: no window");
           const WindowHandle w = OneOf(top);
           const Rect r = RandomRect(900, 700, 1280, 1024);
           desk.SetRect(w, r);
           Note("window " + std::to_string(w) + " moves to " + At({r.left, r.top}) + " " + wakumo::SizeText(r));
         }},
        {"window maximised/restored", 1, When::kAlways,
         [&] {
           const std::vector<WindowHandle> top = AliveTopLevel();
           if (top.empty()) return Note("maximise: no window");
           const WindowHandle w = OneOf(top);
           const bool max = (desk.StyleOf(w) & WS_MAXIMIZE_) == 0;
           max ? desk.Maximise(w) : desk.Restore(w);
           Note("window " + std::to_string(w) + (max ? " maximised" : " restored"));
         }},
        {"window opens", 2, When::kAlways,
         [&] {
           // A desktop of a dozen windows or so: enough to cover each other.
           if (AliveTopLevel().size() >= 12) desk.Destroy(OneOf(AliveTopLevel()));
           Chance(20) ? CreateMdi() : CreateWindow();
           Note("window " + std::to_string(windows_.back()) + " opens");
         }},
        {"restart", 1, When::kIdle, [&] { Restart(); }},
    };
  }

  // ---------------------------------------------------------------- undo model

  struct Snapshot {
    std::map<WindowHandle, Rect> rects;     // outer, screen
    std::map<WindowHandle, Rect> restored;  // what a restore gives back
  };
  Snapshot Snap() {
    Snapshot s;
    for (const WindowHandle w : Alive()) {
      s.rects[w] = desk.ScreenRect(w);
      s.restored[w] = (desk.StyleOf(w) & WS_MAXIMIZE_) ? desk.RestoreRect(w) : desk.ScreenRect(w);
    }
    return s;
  }
  // Calls that changed windows of other programs.
  Calls ForeignCalls() {
    Calls out;
    for (const SetWindowPosCall& c : desk.SetWindowPosCalls()) {
      if (tk.FindByHandle(c.window) == nullptr) out.push_back(c);
    }
    return out;
  }

  void Undo() {
    const Snapshot before = Snap();
    desk.ClearLogs();
    const bool clicked = tk.Click("UndoBtn");
    if (!clicked) {
      Note("Undo (refused)");
      EXPECT_TRUE(undo_.empty()) << "Undo is refused only with nothing to undo";
      return;
    }
    undo_pressed_ = true;
    ++undos_;
    ASSERT_FALSE(undo_.empty()) << "Undo took a click with no change recorded";
    const UndoEntry e = undo_.back();
    undo_.pop_back();
    Note("Undo window " + std::to_string(e.window));
    const Calls calls = ForeignCalls();
    ASSERT_EQ(calls.size(), 1u) << "one change back";
    EXPECT_EQ(calls[0].window, e.window) << "the newest change goes back first";
    if (desk.Exists(e.window) && e.rect) {
      EXPECT_EQ(calls[0].cx, e.rect->Width());
      EXPECT_EQ(calls[0].cy, e.rect->Height());
      // A maximised window keeps its state; the others get the rectangle back.
      if ((desk.StyleOf(e.window) & WS_MAXIMIZE_) == 0) {
        EXPECT_EQ(desk.ScreenRect(e.window), *e.rect) << "restored exactly";
      }
    } else {
      // The window is gone: the record is used up and nothing else moves.
      ++undos_of_gone_;
      EXPECT_EQ(Snap().rects, before.rects);
    }
  }

  // After an action other than Undo: each change of another window is one
  // new record of what it replaced.
  void RecordChanges(const Snapshot& before) {
    if (undo_pressed_) return;
    const Calls calls = ForeignCalls();
    if (calls.empty()) return;
    const WindowHandle w = calls[0].window;
    const auto it = before.restored.find(w);
    ++changes_;
    undo_.push_back({w, it != before.restored.end() ? std::optional<Rect>(it->second) : std::nullopt});
  }

  // ---------------------------------------------------------------- invariants

  KeptState Kept() {
    KeptState k;
    auto presets = [&](const char* menu) {
      std::vector<std::pair<std::string, std::string>> out;
      const auto& items = tk.FindPopupMenu(menu)->Items().Items();
      for (std::size_t i = kFixedPresetItems; i < items.size(); ++i) out.emplace_back(items[i]->Caption(), items[i]->Hint());
      return out;
    };
    k.sizes = presets("SizeList");
    k.bases = presets("BaseList");
    k.shortcut_names = form->ComboBox1.Items();
    k.shortcuts = form->Shortcuts.Entries();
    k.timing = form->Timing.Checked();
    k.to_front = form->FrontChk.Checked();
    k.base = form->BaseChk.Checked();
    if (k.base) {
      k.base_x = KeptNumber("EdBaseX", kPosMin, kPosMax);
      k.base_y = KeptNumber("EdBaseY", kPosMin, kPosMax);
    }
    k.on_top = form->TopChk->Checked();
    k.save_pos = form->mSavePos->Checked();
    const Rect r = form->WindowRect();
    k.win_pos = Point{r.left, r.top};
    k.list_sort = form->mSetSort->Checked();
    return k;
  }
  // The field's text when it is a whole number in range, which is kept as shown.
  std::optional<std::string> KeptNumber(const char* field, int lo, int hi) {
    const std::string text = tk.Get(field).Caption();
    const std::optional<int> n = WholeNumber(text);
    if (!n || *n < lo || *n > hi) return std::nullopt;
    return text;
  }
  static std::optional<int> WholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size() || (text[i] == '0' && text.size() > i + 1)) return std::nullopt;
    for (std::size_t j = i; j < text.size(); ++j) {
      if (text[j] < '0' || text[j] > '9') return std::nullopt;
    }
    return std::stoi(text);
  }

  void CheckInvariants() {
    EXPECT_LE(desk.Outlines().size(), 1u) << "at most one outline on the screen";
    if (!form->Picking) {
      EXPECT_EQ(desk.Outlines().size(), 0u) << "no outline left without a pick";
    }
    EXPECT_EQ(form->UndoBtn.Enabled(), !undo_.empty()) << "Undo offered exactly while there is something to undo";
    for (int i = 0; i < 4; ++i) {
      const char* field = Field(i);
      const std::string text = tk.Get(field).Caption();
      // What the user typed shows until the program takes it in.
      if (const auto it = typed_.find(field); it != typed_.end() && it->second == text) continue;
      const bool size = i < 2;
      EXPECT_TRUE(KeptNumber(field, size ? kSizeMin : kPosMin, size ? kSizeMax : kPosMax).has_value())
          << field << " shows \"" << text << "\", not a number of its spinner's range";
    }
  }

  void PrintReplay(long step) {
    std::ostringstream out;
    out << "model: failed at step " << step << " of seed " << seed_ << "; replay with WAKUMO_MODEL_SEED=" << seed_
        << " WAKUMO_MODEL_STEPS=" << step + 1 << "\nlast actions:\n";
    for (const std::string& a : tail_) out << "  " << a << "\n";
    ADD_FAILURE() << out.str();
  }

  void Run(long steps) {
    const std::vector<Action> actions = Actions();
    long step = 0;
    for (; step < steps; ++step) {
      std::vector<int> weights;
      for (const Action& a : actions) {
        const bool fits = a.when == When::kAlways || (a.when == When::kPicking) == form->Picking;
        weights.push_back(fits ? a.weight : 0);
      }
      const Action& a = actions[static_cast<std::size_t>(std::discrete_distribution<int>(weights.begin(), weights.end())(rng_))];
      const Snapshot before = Snap();
      desk.ClearLogs();
      undo_pressed_ = false;
      action_ = a.name;
      a.run();
      tail_.push_back(std::to_string(step) + ": " + action_);
      if (tail_.size() > kTailLength) tail_.pop_front();
      RecordChanges(before);
      CheckInvariants();
      if (HasFailure()) break;
    }
    if (!HasFailure() && !form->Picking) Restart();
    if (HasFailure()) {
      PrintReplay(step);
      return;
    }
    std::cout << "model: " << steps << " steps, seed " << seed_ << " (" << changes_ << " changes, " << undos_
              << " undos, " << undos_of_gone_ << " of closed windows, " << restarts_ << " restarts)" << std::endl;
  }

  unsigned seed_;
  std::mt19937 rng_;
  std::vector<WindowHandle> windows_;
  int made_ = 0;
  std::vector<UndoEntry> undo_;
  bool undo_pressed_ = false;
  // Each field's text as the user last left it by typing or pasting.
  std::map<std::string, std::string> typed_;
  std::string action_;
  std::deque<std::string> tail_;
  std::size_t messages_before_start_ = 0;
  int changes_ = 0;
  int undos_ = 0;
  int undos_of_gone_ = 0;
  int restarts_ = 0;
};

TEST_F(MainFormModelTest, RandomUserSessionsKeepTheInvariants) {
  desk.SetForeground(form->Handle());
  Run(EnvNumber("WAKUMO_MODEL_STEPS", kDefaultSteps));
}

}  // namespace
}  // namespace wakumo::testing
