// The window as its design draws it, in the design's own numbers and words:
// the window's client size and title, and each control's kind, parent,
// place (in its parent) and size, and caption or initial text. Both windows
// are held against it: the Qt window in its test, the native one under Wine.
#pragma once

namespace dayledger {

struct DesignedControl {
  const char* name;
  const char* kind;
  const char* parent;
  int x, y, width, height;
  const char* text;
};

inline constexpr int kDesignedWidth = 538;
inline constexpr int kDesignedHeight = 440;
inline constexpr char kDesignedTitle[] = "Korvane Dayledger - 사용자 정보 업그레이드";
// The window's font: its face and its height in pixels at 96 dpi.
inline constexpr char kDesignedFontFace[] = "돋움";
inline constexpr int kDesignedFontPixels = 13;

inline constexpr DesignedControl kDesign[] = {
    {"Label1", "label", "Form1", 8, 8, 366, 16, "Korvane Dayledger - 사용자 정보 업그레이드"},
    {"Button2", "push button", "Form1", 456, 4, 75, 25, "종료"},
    {"Panel1", "panel", "Form1", 16, 32, 505, 169, ""},
    {"Label2", "label", "Panel1", 8, 8, 108, 13, "사용자 정보 입력"},
    {"GroupBox1", "group box", "Panel1", 16, 32, 185, 129, "대상 사용자 선택"},
    {"ListBox1", "list box", "GroupBox1", 8, 24, 169, 97, ""},
    {"GroupBox2", "group box", "Panel1", 208, 32, 281, 129, "사용자 상세정보"},
    {"Label3", "label", "GroupBox2", 8, 24, 56, 13, "사용자명"},
    {"Label4", "label", "GroupBox2", 8, 48, 42, 13, "암호화"},
    {"Label5", "label", "GroupBox2", 16, 72, 107, 13, "→ 비밀번호 입력"},
    {"Label6", "label", "GroupBox2", 8, 96, 75, 13, "데이터 버전"},
    {"Label9", "label", "GroupBox2", 72, 24, 62, 13, "(사용자명)"},
    {"Label10", "label", "GroupBox2", 56, 48, 49, 13, "(암호화)"},
    {"Label11", "label", "GroupBox2", 88, 96, 79, 13, "(데이터 버전)"},
    {"Edit1", "single-line edit", "GroupBox2", 130, 69, 139, 21, ""},
    {"FileListBox1", "file list box", "Panel1", 328, 8, 153, 25, ""},
    {"Panel2", "panel", "Form1", 16, 208, 505, 201, ""},
    {"Label8", "label", "Panel2", 8, 8, 150, 13, "사용자 정보 업그레이드"},
    {"CheckBox1", "check box", "Panel2", 216, 8, 273, 17,
     "데이터 백업 건너뛰기(오류 발생시만 사용)"},
    {"Label12", "label", "Panel2", 18, 32, 150, 13, "업그레이드 데이터 버전"},
    {"Label13", "label", "Panel2", 176, 32, 48, 13, "v 1.03.00"},
    {"Button1", "push button", "Panel2", 368, 32, 121, 25, "업그레이드 시작"},
    {"Label14", "label", "Panel2", 18, 56, 56, 13, "진행상황"},
    {"Memo1", "multi-line edit", "Panel2", 24, 72, 457, 121,
     "### Korvane Dayledger - 사용자 정보 업그레이드 ###"},
    {"Label7", "label", "Form1", 16, 416, 234, 13, "Made by Korvane - www.example.com"},
    {"Label15", "label", "Form1", 391, 416, 130, 13, "Data Upgrade v 1.03"},
};

}  // namespace dayledger
