// Number fields and their spinners: drawing, typed text confined on reading,
// arrow keys, a held arrow button and the slider strip.
#include <set>
#include <string>
#include <vector>

#include "context.h"
#include "form_ops.h"

namespace e2e {

namespace {

const wchar_t* const kSpinners[] = {L"SizeX", L"SizeY", L"BaseX", L"BaseY"};
const wchar_t* const kFields[] = {L"EdSizeX", L"EdSizeY", L"EdBaseX", L"EdBaseY"};

// A drawn arrow button: a bevel (several colours) and, away from its edges,
// an arrow that is not the button face.
struct PartLook {
  int colours = 0;
  int inner_marks = 0;
  std::string Text() const { return Format("%d colours, %d non-face pixels inside", colours, inner_marks); }
};

PartLook LookAt(HWND part) {
  const RECT r = WindowRect(part);
  const ScreenArea a = ScreenArea::Capture(r);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  std::set<COLORREF> colours;
  PartLook look;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF px = a.At(x, y);
      colours.insert(px);
      if (x >= r.left + 2 && x < r.right - 2 && y >= r.top + 2 && y < r.bottom - 2 && px != face)
        ++look.inner_marks;
    }
  look.colours = static_cast<int>(colours.size());
  return look;
}

int Number(const std::wstring& text) {
  try {
    size_t used = 0;
    const int v = std::stoi(text, &used);
    if (used == text.size()) return v;
  } catch (const std::exception&) {
  }
  Fail("the field shows " + Quoted(text) + ", not a whole number");
}

std::string Sequence(const std::vector<std::wstring>& seen) {
  std::string out;
  for (const auto& s : seen) out += (out.empty() ? "" : ", ") + Utf8(s);
  return out;
}

// Waits until the field's text has stayed the same for `quiet_ms`.
std::wstring SettledText(const Context& c, const wchar_t* field, int quiet_ms, int timeout_ms) {
  std::wstring last = FieldText(c, field);
  ULONGLONG since = GetTickCount64();
  std::vector<std::wstring> seen{last};
  const bool settled = PollUntil([&] {
    const std::wstring now = FieldText(c, field);
    if (now != last) {
      last = now;
      since = GetTickCount64();
      seen.push_back(now);
    }
    return GetTickCount64() - since >= static_cast<ULONGLONG>(quiet_ms);
  }, timeout_ms);
  if (!settled) Fail(Utf8(field) + " keeps changing: " + Sequence(seen));
  return last;
}

}  // namespace

void CaseSpinnersDrawn(Context& c) {
  for (size_t i = 0; i < 4; ++i) {
    const std::wstring name = kSpinners[i];
    const RECT field = WindowRect(Ctl(c, kFields[i])), spinner = WindowRect(Ctl(c, name.c_str()));
    if (spinner.left != field.right || spinner.top != field.top || spinner.bottom != field.bottom)
      Fail(Utf8(name) + " " + RectText(spinner) + " does not sit flush right of " + Utf8(kFields[i]) +
           " " + RectText(field));
    for (const wchar_t* part : {L"Up", L"Down"}) {
      const std::wstring part_name = name + part;
      const HWND h = Ctl(c, part_name.c_str());
      PartLook look;
      if (!PollUntil([&] {
            look = LookAt(h);
            return look.colours >= 3 && look.inner_marks >= 3;
          }, kTextDeadlineMs))
        Fail(Utf8(part_name) + " " + RectText(WindowRect(h)) + " looks undrawn: " + look.Text());
    }
  }
  const RECT main = WindowRect(c.wakumo.main());
  SaveScreenshot(c, "main_window_spinners.png", &main);
}

void CaseTypedNumberConfinedOnRead(Context& c) {
  TypeInto(c, L"EdSizeX", "12345");
  // Moving the focus on reads no position: the typed text stays.
  const HWND other = Ctl(c, L"EdSizeY");
  ClickControl(c, L"EdSizeY");
  if (!PollUntil([&] { return FocusOf(c) == other; }, kTextDeadlineMs))
    Fail("EdSizeY did not get the focus from a click");
  if (FieldText(c, L"EdSizeX") != L"12345")
    Fail("with the focus moved on, EdSizeX shows " + Quoted(FieldText(c, L"EdSizeX")) + " instead of \"12345\"");
  // The up arrow reads the position (confined to 9999) and steps from there.
  ClickControl(c, L"SizeXUp");
  ExpectFieldText(c, L"EdSizeX", "9999", "after a click on SizeXUp");
  if (FocusOf(c) != Ctl(c, L"EdSizeX")) Fail("a click on SizeXUp did not give EdSizeX the focus");
  ClickControl(c, L"SizeXUp");
  const std::wstring after = SettledText(c, L"EdSizeX", 150, kTextDeadlineMs);
  if (after != L"9999") Fail("a second click on SizeXUp at the maximum gives " + Quoted(after));
}

void CaseArrowKeysStepOnlyFocused(Context& c) {
  TypeInto(c, L"EdSizeX", "500");
  std::wstring before[4];
  for (int i = 1; i < 4; ++i) before[i] = FieldText(c, kFields[i]);
  auto others_unchanged = [&](const std::string& what) {
    for (int i = 1; i < 4; ++i)
      if (FieldText(c, kFields[i]) != before[i])
        Fail(what + ": " + Utf8(kFields[i]) + " changed from " + Quoted(before[i]) + " to " +
             Quoted(FieldText(c, kFields[i])));
  };
  c.input->Keys("Up");
  ExpectFieldText(c, L"EdSizeX", "501", "after Up in EdSizeX");
  others_unchanged("after Up in EdSizeX");
  // The spinner's write leaves the caret at the start; Down then reaching
  // the single-line field moves it one right. Were the key swallowed, the
  // caret would stay where the write left it.
  c.input->Keys("Down");
  ExpectFieldText(c, L"EdSizeX", "500", "after Down in EdSizeX");
  others_unchanged("after Down in EdSizeX");
  const HWND field = Ctl(c, L"EdSizeX");
  std::pair<int, int> sel;
  if (!PollUntil([&] { sel = FieldSelection(field); return sel.first == 1 && sel.second == 1; }, 1000))
    Fail(Format("after Down the caret of EdSizeX is at %d..%d; expected 1..1 (the key reached the "
                "field after the spinner rewrote it)", sel.first, sel.second));
}

void CaseHeldUpArrowRepeats(Context& c) {
  TypeInto(c, L"EdSizeX", "10");
  c.input->MoveTo(Centre(WindowRect(Ctl(c, L"SizeXUp"))));
  std::vector<std::wstring> seen;
  {
    LeftButtonGuard button(*c.input);
    button.Press();
    std::wstring first;
    if (!PollUntil([&] { return (first = FieldText(c, L"EdSizeX")) != L"10"; }, kTextDeadlineMs))
      Fail("pressing SizeXUp left EdSizeX at \"10\"");
    if (first != L"11") Fail("the press on SizeXUp gave " + Quoted(first) + " first, not \"11\"");
    seen.push_back(first);
    int last = 11;
    if (!PollUntil([&] {
          const std::wstring now = FieldText(c, L"EdSizeX");
          if (now != seen.back()) {
            seen.push_back(now);
            const int v = Number(now);
            if (v <= last) Fail("while held, EdSizeX went " + Sequence(seen));
            last = v;
          }
          return last > 12;
        }, 4000))
      Fail("holding SizeXUp for 4 s counted only " + Sequence(seen));
    button.Release();
  }
  // Once let go, the count stops.
  const std::wstring stopped = SettledText(c, L"EdSizeX", 300, 3000);
  Log("  held SizeXUp: " + Sequence(seen) + "; stopped at " + Utf8(stopped));
  if (Number(stopped) < 13) Fail("after the release EdSizeX shows " + Quoted(stopped));
}

void CaseSliderDragUp(Context& c) {
  TypeInto(c, L"EdSizeX", "100");
  const RECT up = WindowRect(Ctl(c, L"SizeXUp")), down = WindowRect(Ctl(c, L"SizeXDown"));
  const HWND slider = Ctl(c, L"SizeXSlider");
  if (up.bottom >= down.top)
    Fail("no slider strip between SizeXUp " + RectText(up) + " and SizeXDown " + RectText(down));
  const POINT start{(up.left + up.right) / 2, (up.bottom + down.top) / 2};
  const HWND hit = WindowFromPoint(start);
  if (hit != slider)
    Fail(Format("the strip's middle (%ld, %ld) hits %s, not SizeXSlider", start.x, start.y,
                Quoted(ClassName(hit)).c_str()));
  c.input->MoveTo(start);
  LeftButtonGuard button(*c.input);
  button.Press();
  c.input->MoveInSteps({start.x, start.y - 5}, 1);
  ExpectFieldText(c, L"EdSizeX", "105", "5 px up from the press");
  c.input->MoveInSteps({start.x, start.y + 3}, 1);
  ExpectFieldText(c, L"EdSizeX", "97", "3 px below the press");
  button.Release();
  const std::wstring after = SettledText(c, L"EdSizeX", 150, kTextDeadlineMs);
  if (after != L"97") Fail("after the release EdSizeX shows " + Quoted(after));
}

}  // namespace e2e
