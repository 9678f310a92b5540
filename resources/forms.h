// The two windows of the program, described as data. The backends build real windows and controls
// (or in-memory records) from these tables.
#pragma once

#include <cstdint>
#include <span>

enum class ControlKind { Canvas, Label, ShapeBox, CheckBox, Slider, ColourPicker };

enum class TextAlign { Left, Centre };

// Colours here are 0x00BBGGRR; kSystemFace means the system's button-face colour.
inline constexpr std::uint32_t kSystemFace = 0xFFFFFFFFu;

struct FontSpec {
  int height = 0;  // 0: the system's default GUI font
  bool bold = false;
};

struct ControlSpec {
  ControlKind kind;
  const char* name;
  const char* container;  // nullptr: the window itself
  int left, top, width, height;
  const char* caption = "";
  std::uint32_t textColour = 0x000000;
  std::uint32_t backColour = kSystemFace;
  FontSpec font = {};
  TextAlign align = TextAlign::Left;
  bool border = false;
  bool wordWrap = false;
  bool checked = false;  // check boxes: state at design time
};

struct MenuItemSpec {
  const char* text;
  std::span<const MenuItemSpec> children = {};
};

struct MenuSpec {
  const char* name;  // the hidden top-level item that holds the popup's items
  std::span<const MenuItemSpec> items;
};

struct FormSpec {
  const char* name;
  int width, height;  // design size; the window is centred on the primary screen
  const char* caption;
  std::span<const ControlSpec> controls;  // in the window's control-list order
  std::span<const MenuSpec> menus;
};

extern const FormSpec kOverlayForm;
extern const FormSpec kPanelForm;

// Names used by the logic.
inline constexpr const char* kCanvasName = "画板";
inline constexpr const char* kOverlayMenuName = "文件";
inline constexpr const char* kTrayMenuName = "托盘菜单";
inline constexpr const char* kAutoRestoreName = "选择框_自动还原";
inline constexpr const char* kAutoMinimiseName = "选择框_自动最小化";

// The overlay menu's items, in order.
inline constexpr const char* kItemRedraw = "重画";
inline constexpr const char* kItemSavePicture = "保存图片";
inline constexpr const char* kItemEndPen = "结束画笔";
inline constexpr const char* kItemFollowAuthor = "关注作者";
inline constexpr const char* kItemScreenshot = "截图(功能未完善)";
