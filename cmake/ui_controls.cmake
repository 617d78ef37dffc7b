# Turns the window's stored description (tform1.ui) into a C++ table of its
# controls (name, kind, parent, rectangle, caption or initial text, font,
# colour, alignment, scroll bars) and its tab order, so that a window built
# without Qt creates the same controls from the one description.
#   cmake -DUI=tform1.ui -DOUT=tform1_controls.h -P ui_controls.cmake
# The description keeps one tag a line; a style sheet's ";" only splits
# lines this script does not read.
cmake_minimum_required(VERSION 3.25)
file(STRINGS "${UI}" lines ENCODING UTF-8)
set(kind_QWidget "window")
set(kind_QLabel "label")
set(kind_QPushButton "push button")
set(kind_QFrame "panel")
set(kind_QGroupBox "group box")
set(kind_QListWidget "list box")
set(kind_QLineEdit "single-line edit")
set(kind_QPlainTextEdit "multi-line edit")
set(kind_QCheckBox "check box")
set(stack "")
set(property "")
set(rows "")
set(tab_order "")
macro(emit)
  if(name)
    string(REPLACE "\\" "\\\\" text_escaped "${text}")
    string(REPLACE "\"" "\\\"" text_escaped "${text_escaped}")
    string(APPEND rows "    {\"${name}\", \"${kind}\", \"${parent}\", {${x}, ${y}, ${width}, ${height}}, \"${text_escaped}\", ${visible}, ${bold}, ${font_size}, 0x${color}, ${align_right}, ${horizontal_bar}, ${vertical_bar}},\n")
  endif()
endmacro()
foreach(line IN LISTS lines)
  if(line MATCHES "<widget class=\"([A-Za-z]+)\" name=\"([A-Za-z0-9]+)\">")
    emit()
    set(parent_name "")
    list(LENGTH stack depth)
    if(depth GREATER 0)
      list(GET stack -1 parent_name)
    endif()
    set(name "${CMAKE_MATCH_2}")
    # The kind in the design's words, not the toolkit's class.
    set(kind "${kind_${CMAKE_MATCH_1}}")
    if(name MATCHES "^FileListBox")
      set(kind "file list box")
    endif()
    if(kind STREQUAL "")
      message(FATAL_ERROR "${UI}: no kind for ${CMAKE_MATCH_1} ${name}")
    endif()
    set(parent "${parent_name}")
    set(text "")
    set(visible true)
    set(bold false)
    set(font_size 0)
    set(color 000000)
    set(align_right false)
    set(horizontal_bar false)
    set(vertical_bar false)
    foreach(field x y width height)
      set(${field} 0)
    endforeach()
    list(APPEND stack "${name}")
  elseif(line MATCHES "</widget>")
    emit()
    set(name "")
    list(POP_BACK stack)
  elseif(line MATCHES "<property name=\"([A-Za-z]+)\">")
    set(property "${CMAKE_MATCH_1}")
  elseif(property STREQUAL "geometry" AND line MATCHES "<(x|y|width|height)>(-?[0-9]+)</")
    set(${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
  elseif(line MATCHES "<tabstop>([A-Za-z0-9]+)</tabstop>")
    string(APPEND tab_order "    \"${CMAKE_MATCH_1}\",\n")
  elseif(property MATCHES "^(text|title|windowTitle|plainText)$" AND line MATCHES "<string>(.*)</string>")
    set(text "${CMAKE_MATCH_1}")
  elseif(property STREQUAL "visible" AND line MATCHES "<bool>false</bool>")
    set(visible false)
  elseif(property STREQUAL "alignment" AND line MATCHES "Qt::AlignRight")
    set(align_right true)
  elseif(property STREQUAL "horizontalScrollBarPolicy" AND line MATCHES "Qt::ScrollBarAlwaysOn")
    set(horizontal_bar true)
  elseif(property STREQUAL "verticalScrollBarPolicy" AND line MATCHES "Qt::ScrollBarAlwaysOn")
    set(vertical_bar true)
  elseif(property STREQUAL "styleSheet")
    # The window's own sheet names the form's and the panels' colours; a
    # control's sheet its weight, size and text colour.
    if(line MATCHES "QWidget#Form1 { background-color: #([0-9a-fA-F]+)")
      set(form_colour "${CMAKE_MATCH_1}")
    endif()
    if(line MATCHES "QFrame#Panel1, QFrame#Panel2 { background-color: #([0-9a-fA-F]+)")
      set(panel_colour "${CMAKE_MATCH_1}")
    endif()
    if(NOT name STREQUAL "Form1")
      if(line MATCHES "font-weight: bold")
        set(bold true)
      endif()
      if(line MATCHES "font-size: ([0-9]+)px")
        set(font_size ${CMAKE_MATCH_1})
      endif()
      if(line MATCHES "(^|[ ;])color: #([0-9a-fA-F]+)")
        set(color ${CMAKE_MATCH_2})
      endif()
    endif()
  endif()
endforeach()
file(WRITE "${OUT}.new" "// Generated from tform1.ui by cmake/ui_controls.cmake: do not edit.
#pragma once

namespace dayledger {

struct ControlRect {
  int x, y, width, height;
};

struct ControlLayout {
  const char* name;
  const char* kind;    // in the design's words: \"label\", \"push button\", \"panel\"...
  const char* parent;  // \"\" for the window itself
  ControlRect rect;    // relative to the parent, in design pixels
  const char* text;    // caption, title, window title or initial text (UTF-8)
  bool visible;
  bool bold;
  int font_size;       // pixels; 0 for the window's own
  unsigned color;      // text colour, 0xRRGGBB
  bool align_right;    // text set against the right edge
  bool horizontal_bar; // scroll bars always shown
  bool vertical_bar;
};

// The window's background and the panels' (0xRRGGBB).
inline constexpr unsigned kFormColour = 0x${form_colour};
inline constexpr unsigned kPanelColour = 0x${panel_colour};

inline constexpr ControlLayout kTForm1Controls[] = {
${rows}};

// The controls Tab and Shift+Tab walk through, in order.
inline constexpr const char* kTForm1TabOrder[] = {
${tab_order}};

}  // namespace dayledger
")
# Rewritten only when it changed, so nothing rebuilds for nothing.
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
