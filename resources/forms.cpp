#include "resources/forms.h"

namespace {

// ---- OverlayWindow: the full-screen canvas and its hidden menu.

const ControlSpec kOverlayControls[] = {
    {ControlKind::Canvas, kCanvasName, nullptr, 64, 48, 232, 88},
};

const MenuItemSpec kOverlayMenuItems[] = {
    {kItemRedraw}, {kItemSavePicture}, {kItemEndPen}, {kItemFollowAuthor}, {kItemScreenshot},
};

const MenuSpec kOverlayMenus[] = {{kOverlayMenuName, kOverlayMenuItems}};

// ---- PanelWindow: the control panel, controls in the panel's list order.

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
         (static_cast<std::uint32_t>(b) << 16);
}

constexpr FontSpec kFont14 = {14, false};
constexpr FontSpec kFont14Bold = {14, true};

const ControlSpec kPanelControls[] = {
    {ControlKind::CheckBox, kAutoRestoreName, nullptr, 96, 168, 80, 16, "自动还原"},
    {ControlKind::CheckBox, kAutoMinimiseName, "外形框2", 8, 144, 80, 16, "自动最小化", 0, kSystemFace,
     {}, TextAlign::Left, false, false, true},
    {ControlKind::ColourPicker, "颜色选择器1", "外形框2", 96, 66, 43, 24},
    {ControlKind::Label, "标签4", "外形框2", 340, 157, 56, 15, "关注作者", Rgb(255, 0, 0),
     Rgb(0, 255, 0), {}, TextAlign::Centre, true},
    {ControlKind::Label, "标签3", "外形框2", 274, 30, 110, 42,
     "提示:\r\n按键盘上的\"+\"\"-\"号\r\n可以调整画笔大小\r\n", Rgb(128, 128, 255), kSystemFace, {},
     TextAlign::Left, false, true},
    {ControlKind::Label, "标签2", "外形框2", 96, 106, 70, 25, "F2结束画笔", Rgb(255, 0, 0),
     Rgb(206, 215, 236), {}, TextAlign::Centre, true},
    {ControlKind::Label, "标签1", "外形框2", 8, 106, 70, 25, "F1启动画笔", Rgb(255, 0, 255),
     Rgb(206, 215, 236), {}, TextAlign::Centre, true},
    {ControlKind::Label, "标签_画笔颜色", "外形框2", 12, 68, 64, 16, "画笔颜色：", Rgb(255, 0, 0),
     kSystemFace, kFont14},
    {ControlKind::Label, "标签_画笔颜色1", "外形框2", 12, 28, 64, 16, "画笔粗细：", 0, kSystemFace,
     kFont14},
    {ControlKind::Slider, "滑块条1", "外形框2", 84, 26, 168, 30},
    {ControlKind::Label, "标签_滑块条位置", "外形框2", 252, 26, 24, 24, "--", Rgb(255, 0, 0),
     kSystemFace, kFont14Bold},
    {ControlKind::ShapeBox, "外形框1", "外形框2", 94, 8, 148, 16},
    {ControlKind::ShapeBox, "外形框2", nullptr, 0, 24, 400, 176, "", Rgb(0, 128, 0)},
    {ControlKind::Label, "标签_最小化", nullptr, 312, 4, 40, 20, "最小化", 0, Rgb(216, 216, 0), {},
     TextAlign::Centre, true},
    {ControlKind::Label, "标签_关闭", nullptr, 356, 4, 40, 20, "关闭", 0, Rgb(216, 216, 0), {},
     TextAlign::Centre, true},
    {ControlKind::Label, "标签_窗口", nullptr, 0, 0, 400, 24, "  墨舟 屏幕画笔V1.01", Rgb(255, 0, 0),
     Rgb(0, 128, 0), kFont14Bold},
};

const MenuItemSpec kFeedbackItems[] = {{"吾爱反馈点"}, {"百度反馈点"}};
const MenuItemSpec kTrayMenuItems[] = {{"信息反馈", kFeedbackItems}, {"检查更新"}, {"退出"}};
const MenuSpec kPanelMenus[] = {{kTrayMenuName, kTrayMenuItems}};

}  // namespace

const FormSpec kOverlayForm = {"OverlayWindow", 380, 250, "", kOverlayControls, kOverlayMenus};
const FormSpec kPanelForm = {"PanelWindow", 595, 372, "", kPanelControls, kPanelMenus};
