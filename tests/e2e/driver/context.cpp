#include "context.h"

namespace e2e {

HWND Ctl(const Context& c, const wchar_t* name) {
  HWND h = c.wakumo.Control(name);
  if (!h) Fail("no control named " + Quoted(name) + "; found: " + c.wakumo.ControlNames());
  return h;
}

std::string Shown::Text() const {
  return "Label1 " + Quoted(label1) + ", Label2 " + Quoted(label2) + ", CurSize " + Quoted(cur_size);
}

Shown ReadShown(const Context& c) {
  return {WindowText(c.label1), WindowText(c.label2), WindowText(c.cur_size)};
}

void ExpectShown(const Context& c, const std::wstring& label1, const std::wstring& label2,
                 const std::string& cur_size, const std::string& what) {
  Shown s;
  if (!PollUntil([&] {
        s = ReadShown(c);
        return s.label1 == label1 && s.label2 == label2 && Utf8(s.cur_size) == cur_size;
      }, kTextDeadlineMs))
    Fail(what + ": shows " + s.Text() + "; expected Label1 " + Quoted(label1) + ", Label2 " +
         Quoted(label2) + ", CurSize \"" + cur_size + "\"");
}

POINT ScreenPoint(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ClientToScreen(hwnd, &p);
  return p;
}

POINT SizableEmptySpot(const Context& c) {
  RECT rc;
  GetClientRect(c.t.sizable, &rc);
  return ScreenPoint(c.t.sizable, 150, rc.bottom - 30);
}

POINT EditSpot(const Context& c) { return Centre(WindowRect(c.t.edit)); }

void EnsureForeground(const Context& c) {
  const HWND main = c.wakumo.main();
  if (PollUntil([&] { return GetForegroundWindow() == main; }, 500)) return;
  SetForegroundWindow(main);
  PollUntil([&] { return GetForegroundWindow() == main; }, 2000);
}

Pick::Pick(const Context& c) : c_(c), button_(*c.input) {
  c.input->MoveTo(Centre(WindowRect(c.image1)));
  button_.Press();
  if (!PollUntil([&] { return CaptureOf(c.wakumo.thread_id()) != nullptr; }, kTextDeadlineMs)) {
    const POINT p = CursorPos();
    Fail(Format("no mouse capture in Wakumo after the press on Image1 %s; pointer at (%ld, %ld) "
                "over %s, foreground %s",
                RectText(WindowRect(c.image1)).c_str(), p.x, p.y,
                Quoted(ClassName(WindowFromPoint(p))).c_str(),
                Quoted(ClassName(GetForegroundWindow())).c_str()));
  }
}

void Pick::MoveTo(POINT p) { c_.input->MoveInSteps(p, 24); }

void Pick::Release() {
  button_.Release();
  if (!PollUntil([&] { return CaptureOf(c_.wakumo.thread_id()) == nullptr; }, kTextDeadlineMs))
    Fail(Format("Wakumo still holds the mouse capture (window %p) after the release",
                static_cast<void*>(CaptureOf(c_.wakumo.thread_id()))));
}

void SaveScreenshot(const Context& c, const std::string& file, const RECT* crop) {
  if (!c.shell->Available()) return;
  std::string geometry;
  if (crop)
    geometry = Format(" -crop %ldx%ld+%ld+%ld +repage", crop->right - crop->left,
                      crop->bottom - crop->top, crop->left, crop->top);
  const std::string path = c.opt.out_unix + "/" + file;
  const int rc = c.shell->Run("import -window root" + geometry + " " + ShellQuoted(path), 30000);
  Log(rc == 0 ? "screenshot: " + path : Format("screenshot %s failed (status %d)", path.c_str(), rc));
}

}  // namespace e2e
