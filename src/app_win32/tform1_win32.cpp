// The native window: its controls created from the generated table, its
// window procedure and handlers, and what the window flow sets and reads of it.
#include "app_win32/tform1_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "app_win32/tform1_controls.h"
#include "floor/tool_version.h"
#include "platform/windows_text.h"

namespace dayledger {
namespace {

constexpr wchar_t kWindowClass[] = L"DayledgerTForm1";
constexpr UINT_PTR kTimer1 = 1;  // the driver, every kStageDelayMs
constexpr UINT_PTR kTimer2 = 2;  // the backup, kBackupDelayMs after the start
constexpr int kFirstControlId = 100;
// The design measures in the pixels of a 96-dpi screen.
constexpr int kDesignDpi = 96;
// The window's own font is 13 pixels high, and so is a row of the user list
// at the least.
constexpr int kFontPixels = 13;
constexpr int kListRowPixels = 13;
constexpr wchar_t kFontFace[] = L"돋움";

COLORREF Colour(unsigned rgb) { return RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff); }

const ControlLayout* LayoutOf(const std::string& name) {
  for (const ControlLayout& layout : kTForm1Controls) {
    if (name == layout.name) return &layout;
  }
  return nullptr;
}

// Where a control lies in the window's client area: its rectangle plus
// those of every control around it, as the window is flat on Win32.
POINT Origin(const ControlLayout& layout) {
  POINT at{layout.rect.x, layout.rect.y};
  for (const ControlLayout* p = LayoutOf(layout.parent); p && *p->parent; p = LayoutOf(p->parent)) {
    at.x += p->rect.x;
    at.y += p->rect.y;
  }
  return at;
}

bool Within(const ControlLayout& layout, const char* container) {
  for (const ControlLayout* p = LayoutOf(layout.parent); p; p = LayoutOf(p->parent)) {
    if (std::string(p->name) == container) return true;
  }
  return false;
}

bool OnPanel(const ControlLayout& layout) {
  return std::string(layout.kind) == "panel" || Within(layout, "Panel1") ||
         Within(layout, "Panel2");
}

struct NativeKind {
  const wchar_t* window_class;
  DWORD style;
  DWORD extended;
};

bool IsTabStop(const char* name) {
  return std::any_of(std::begin(kTForm1TabOrder), std::end(kTForm1TabOrder),
                     [&](const char* stop) { return std::string(stop) == name; });
}

NativeKind KindOf(const std::string& kind) {
  if (kind == "push button") return {L"BUTTON", BS_PUSHBUTTON, 0};
  if (kind == "check box") return {L"BUTTON", BS_AUTOCHECKBOX, 0};
  if (kind == "group box") return {L"BUTTON", BS_GROUPBOX, 0};
  if (kind == "list box" || kind == "file list box") {
    return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  if (kind == "single-line edit") return {L"EDIT", ES_PASSWORD | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
  if (kind == "multi-line edit") {
    return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE};
  }
  if (kind == "panel") return {L"STATIC", SS_ETCHEDFRAME, 0};
  return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
}

// The control's native style: its kind's, and what the description sets.
DWORD StyleOf(const ControlLayout& layout, const NativeKind& kind) {
  DWORD style = kind.style;
  const bool edit = std::wstring(kind.window_class) == L"EDIT";
  if (layout.horizontal_bar) style |= WS_HSCROLL | (edit ? ES_AUTOHSCROLL : 0);
  if (layout.vertical_bar) style |= WS_VSCROLL;
  if (layout.align_right && std::string(layout.kind) == "label") style |= SS_RIGHT;
  if (IsTabStop(layout.name)) style |= WS_TABSTOP;
  return style;
}

// The log is read-only: Tab and Shift+Tab leave it, as they leave every
// other control, where a multi-line box would keep them for itself.
LRESULT CALLBACK LogKeys(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR /*id*/,
                         DWORD_PTR /*data*/) {
  const LRESULT result = ::DefSubclassProc(window, message, w, l);
  if (message == WM_GETDLGCODE) return result & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
  return result;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

TForm1::TForm1(Installation& installation, std::vector<Said> opening_notes)
    : flow_(installation, *this, boxes_, std::move(opening_notes)) {}

TForm1::~TForm1() {
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(bold_font_),
                         static_cast<HGDIOBJ>(panel_brush_), static_cast<HGDIOBJ>(window_brush_)}) {
    if (object) ::DeleteObject(object);
  }
  for (auto& [name, font] : own_fonts_) ::DeleteObject(font);
}

int TForm1::Scaled(int design_pixels) const { return ::MulDiv(design_pixels, dpi_, kDesignDpi); }

HWND TForm1::Control(const char* name) const {
  const auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

Status TForm1::Create(HINSTANCE instance, int show) {
  INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&common);
  const ControlLayout& form = *LayoutOf("Form1");
  window_brush_ = ::CreateSolidBrush(Colour(kFormColour));
  panel_brush_ = ::CreateSolidBrush(Colour(kPanelColour));
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &TForm1::WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  window_class.hbrBackground = window_brush_;
  window_class.lpszClassName = kWindowClass;
  window_class.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  ::RegisterClassExW(&window_class);

  const HDC screen = ::GetDC(nullptr);
  dpi_ = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  // A fixed-size window without maximise; the client area has the design's size.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, Scaled(form.rect.width), Scaled(form.rect.height)};
  ::AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  window_ = ::CreateWindowExW(0, kWindowClass, Widen(form.text, CP_UTF8).c_str(), style,
                              work.left + (work.right - work.left - width) / 2,
                              work.top + (work.bottom - work.top - height) / 2, width, height,
                              nullptr, nullptr, instance, this);
  if (!window_) {
    return Status::Failed(StatusKind::kCannotCreate, Path(), static_cast<int>(::GetLastError()));
  }
  boxes_.set_owner(window_);
  CreateControls(instance);
  ::ShowWindow(window_, show);
  // As in a dialog, the first tab stop has the focus at start.
  focus_ = Control(kTForm1TabOrder[0]);
  ::SetFocus(focus_);
  ::UpdateWindow(window_);
  FormCreate();
  return Status::Ok();
}

// A row holds the font actually in use: where Windows stands in a taller
// font for the design's (Malgun Gothic, without the Korean supplemental
// fonts), a row of the design's height would clip the names.
int TForm1::ListRowHeight() {
  const HWND list = Control("ListBox1");
  const HDC dc = ::GetDC(list);
  const HGDIOBJ before = ::SelectObject(dc, font_);
  TEXTMETRICW metrics{};
  const bool measured = ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, before);
  ::ReleaseDC(list, dc);
  const int design = Scaled(kListRowPixels);
  return measured ? std::max<int>(design, metrics.tmHeight) : design;
}

HFONT TForm1::FontFor(const ControlLayout& layout) {
  if (!layout.bold && layout.font_size == 0) return font_;
  const std::string key = std::to_string(layout.font_size) + (layout.bold ? "b" : "");
  auto& font = own_fonts_[key];
  if (!font) {
    font = ::CreateFontW(-Scaled(layout.font_size ? layout.font_size : kFontPixels), 0, 0, 0,
                         layout.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, kFontFace);
  }
  return font;
}

void TForm1::CreateControls(HINSTANCE instance) {
  // "돋움" at the design's 13 pixels; Windows' font mapper stands in where
  // the machine lacks it.
  font_ = ::CreateFontW(-Scaled(kFontPixels), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        HANGUL_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, kFontFace);
  int id = kFirstControlId;
  for (const ControlLayout& layout : kTForm1Controls) {
    if (!*layout.parent) continue;  // the window itself
    const NativeKind kind = KindOf(layout.kind);
    const POINT at = Origin(layout);
    const DWORD visible = layout.visible ? WS_VISIBLE : 0;
    HWND control = ::CreateWindowExW(
        kind.extended, kind.window_class, Widen(layout.text, CP_UTF8).c_str(),
        WS_CHILD | WS_CLIPSIBLINGS | visible | StyleOf(layout, kind), Scaled(at.x), Scaled(at.y),
        Scaled(layout.rect.width), Scaled(layout.rect.height), window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(layout)), FALSE);
    ::SetWindowTextW(control, Widen(layout.text, CP_UTF8).c_str());
    if (std::string(layout.kind) == "multi-line edit") ::SetWindowSubclass(control, &LogKeys, 0, 0);
    controls_[layout.name] = control;
    ++id;
  }
  // Group boxes lie under what they hold, and panels under everything: the
  // first child created would otherwise be drawn on top.
  for (const char* below : {"GroupBox1", "GroupBox2", "Panel1", "Panel2"}) {
    ::SetWindowPos(Control(below), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  // Tab walks the controls in the order they lie, top first: the tab
  // stops go on top, in the description's tab order.
  HWND above = HWND_TOP;
  for (const char* stop : kTForm1TabOrder) {
    ::SetWindowPos(Control(stop), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    above = Control(stop);
  }
  ::SendMessageW(Control("Edit1"), EM_SETPASSWORDCHAR, L'*', 0);
  ::SendMessageW(Control("ListBox1"), LB_SETITEMHEIGHT, 0, ListRowHeight());
  for (const ControlLayout& layout : kTForm1Controls) {
    if (std::string(layout.kind) == "label") GrowToText(layout.name);
  }
  ShowInLabel("Label15", kToolCaption);
}

void TForm1::GrowToText(const char* name) {
  // Static labels grow to their whole text in place where the window's font
  // is wider or taller than the design's; the version label keeps its size.
  if (std::string(name) == "Label15") return;
  HWND label = Control(name);
  const ControlLayout& layout = *LayoutOf(name);
  const std::wstring text = TextOf(label);
  const HDC dc = ::GetDC(label);
  const HGDIOBJ before = ::SelectObject(dc, FontFor(layout));
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, before);
  ::ReleaseDC(label, dc);
  ::SetWindowPos(label, nullptr, 0, 0, std::max<int>(Scaled(layout.rect.width), size.cx),
                 std::max<int>(Scaled(layout.rect.height), size.cy), SWP_NOMOVE | SWP_NOZORDER);
  ::InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<TForm1*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form && form->window_) return form->Handle(message, w, l);
  return ::DefWindowProcW(window, message, w, l);
}

LRESULT TForm1::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND: {
      const HWND from = reinterpret_cast<HWND>(l);
      if (from == Control("ListBox1") && HIWORD(w) == LBN_SELCHANGE) ListBox1Click();
      if (from == Control("Button1") && HIWORD(w) == BN_CLICKED) Button1Click();
      if (from == Control("Button2") && HIWORD(w) == BN_CLICKED) Button2Click();
      return 0;
    }
    case WM_TIMER:
      if (w == kTimer1) Timer1Timer();
      if (w == kTimer2) Timer2Timer();
      return 0;
    case WM_ERASEBKGND: {
      // The window's colour, and the panels' under their frames; group
      // boxes and frames draw only their edges over it.
      const HDC dc = reinterpret_cast<HDC>(w);
      RECT client{};
      ::GetClientRect(window_, &client);
      ::FillRect(dc, &client, window_brush_);
      for (const ControlLayout& layout : kTForm1Controls) {
        if (std::string(layout.kind) != "panel") continue;
        const POINT at = Origin(layout);
        const RECT panel{Scaled(at.x), Scaled(at.y), Scaled(at.x + layout.rect.width),
                         Scaled(at.y + layout.rect.height)};
        ::FillRect(dc, &panel, panel_brush_);
      }
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const HDC dc = reinterpret_cast<HDC>(w);
      const HWND control = reinterpret_cast<HWND>(l);
      for (const ControlLayout& layout : kTForm1Controls) {
        if (Control(layout.name) != control) continue;
        // The log is a read-only box on white, as a text box is.
        const bool panel = OnPanel(layout) && std::string(layout.kind) != "multi-line edit";
        ::SetTextColor(dc, Colour(layout.color));
        ::SetBkColor(dc, Colour(panel ? kPanelColour : kFormColour));
        return reinterpret_cast<LRESULT>(panel ? panel_brush_ : window_brush_);
      }
      break;
    }
    case WM_ACTIVATE:
      // The focused control is kept while another window (a message box)
      // is active, and given back afterwards, as a dialog does.
      if (LOWORD(w) == WA_INACTIVE) {
        if (const HWND focused = ::GetFocus(); focused && ::IsChild(window_, focused)) {
          focus_ = focused;
        }
      } else if (focus_ && ::IsWindowEnabled(focus_)) {
        ::SetFocus(focus_);
        return 0;
      }
      break;
    case WM_CLOSE:
      ::DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, w, l);
}

void TForm1::FormCreate() { flow_.Open(); }
void TForm1::ListBox1Click() { flow_.UserClicked(); }
void TForm1::Button1Click() { flow_.StartClicked(); }
void TForm1::Button2Click() { ::PostMessageW(window_, WM_CLOSE, 0, 0); }
void TForm1::Timer1Timer() { flow_.StageTick(); }
void TForm1::Timer2Timer() { flow_.BackupTick(); }

void TForm1::ProcessMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void TForm1::AppendLogLine(const std::string& line) {
  HWND memo = Control("Memo1");
  const int end = ::GetWindowTextLengthW(memo);
  ::SendMessageW(memo, EM_SETSEL, end, end);
  const std::wstring text = (end > 0 ? L"\r\n" : L"") + Widen(line, CP_UTF8);
  ::SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  // The log follows its newest line even after the operator scrolled up.
  ::SendMessageW(memo, EM_SCROLLCARET, 0, 0);
}

void TForm1::ClearUsers() { ::SendMessageW(Control("ListBox1"), LB_RESETCONTENT, 0, 0); }

void TForm1::AddUser(const std::string& name) {
  ::SendMessageW(Control("ListBox1"), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Widen(name, CP_UTF8).c_str()));
}

// Selecting from code sends no notification: it is not a click.
void TForm1::SelectUser(int index) { ::SendMessageW(Control("ListBox1"), LB_SETCURSEL, index, 0); }

int TForm1::SelectedUser() {
  const LRESULT index = ::SendMessageW(Control("ListBox1"), LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void TForm1::ShowInLabel(const char* name, const std::string& text) {
  ::SetWindowTextW(Control(name), Widen(text, CP_UTF8).c_str());
  GrowToText(name);
}

void TForm1::SetUserLabel(const std::string& text) { ShowInLabel("Label9", text); }
void TForm1::SetEncryptionLabel(const std::string& text) { ShowInLabel("Label10", text); }
void TForm1::SetVersionLabel(const std::string& text) { ShowInLabel("Label11", text); }
void TForm1::SetTargetVersionLabel(const std::string& text) { ShowInLabel("Label13", text); }

void TForm1::SetPasswordEnabled(bool enabled) {
  password_enabled_ = enabled;
  ::EnableWindow(Control("Edit1"), enabled && input_enabled_);
}

std::string TForm1::Password() { return Narrow(TextOf(Control("Edit1")), CP_UTF8); }

void TForm1::SelectPasswordAndFocus() {
  ::SendMessageW(Control("Edit1"), EM_SETSEL, 0, -1);
  ::SetFocus(Control("Edit1"));
}

void TForm1::SetInputEnabled(bool enabled) {
  // Everything on the first panel, and both buttons; the password box
  // keeps its own state underneath.
  input_enabled_ = enabled;
  for (const ControlLayout& layout : kTForm1Controls) {
    if (Within(layout, "Panel1")) ::EnableWindow(Control(layout.name), enabled);
  }
  ::EnableWindow(Control("Edit1"), enabled && password_enabled_);
  ::EnableWindow(Control("Button1"), enabled);
  ::EnableWindow(Control("Button2"), enabled);
}

bool TForm1::SkipBackupChecked() {
  return ::SendMessageW(Control("CheckBox1"), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TForm1::SetBackupTimer(bool enabled) {
  if (enabled) {
    ::SetTimer(window_, kTimer2, kBackupDelayMs, nullptr);
  } else {
    ::KillTimer(window_, kTimer2);
  }
}

void TForm1::SetDriverTimer(bool enabled) {
  if (enabled) {
    ::SetTimer(window_, kTimer1, kStageDelayMs, nullptr);
  } else {
    ::KillTimer(window_, kTimer1);
  }
}

}  // namespace dayledger
