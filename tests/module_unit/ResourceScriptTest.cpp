// The module's resource script as the host reads it: every dialog of the module with the controls its
// features rely on, a layout without overlaps, the two stake layout bitmaps, the string table and the
// symbols of resource.h.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>

#include "ModelessFixture.h"
#include "resource.h"
#include "resources/ResourceScript.h"

namespace planroad::test {
namespace {

using arxhost::ControlKind;
using arxhost::ControlTemplate;
using arxhost::DialogTemplate;

const std::string& embeddedFile(const std::string& name)
{
    static const std::vector<std::pair<std::string, std::string>> files = embeddedResourceFiles();
    for (const auto& [fileName, text] : files)
        if (fileName == name)
            return text;
    throw std::runtime_error("no embedded resource file " + name);
}

const arxhost::ResourceScript& moduleScript()
{
    static const arxhost::ResourceScript script = arxhost::parseResourceScript(
        embeddedFile("PlanRoad.rc"),
        [](std::string_view name) -> std::optional<std::string> {
            if (name == "resource.h")
                return embeddedFile("resource.h");
            return std::nullopt;
        },
        "PlanRoad.rc");
    return script;
}

// The repository's resources folder: from the test environment, else beside this source file.
std::filesystem::path resourcesFolder()
{
    if (const char* root = std::getenv("PLANROAD_SOURCE_DIR"))
        return std::filesystem::path(root) / "resources";
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "resources";
}

struct DialogCase {
    int id;
    const wchar_t* caption;
    const wchar_t* font;
    int fontSize;
    int cx; // 0: the design leaves the size to the layout
    int cy;
    bool resizable;
};

const DialogCase kDialogs[] = {
    {IDD_YQJCHECK, L"红线切角标注检查", L"MS Shell Dlg", 8, 251, 161, false},
    {IDD_YQJDIMCHECK, L"红线切角标注检查", L"MS Shell Dlg", 8, 252, 183, true},
    {IDD_ROADWIDTHCHECK, L"道路宽度检测", L"宋体", 9, 129, 175, true},
    {IDD_DLYJBJBZ, L"道路圆角半径标注", L"宋体", 9, 0, 0, false},
    {IDD_DLZDBZ, L"道路桩点标注", L"宋体", 9, 0, 0, false},
};

TEST(ModuleResources, DialogsHaveTheirCaptionFontSizeAndFrame)
{
    for (const DialogCase& expected : kDialogs) {
        SCOPED_TRACE(expected.id);
        const DialogTemplate* dialog = moduleScript().dialog(expected.id);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(expected.caption, dialog->caption);
        EXPECT_EQ(expected.font, dialog->fontName);
        EXPECT_EQ(expected.fontSize, dialog->fontSize);
        if (expected.cx != 0) {
            EXPECT_EQ(expected.cx, dialog->cx);
            EXPECT_EQ(expected.cy, dialog->cy);
        }
        const std::uint32_t popup = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        EXPECT_EQ(popup, dialog->style & popup);
        EXPECT_EQ(expected.resizable, (dialog->style & WS_THICKFRAME) != 0);
        // Modeless dialogs are created hidden and shown after their collection; modal ones by DoModal.
        EXPECT_EQ(0u, dialog->style & WS_VISIBLE);
    }
}

struct ControlCase {
    int dialog;
    int id;
    ControlKind kind;
    const wchar_t* text;
    std::uint32_t setBits; // style bits that must be set
    std::uint32_t clearBits; // style bits that must be clear
    int x = -1; // -1: no position given by the design
    int y = -1;
    int cx = -1;
    int cy = -1;
};

constexpr std::uint32_t kList = LVS_REPORT | WS_BORDER | WS_VISIBLE;
constexpr std::uint32_t kDropList = CBS_DROPDOWNLIST | WS_VISIBLE;
constexpr std::uint32_t kBitmapRadio = BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_BITMAP;

// Every control with an id that a feature of the module addresses, dialog by dialog.
const ControlCase kControls[] = {
    {IDD_YQJCHECK, 206, ControlKind::RadioButton, L"显示全部", BS_AUTORADIOBUTTON | WS_GROUP, 0, 17, 18, 52,
        9},
    {IDD_YQJCHECK, 207, ControlKind::RadioButton, L"显示错误", BS_AUTORADIOBUTTON, WS_GROUP, 82, 18, 48, 9},
    {IDD_YQJCHECK, 213, ControlKind::ListView, L"", kList, 0, 7, 42, 237, 86},
    {IDD_YQJCHECK, 210, ControlKind::CheckBox, L"自动修复前缀错误", BS_AUTOCHECKBOX, 0, 13, 132, 78, 10},
    {IDD_YQJCHECK, 212, ControlKind::CheckBox, L"自动修复标注错误", BS_AUTOCHECKBOX, 0, 13, 143, 78, 10},
    {IDD_YQJCHECK, 4, ControlKind::PushButton, L"选择圆切角", 0, 0, 94, 133, 48, 18},
    {IDD_YQJCHECK, IDOK, ControlKind::DefPushButton, L"确定", 0, 0, 163, 139, 37, 14},
    {IDD_YQJCHECK, IDCANCEL, ControlKind::PushButton, L"取消", 0, 0, 207, 139, 37, 14},

    {IDD_YQJDIMCHECK, 213, ControlKind::ListView, L"", kList, 0, 7, 8, 238, 152},
    {IDD_YQJDIMCHECK, 3, ControlKind::PushButton, L"导出EXCEL", 0, 0, 10, 165, 54, 14},
    {IDD_YQJDIMCHECK, IDOK, ControlKind::DefPushButton, L"确定", 0, 0, 135, 165, 50, 14},
    {IDD_YQJDIMCHECK, IDCANCEL, ControlKind::PushButton, L"取消", 0, 0, 192, 165, 50, 14},

    {IDD_ROADWIDTHCHECK, 228, ControlKind::ListView, L"", kList, 0, 7, 7, 115, 139},
    {IDD_ROADWIDTHCHECK, 3, ControlKind::PushButton, L"重新检测", 0, 0, 7, 154, 52, 14},
    {IDD_ROADWIDTHCHECK, IDCANCEL, ControlKind::PushButton, L"退出", 0, 0, 79, 154, 43, 14},

    {IDD_DLYJBJBZ, 205, ControlKind::Edit, L"", WS_VISIBLE, 0},
    {IDD_DLYJBJBZ, 223, ControlKind::Edit, L"", WS_VISIBLE, 0},
    {IDD_DLYJBJBZ, 226, ControlKind::Edit, L"", WS_VISIBLE, 0},
    {IDD_DLYJBJBZ, 206, ControlKind::ComboBox, L"", kDropList, CBS_SORT},
    {IDD_DLYJBJBZ, 209, ControlKind::Edit, L"", WS_VISIBLE, 0},
    {IDD_DLYJBJBZ, 208, ControlKind::ComboBox, L"", kDropList | CBS_SORT, 0},
    {IDD_DLYJBJBZ, 203, ControlKind::ComboBox, L"", CBS_DROPDOWNLIST, WS_VISIBLE},
    {IDD_DLYJBJBZ, 207, ControlKind::ComboBox, L"", CBS_DROPDOWNLIST, WS_VISIBLE},
    {IDD_DLYJBJBZ, 222, ControlKind::CheckBox, L"绘制引出线", BS_AUTOCHECKBOX, 0},
    {IDD_DLYJBJBZ, 220, ControlKind::CheckBox, L"标注沿石线圆角或切距", BS_AUTOCHECKBOX, 0},
    {IDD_DLYJBJBZ, 221, ControlKind::CheckBox, L"标注范围红线圆角或切距", BS_AUTOCHECKBOX, 0},
    {IDD_DLYJBJBZ, 224, ControlKind::CheckBox, L"标注圆弧道路中线半径", BS_AUTOCHECKBOX, 0},
    {IDD_DLYJBJBZ, 204, ControlKind::PushButton, L"标注(&D)", 0, 0},
    {IDD_DLYJBJBZ, IDCANCEL, ControlKind::PushButton, L"退出(&C)", 0, 0},

    {IDD_DLZDBZ, IDOK, ControlKind::PushButton, L"标注(&D)", 0, 0},
    {IDD_DLZDBZ, IDCANCEL, ControlKind::PushButton, L"取消(&C)", 0, 0},
    {IDD_DLZDBZ, 209, ControlKind::RadioButton, L"", kBitmapRadio | WS_GROUP, 0},
    {IDD_DLZDBZ, 210, ControlKind::RadioButton, L"", kBitmapRadio, WS_GROUP},
    {IDD_DLZDBZ, 211, ControlKind::Edit, L"", WS_VISIBLE, 0},
    {IDD_DLZDBZ, 212, ControlKind::Edit, L"", WS_VISIBLE, 0},
    {IDD_DLZDBZ, 213, ControlKind::Edit, L"", WS_VISIBLE, 0},
    {IDD_DLZDBZ, 214, ControlKind::Edit, L"", WS_VISIBLE, 0},
    {IDD_DLZDBZ, 215, ControlKind::Edit, L"", WS_VISIBLE, 0},
    {IDD_DLZDBZ, 219, ControlKind::ComboBox, L"", kDropList, CBS_SORT},
    {IDD_DLZDBZ, 220, ControlKind::ComboBox, L"", kDropList, CBS_SORT},
    {IDD_DLZDBZ, 221, ControlKind::ComboBox, L"", kDropList, CBS_SORT},
};

TEST(ModuleResources, EveryControlTheFeaturesAddressHasItsKindTextStyleAndPlace)
{
    std::map<int, std::set<int>> expectedIds;
    for (const ControlCase& expected : kControls) {
        SCOPED_TRACE(std::to_string(expected.dialog) + " control " + std::to_string(expected.id));
        expectedIds[expected.dialog].insert(expected.id);
        const DialogTemplate* dialog = moduleScript().dialog(expected.dialog);
        ASSERT_NE(nullptr, dialog);
        const ControlTemplate* control = dialog->control(expected.id);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(arxhost::controlKindName(expected.kind), arxhost::controlKindName(control->kind));
        EXPECT_EQ(expected.text, control->text);
        EXPECT_EQ(expected.setBits, control->style & expected.setBits);
        EXPECT_EQ(0u, control->style & expected.clearBits);
        if ((expected.setBits & BS_TYPEMASK) != 0 && control->className == L"Button") {
            EXPECT_EQ(expected.setBits & BS_TYPEMASK, control->style & BS_TYPEMASK);
        }
        if (expected.x >= 0) {
            EXPECT_EQ(expected.x, control->x);
            EXPECT_EQ(expected.y, control->y);
            EXPECT_EQ(expected.cx, control->cx);
            EXPECT_EQ(expected.cy, control->cy);
        }
    }
    // No dialog has a control with an id beyond those, nor one id twice.
    for (const auto& [dialogId, ids] : expectedIds) {
        std::multiset<int> actual;
        for (const ControlTemplate& control : moduleScript().dialog(dialogId)->controls)
            if (control.id != -1)
                actual.insert(control.id);
        EXPECT_EQ(std::multiset<int>(ids.begin(), ids.end()), actual) << dialogId;
    }
}

struct LabelCase {
    int dialog;
    ControlKind kind;
    const wchar_t* text;
    int count;
};

// The texts without an id: labels and group boxes.
const LabelCase kLabels[] = {
    {IDD_YQJCHECK, ControlKind::GroupBox, L"", 1},
    {IDD_DLYJBJBZ, ControlKind::GroupBox, L"圆切角标注设置", 1},
    {IDD_DLYJBJBZ, ControlKind::Static, L"半径标注前缀:", 1},
    {IDD_DLYJBJBZ, ControlKind::Static, L"标准切距前缀:", 1},
    {IDD_DLYJBJBZ, ControlKind::Static, L"非标准切距前缀:", 1},
    {IDD_DLYJBJBZ, ControlKind::Static, L"标注精度：", 1},
    {IDD_DLYJBJBZ, ControlKind::Static, L"文字高度:", 1},
    {IDD_DLYJBJBZ, ControlKind::Static, L"文字样式:", 1},
    {IDD_DLZDBZ, ControlKind::GroupBox, L"标注方式", 2},
    {IDD_DLZDBZ, ControlKind::GroupBox, L"参数设置", 1},
    {IDD_DLZDBZ, ControlKind::Static, L"请选择标注方式：", 1},
    {IDD_DLZDBZ, ControlKind::Static, L"X 坐标：", 1},
    {IDD_DLZDBZ, ControlKind::Static, L"Y 坐标：", 1},
    {IDD_DLZDBZ, ControlKind::Static, L"规划标高(H)：", 1},
    {IDD_DLZDBZ, ControlKind::Static, L"现状标高(h)：", 1},
    {IDD_DLZDBZ, ControlKind::Static, L"文字高度：", 1},
    {IDD_DLZDBZ, ControlKind::Static, L"坐标标注精度：", 1},
    {IDD_DLZDBZ, ControlKind::Static, L"标高标注精度：", 1},
    {IDD_DLZDBZ, ControlKind::Static, L"对齐方式：", 1},
};

TEST(ModuleResources, LabelsAndGroupBoxesCarryTheirTexts)
{
    for (const LabelCase& expected : kLabels) {
        SCOPED_TRACE(expected.text);
        int found = 0;
        for (const ControlTemplate& control : moduleScript().dialog(expected.dialog)->controls)
            if (control.id == -1 && control.kind == expected.kind && control.text == expected.text)
                ++found;
        EXPECT_EQ(expected.count, found) << expected.dialog;
    }
    const ControlTemplate& frame = moduleScript().dialog(IDD_YQJCHECK)->controls.front();
    EXPECT_EQ((std::vector<int> {7, 5, 237, 31}), (std::vector<int> {frame.x, frame.y, frame.cx, frame.cy}));
}

// A control's rectangle as it shows: a drop-down list takes one line whatever height the template gives
// its list.
RECT shownRect(const ControlTemplate& control)
{
    const int cy = control.kind == ControlKind::ComboBox ? 12 : control.cy;
    return RECT {control.x, control.y, control.x + control.cx, control.y + cy};
}

TEST(ModuleResources, VisibleControlsLieInsideTheirDialogWithoutOverlapping)
{
    for (const DialogCase& expected : kDialogs) {
        const DialogTemplate& dialog = *moduleScript().dialog(expected.id);
        std::vector<const ControlTemplate*> shown;
        for (const ControlTemplate& control : dialog.controls) {
            if ((control.style & WS_VISIBLE) == 0)
                continue;
            const RECT r = shownRect(control);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= dialog.cx && r.bottom <= dialog.cy)
                << expected.id << " control " << control.id << " \"" << arxhost::controlKindName(control.kind)
                << "\" lies outside the dialog";
            if (control.kind != ControlKind::GroupBox)
                shown.push_back(&control);
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                const RECT a = shownRect(*shown[i]);
                const RECT b = shownRect(*shown[j]);
                const bool overlap
                    = a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
                EXPECT_FALSE(overlap) << expected.id << ": controls at " << a.left << "," << a.top << " and "
                                      << b.left << "," << b.top << " overlap";
            }
        }
    }
}

// The width, height, bits per pixel and colour count of a BMP file; zeros when it is not one.
std::array<int, 4> bitmapHeader(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    unsigned char header[54] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header) || header[0] != 'B' || header[1] != 'M')
        return {0, 0, 0, 0};
    auto le = [&header](int at, int bytes) {
        int value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = (value << 8) | header[at + i];
        return value;
    };
    const int bits = le(28, 2);
    const int colours = le(46, 4) != 0 ? le(46, 4) : 1 << bits;
    return {le(18, 4), le(22, 4), bits, colours};
}

TEST(ModuleResources, StakeLayoutBitmapsAreSmallSixteenColourFiles)
{
    const std::pair<int, const char*> bitmaps[]
        = {{IDB_ZDBZ_TABLE, "res\\zdbz_table.bmp"}, {IDB_ZDBZ_COLUMN, "res\\zdbz_column.bmp"}};
    EXPECT_EQ(2u, moduleScript().bitmaps.size());
    for (const auto& [id, name] : bitmaps) {
        ASSERT_EQ(1u, moduleScript().bitmaps.count(id)) << id;
        EXPECT_EQ(name, moduleScript().bitmaps.at(id));
        std::string relative = moduleScript().bitmaps.at(id);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        EXPECT_EQ((std::array<int, 4> {90, 70, 4, 16}), bitmapHeader(resourcesFolder() / relative)) << name;
    }
}

TEST(ModuleResources, StringTableAndSymbolsAreKeptOnce)
{
    const std::map<int, std::wstring> strings {
        {IDS_MODULE_DESCRIPTION, L"城市道路规划工具"}, {IDS_COMMAND_GROUP, L"QVPLANROAD03"}};
    EXPECT_EQ(strings, moduleScript().strings);

    // Every symbol of resource.h is defined once, and names a dialog, control, bitmap or string.
    const std::string& header = embeddedFile("resource.h");
    const std::regex define(R"(#define\s+(\w+)\s+(\S+))");
    std::map<std::string, int> defined;
    for (auto it = std::sregex_iterator(header.begin(), header.end(), define); it != std::sregex_iterator();
         ++it) {
        const std::string name = (*it)[1];
        ++defined[name];
        if (name.rfind("_APS_", 0) != 0) {
            EXPECT_TRUE(std::regex_match(name, std::regex("ID[DCBS]_[A-Z0-9_]+"))) << name;
        }
    }
    for (const auto& [name, count] : defined)
        EXPECT_EQ(1, count) << name;
    // Within a dialog, one symbol per control id.
    for (const DialogCase& dialog : kDialogs) {
        std::map<int, std::wstring> names;
        for (const ControlTemplate& control : moduleScript().dialog(dialog.id)->controls) {
            if (control.id == -1)
                continue;
            auto [it, inserted] = names.emplace(control.id, control.idName);
            EXPECT_TRUE(inserted || it->second == control.idName) << dialog.id << " control " << control.id;
            EXPECT_FALSE(control.idName.empty()) << dialog.id << " control " << control.id;
        }
    }
}

} // namespace
} // namespace planroad::test
