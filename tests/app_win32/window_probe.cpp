// Reads the running native window from outside, as a test sees it:
//   window_probe layout       the window's size and title, and every
//                             control's rectangle and caption, against the
//                             design's own numbers and words
//   window_probe text NAME    the text a control shows now (UTF-8)
//   window_probe box          the text of the open message box, if any
//   window_probe where NAME   the middle of a control, in the window's client
//                             area, for a click there
//   window_probe item N       the middle of the list's row N (past the last
//                             item too), in the window's client area
//   window_probe items        the user list's rows, one a line (UTF-8)
//   window_probe rows         the height of the list's rows, then the height
//                             of the design's font as this machine maps it
//   window_probe focus        the name of the control that has the focus
//                             ("Form1" for the window itself)
//   window_probe style NAME   what the control's native style shows:
//                             "hscroll", "vscroll", "right", "tabstop",
//                             "password C" (an edit box's masking character)
// Exit status 0 when it found what it was asked for.
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "app_win32/tform1_controls.h"
#include "platform/windows_text.h"
#include "support/designed_window.h"

namespace dayledger {
namespace {

constexpr int kFirstControlId = 100;  // the window numbers its controls in table order

HWND Form() { return ::FindWindowW(L"DayledgerTForm1", nullptr); }

// Asked of the control itself: GetWindowText reads only the caption a
// window of another process was created with, not what an edit box holds.
std::string TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return Narrow(text, CP_UTF8);
}

HWND ControlNamed(HWND form, const std::string& name) {
  int id = kFirstControlId;
  for (const ControlLayout& layout : kTForm1Controls) {
    if (!*layout.parent) continue;
    if (name == layout.name) return ::GetDlgItem(form, id);
    ++id;
  }
  return nullptr;
}

const DesignedControl* DesignOf(const std::string& name) {
  for (const DesignedControl& control : kDesign) {
    if (name == control.name) return &control;
  }
  return nullptr;
}

int Layout(HWND form) {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  auto scaled = [&](int v) { return ::MulDiv(v, dpi, 96); };
  int wrong = 0;
  RECT client{};
  ::GetClientRect(form, &client);
  if (client.right != scaled(kDesignedWidth) || client.bottom != scaled(kDesignedHeight)) {
    std::printf("Form1: client %ldx%ld\n", client.right, client.bottom);
    ++wrong;
  }
  if (TextOf(form) != kDesignedTitle) {
    std::printf("Form1: title %s\n", TextOf(form).c_str());
    ++wrong;
  }
  for (const DesignedControl& layout : kDesign) {
    const HWND control = ControlNamed(form, layout.name);
    if (!control) {
      std::printf("%s: missing\n", layout.name);
      ++wrong;
      continue;
    }
    POINT at{layout.x, layout.y};
    for (const DesignedControl* p = DesignOf(layout.parent); p; p = DesignOf(p->parent)) {
      at.x += p->x;
      at.y += p->y;
    }
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&rect), 2);
    const std::string kind = layout.kind;
    // Labels may grow to their whole text; the rest keep the design's size.
    const bool grows = kind == "label";
    const long width = rect.right - rect.left, height = rect.bottom - rect.top;
    const long want_width = scaled(layout.width), want_height = scaled(layout.height);
    if (rect.left != scaled(at.x) || rect.top != scaled(at.y) ||
        (grows ? width < want_width || height < want_height
               : width != want_width || height != want_height)) {
      std::printf("%s: at %ld,%ld size %ldx%ld\n", layout.name, rect.left, rect.top, width, height);
      ++wrong;
    }
    // The value labels show the selected user, not their design texts.
    const std::string name = layout.name;
    const bool shows_data = name == "Label9" || name == "Label10" || name == "Label11";
    if (!shows_data && kind != "list box" && kind != "file list box" && kind != "multi-line edit" &&
        kind != "single-line edit" && TextOf(control) != layout.text) {
      std::printf("%s: caption %s\n", layout.name, TextOf(control).c_str());
      ++wrong;
    }
  }
  // The window makes one control for each row of its table, the window's own aside.
  if (std::size(kTForm1Controls) != std::size(kDesign) + 1) {
    std::printf("the window makes %zu controls, the design has %zu\n",
                std::size(kTForm1Controls) - 1, std::size(kDesign));
    ++wrong;
  }
  std::printf("%d controls differ from the design\n", wrong);
  return wrong == 0 ? 0 : 1;
}

BOOL CALLBACK AppendStatic(HWND child, LPARAM out) {
  wchar_t kind[32] = {};
  ::GetClassNameW(child, kind, 32);
  // The message text is the box's static control that holds text.
  if (std::wstring(kind) == L"Static" && ::GetWindowTextLengthW(child) > 0) {
    *reinterpret_cast<std::string*>(out) += TextOf(child);
  }
  return TRUE;
}

int Box() {
  const HWND box = ::FindWindowW(L"#32770", nullptr);
  if (!box) return 1;
  std::string text;
  ::EnumChildWindows(box, &AppendStatic, reinterpret_cast<LPARAM>(&text));
  std::printf("%s\t%s\n", TextOf(box).c_str(), text.c_str());
  return 0;
}

}  // namespace
}  // namespace dayledger

int main(int argc, char* argv[]) {
  ::SetConsoleOutputCP(CP_UTF8);
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "box") return dayledger::Box();
  const HWND form = dayledger::Form();
  if (!form) return 2;
  if (command == "layout") return dayledger::Layout(form);
  if (command == "where" && argc > 2) {
    const HWND control = dayledger::ControlNamed(form, argv[2]);
    if (!control) return 2;
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
  }
  if (command == "item" && argc > 2) {
    const HWND list = dayledger::ControlNamed(form, "ListBox1");
    const int row = std::atoi(argv[2]);
    RECT first{};
    ::SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    const long height = first.bottom - first.top;
    POINT middle{(first.left + first.right) / 2, first.top + height * row + height / 2};
    ::MapWindowPoints(list, form, &middle, 1);
    std::printf("%ld %ld\n", middle.x, middle.y);
    return 0;
  }
  if (command == "items") {
    const HWND list = dayledger::ControlNamed(form, "ListBox1");
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (WPARAM row = 0; row < static_cast<WPARAM>(count); ++row) {
      std::wstring item(static_cast<size_t>(::SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1,
                        L'\0');
      item.resize(static_cast<size_t>(
          ::SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(item.data()))));
      std::printf("%s\n", dayledger::Narrow(item, CP_UTF8).c_str());
    }
    return count >= 0 ? 0 : 2;
  }
  if (command == "rows") {
    const HWND list = dayledger::ControlNamed(form, "ListBox1");
    const LRESULT row = ::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    // The design's font as this machine maps it, at the screen's scale: the
    // window's own font object belongs to the window's process.
    const HDC screen = ::GetDC(nullptr);
    const int pixels =
        ::MulDiv(dayledger::kDesignedFontPixels, ::GetDeviceCaps(screen, LOGPIXELSY), 96);
    const HFONT font = ::CreateFontW(
        -pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
        dayledger::Widen(dayledger::kDesignedFontFace, CP_UTF8).c_str());
    const HGDIOBJ before = ::SelectObject(screen, font);
    TEXTMETRICW metrics{};
    const bool measured = ::GetTextMetricsW(screen, &metrics);
    ::SelectObject(screen, before);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    if (row == LB_ERR || !measured) return 2;
    std::printf("%ld %ld\n", static_cast<long>(row), static_cast<long>(metrics.tmHeight));
    return 0;
  }
  if (command == "focus") {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(form, nullptr), &thread)) return 2;
    if (thread.hwndFocus == form) std::printf("Form1\n");
    for (const dayledger::ControlLayout& layout : dayledger::kTForm1Controls) {
      if (*layout.parent && dayledger::ControlNamed(form, layout.name) == thread.hwndFocus) {
        std::printf("%s\n", layout.name);
      }
    }
    return 0;
  }
  if (command == "style" && argc > 2) {
    const HWND control = dayledger::ControlNamed(form, argv[2]);
    if (!control) return 2;
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    wchar_t kind[32] = {};
    ::GetClassNameW(control, kind, 32);
    const bool is_static = std::wstring(kind) == L"Static";
    // The edit box's own masking character, as it was set: Wine's default
    // differs from Windows', so what it draws cannot tell.
    const auto masked = static_cast<wchar_t>(::SendMessageW(control, EM_GETPASSWORDCHAR, 0, 0));
    const std::string password =
        std::wstring(kind) == L"Edit" && masked
            ? "password " + dayledger::Narrow(std::wstring(1, masked), CP_UTF8)
            : "";
    std::printf("%s%s%s%s%s\n", (style & WS_HSCROLL) ? "hscroll " : "",
                (style & WS_VSCROLL) ? "vscroll " : "",
                is_static && (style & SS_TYPEMASK) == SS_RIGHT ? "right " : "",
                (style & WS_TABSTOP) ? "tabstop " : "", password.c_str());
    return 0;
  }
  if (command == "text" && argc > 2) {
    const HWND control = dayledger::ControlNamed(form, argv[2]);
    if (!control) return 2;
    std::printf("%s\n", dayledger::TextOf(control).c_str());
    return 0;
  }
  return 2;
}
