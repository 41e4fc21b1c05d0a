// Tests of dialog templates read from a resource script: header, control kinds, styles, texts, order.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/resources/ScriptTestSupport.h"

using arxhost::ControlKind;
using arxhost::ControlTemplate;
using arxhost::DialogTemplate;

namespace {

const char* const resourceHeader = R"(//{{NO_DEPENDENCIES}}
// Microsoft Visual C++ generated include file.
// Used by PlanRoad.rc
//
#define IDR_PLANROAD                    128
#define IDB_CROSSING                    130
#define IDB_LOGO                        131
#define IDD_ROAD_PARAMS                 2001
#define IDC_ROAD_WIDTH                  1001
#define IDC_ROAD_GRADE                  1002
#define IDC_ARC_LIST                    1003
#define IDC_SHOW_STAKES                 1004
#define IDC_LABEL_RADIUS                1005
#define IDC_SIDE_LEFT                   1006
#define IDC_SIDE_RIGHT                  (IDC_SIDE_LEFT + 1)
#define IDC_CROSSING                    1010
#define IDC_LAYERS                      1011
#define IDC_NOTE                        1012
)";

// A dialog as the resource editor writes it, with one control of every kind the module uses.
const char* const roadDialogScript = R"(// Microsoft Visual C++ generated resource script.
//
#include "resource.h"

#define APSTUDIO_READONLY_SYMBOLS
#include "afxres.h"
#undef APSTUDIO_READONLY_SYMBOLS

#if !defined(AFX_RESOURCE_DLL) || defined(AFX_TARG_CHS)
LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED
#pragma code_page(65001)

IDD_ROAD_PARAMS DIALOGEX 0, 0, 194, 180
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "道路参数"
FONT 9, "宋体", 400, 0, 0x86
BEGIN
    GROUPBOX        "横断面",IDC_STATIC,7,7,180,80
    LTEXT           "道路宽度(&W):",IDC_STATIC,14,20,50,8
    EDITTEXT        IDC_ROAD_WIDTH,70,18,60,14,ES_AUTOHSCROLL
    RTEXT           "m",IDC_STATIC,132,20,10,8
    COMBOBOX        IDC_ROAD_GRADE,70,36,60,120,CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP
    CONTROL         "",IDC_ARC_LIST,"SysListView32",LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,7,92,180,40
    CONTROL         "显示桩号",IDC_SHOW_STAKES,"Button",BS_AUTOCHECKBOX | WS_TABSTOP,14,56,60,10
    AUTOCHECKBOX    "标注半径",IDC_LABEL_RADIUS,80,56,60,10,NOT WS_VISIBLE
    AUTORADIOBUTTON "左侧",IDC_SIDE_LEFT,14,70,40,10,WS_GROUP
    AUTORADIOBUTTON "右侧",IDC_SIDE_RIGHT,60,70,40,10
    CONTROL         "",IDC_CROSSING,"Button",BS_AUTORADIOBUTTON | BS_BITMAP | BS_PUSHLIKE,110,66,24,18
    CONTROL         IDB_LOGO,IDC_STATIC,"Static",SS_BITMAP,150,20,30,30
    ICON            IDR_PLANROAD,IDC_STATIC,150,60,20,20
    LISTBOX         IDC_LAYERS,7,136,80,18,LBS_SORT | WS_VSCROLL
    EDITTEXT        IDC_NOTE,90,136,97,14,ES_AUTOHSCROLL | NOT WS_BORDER,WS_EX_STATICEDGE
    DEFPUSHBUTTON   "确定",IDOK,76,159,50,14
    PUSHBUTTON      "取消",IDCANCEL,137,159,50,14
END

#endif
)";

class RoadDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = scripttest::parse(roadDialogScript, files);
        dialog = script.dialog(2001);
        ASSERT_NE(dialog, nullptr);
    }

    scripttest::Files files {{"resource.h", resourceHeader}};
    arxhost::ResourceScript script;
    const DialogTemplate* dialog = nullptr;
};

TEST_F(RoadDialogTest, HeaderCarriesPositionStyleCaptionAndFont)
{
    EXPECT_EQ(dialog->idName, L"IDD_ROAD_PARAMS");
    EXPECT_TRUE(dialog->extended);
    EXPECT_EQ(dialog->x, 0);
    EXPECT_EQ(dialog->y, 0);
    EXPECT_EQ(dialog->cx, 194);
    EXPECT_EQ(dialog->cy, 180);
    // DS_SETFONT 0x40 | DS_MODALFRAME 0x80 | WS_POPUP | WS_CAPTION 0xC00000 | WS_SYSMENU 0x80000
    EXPECT_EQ(dialog->style, 0x80C800C0u);
    EXPECT_EQ(dialog->exStyle, 0u);
    EXPECT_EQ(dialog->caption, L"道路参数");
    EXPECT_EQ(dialog->fontName, L"宋体");
    EXPECT_EQ(dialog->fontSize, 9);
    EXPECT_EQ(dialog->fontWeight, 400);
    EXPECT_FALSE(dialog->italic);
    EXPECT_EQ(dialog->charset, 134); // GB2312_CHARSET
}

struct ExpectedControl {
    int id;
    const wchar_t* idName;
    ControlKind kind;
    const wchar_t* className;
    std::uint32_t style;
    std::uint32_t exStyle;
    int x, y, cx, cy;
    const wchar_t* text;
};

// Styles worked out by hand from the Windows values: WS_CHILD | WS_VISIBLE is 0x50000000, WS_TABSTOP
// 0x10000, WS_GROUP 0x20000, WS_BORDER 0x800000, WS_VSCROLL 0x200000.
const ExpectedControl roadControls[] = {
    {-1, L"IDC_STATIC", ControlKind::GroupBox, L"Button", 0x50000007u, 0, 7, 7, 180, 80, L"横断面"},
    {-1, L"IDC_STATIC", ControlKind::Static, L"Static", 0x50020000u, 0, 14, 20, 50, 8, L"道路宽度(&W):"},
    {1001, L"IDC_ROAD_WIDTH", ControlKind::Edit, L"Edit", 0x50810080u, 0, 70, 18, 60, 14, L""},
    {-1, L"IDC_STATIC", ControlKind::Static, L"Static", 0x50020002u, 0, 132, 20, 10, 8, L"m"},
    {1002, L"IDC_ROAD_GRADE", ControlKind::ComboBox, L"ComboBox", 0x50210103u, 0, 70, 36, 60, 120, L""},
    {1003, L"IDC_ARC_LIST", ControlKind::ListView, L"SysListView32", 0x5081000Du, 0, 7, 92, 180, 40, L""},
    {1004, L"IDC_SHOW_STAKES", ControlKind::CheckBox, L"Button", 0x50010003u, 0, 14, 56, 60, 10, L"显示桩号"},
    {1005, L"IDC_LABEL_RADIUS", ControlKind::CheckBox, L"Button", 0x40010003u, 0, 80, 56, 60, 10,
        L"标注半径"},
    {1006, L"IDC_SIDE_LEFT", ControlKind::RadioButton, L"Button", 0x50030009u, 0, 14, 70, 40, 10, L"左侧"},
    {1007, L"IDC_SIDE_RIGHT", ControlKind::RadioButton, L"Button", 0x50010009u, 0, 60, 70, 40, 10, L"右侧"},
    {1010, L"IDC_CROSSING", ControlKind::RadioButton, L"Button", 0x50001089u, 0, 110, 66, 24, 18, L""},
    {-1, L"IDC_STATIC", ControlKind::Icon, L"Static", 0x5000000Eu, 0, 150, 20, 30, 30, L"IDB_LOGO"},
    {-1, L"IDC_STATIC", ControlKind::Icon, L"Static", 0x50000003u, 0, 150, 60, 20, 20, L"IDR_PLANROAD"},
    {1011, L"IDC_LAYERS", ControlKind::ListBox, L"ListBox", 0x50A00003u, 0, 7, 136, 80, 18, L""},
    {1012, L"IDC_NOTE", ControlKind::Edit, L"Edit", 0x50010080u, 0x20000u, 90, 136, 97, 14, L""},
    {1, L"IDOK", ControlKind::DefPushButton, L"Button", 0x50010001u, 0, 76, 159, 50, 14, L"确定"},
    {2, L"IDCANCEL", ControlKind::PushButton, L"Button", 0x50010000u, 0, 137, 159, 50, 14, L"取消"},
};

TEST_F(RoadDialogTest, ControlsKeepTheOrderOfTheScript)
{
    std::vector<std::wstring> names;
    for (const ControlTemplate& control : dialog->controls) {
        names.push_back(control.idName + L":" + control.text);
    }
    std::vector<std::wstring> expected;
    for (const ExpectedControl& control : roadControls) {
        expected.push_back(std::wstring(control.idName) + L":" + control.text);
    }
    EXPECT_EQ(names, expected);
}

TEST_F(RoadDialogTest, EveryControlHasItsKindStyleAndPlace)
{
    ASSERT_EQ(dialog->controls.size(), std::size(roadControls));
    for (std::size_t i = 0; i < std::size(roadControls); ++i) {
        const ExpectedControl& want = roadControls[i];
        const ControlTemplate& got = dialog->controls[i];
        SCOPED_TRACE(
            testing::Message() << "control " << i << " (" << arxhost::controlKindName(want.kind) << ")");
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.idName, want.idName);
        EXPECT_EQ(got.kind, want.kind) << arxhost::controlKindName(got.kind);
        EXPECT_EQ(got.className, want.className);
        EXPECT_EQ(got.style, want.style) << std::hex << got.style;
        EXPECT_EQ(got.exStyle, want.exStyle) << std::hex << got.exStyle;
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_EQ(got.text, want.text);
    }
}

TEST_F(RoadDialogTest, ResourceIdsAsControlTextAreFlaggedAndResolved)
{
    const ControlTemplate& bitmap = dialog->controls[11];
    EXPECT_TRUE(bitmap.textIsResourceId);
    EXPECT_EQ(bitmap.textResourceId, 131);
    const ControlTemplate& icon = dialog->controls[12];
    EXPECT_TRUE(icon.textIsResourceId);
    EXPECT_EQ(icon.textResourceId, 128);
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_FALSE(dialog->controls[i].textIsResourceId) << "control " << i;
    }
}

TEST_F(RoadDialogTest, ControlLookupFindsTheFirstWithAnId)
{
    ASSERT_NE(dialog->control(1002), nullptr);
    EXPECT_EQ(dialog->control(1002)->idName, L"IDC_ROAD_GRADE");
    ASSERT_NE(dialog->control(-1), nullptr);
    EXPECT_EQ(dialog->control(-1)->text, L"横断面");
    EXPECT_EQ(dialog->control(4242), nullptr);
}

struct StatementCase {
    const char* line; // with id 100 at 1, 2, 3, 4 where the statement has them
    ControlKind kind;
    const wchar_t* className;
    std::uint32_t style;
};

// The default style of every control statement, as documented for the resource compiler.
const StatementCase statementCases[] = {
    {R"(LTEXT "t", 100, 1, 2, 3, 4)", ControlKind::Static, L"Static", 0x50020000u},
    {R"(RTEXT "t", 100, 1, 2, 3, 4)", ControlKind::Static, L"Static", 0x50020002u},
    {R"(CTEXT "t", 100, 1, 2, 3, 4)", ControlKind::Static, L"Static", 0x50020001u},
    {R"(EDITTEXT 100, 1, 2, 3, 4)", ControlKind::Edit, L"Edit", 0x50810000u},
    {R"(COMBOBOX 100, 1, 2, 3, 4)", ControlKind::ComboBox, L"ComboBox", 0x50010001u},
    // A given type replaces the simple combo box: drop-down stays drop-down, not drop-down list.
    {R"(COMBOBOX 100, 1, 2, 3, 4, CBS_DROPDOWN | WS_VSCROLL)", ControlKind::ComboBox, L"ComboBox",
        0x50210002u},
    {R"(LISTBOX 100, 1, 2, 3, 4)", ControlKind::ListBox, L"ListBox", 0x50800001u},
    {R"(SCROLLBAR 100, 1, 2, 3, 4)", ControlKind::Other, L"ScrollBar", 0x50000000u},
    {R"(PUSHBUTTON "t", 100, 1, 2, 3, 4)", ControlKind::PushButton, L"Button", 0x50010000u},
    {R"(DEFPUSHBUTTON "t", 100, 1, 2, 3, 4)", ControlKind::DefPushButton, L"Button", 0x50010001u},
    {R"(PUSHBOX "t", 100, 1, 2, 3, 4)", ControlKind::PushButton, L"Button", 0x5001000Au},
    {R"(GROUPBOX "t", 100, 1, 2, 3, 4)", ControlKind::GroupBox, L"Button", 0x50000007u},
    {R"(CHECKBOX "t", 100, 1, 2, 3, 4)", ControlKind::CheckBox, L"Button", 0x50010002u},
    {R"(AUTOCHECKBOX "t", 100, 1, 2, 3, 4)", ControlKind::CheckBox, L"Button", 0x50010003u},
    {R"(STATE3 "t", 100, 1, 2, 3, 4)", ControlKind::CheckBox, L"Button", 0x50010005u},
    {R"(AUTO3STATE "t", 100, 1, 2, 3, 4)", ControlKind::CheckBox, L"Button", 0x50010006u},
    {R"(RADIOBUTTON "t", 100, 1, 2, 3, 4)", ControlKind::RadioButton, L"Button", 0x50010004u},
    {R"(AUTORADIOBUTTON "t", 100, 1, 2, 3, 4)", ControlKind::RadioButton, L"Button", 0x50010009u},
    {R"(ICON "t", 100, 1, 2, 3, 4)", ControlKind::Icon, L"Static", 0x50000003u},
    {R"(ICON "t", 100, 1, 2)", ControlKind::Icon, L"Static", 0x50000003u},
    {R"(CONTROL "t", 100, BUTTON, BS_GROUPBOX, 1, 2, 3, 4)", ControlKind::GroupBox, L"Button", 0x50000007u},
    {R"(CONTROL "t", 100, "msctls_trackbar32", 0, 1, 2, 3, 4)", ControlKind::Other, L"msctls_trackbar32",
        0x50000000u},
    {R"(CONTROL "t", 100, WC_LISTVIEW, LVS_LIST, 1, 2, 3, 4)", ControlKind::ListView, L"SysListView32",
        0x50000003u},
    {R"(ltext "t", 100, 1, 2, 3, 4, NOT WS_GROUP | SS_NOPREFIX)", ControlKind::Static, L"Static",
        0x50000080u},
};

TEST(ControlStatementTest, DefaultStylesAndClassesFollowTheResourceCompiler)
{
    for (const StatementCase& c : statementCases) {
        SCOPED_TRACE(c.line);
        const std::string script
            = std::string("#include <windows.h>\n7 DIALOGEX 0, 0, 50, 50\nBEGIN\n") + c.line + "\nEND\n";
        const auto parsed = scripttest::parse(script);
        ASSERT_EQ(parsed.dialogs.size(), 1u);
        ASSERT_EQ(parsed.dialogs.at(7).controls.size(), 1u);
        const ControlTemplate& control = parsed.dialogs.at(7).controls.front();
        EXPECT_EQ(control.id, 100);
        EXPECT_TRUE(control.idName.empty());
        EXPECT_EQ(control.kind, c.kind) << arxhost::controlKindName(control.kind);
        EXPECT_EQ(control.className, c.className);
        EXPECT_EQ(control.style, c.style) << std::hex << control.style;
        EXPECT_EQ(control.x, 1);
        EXPECT_EQ(control.y, 2);
    }
}

struct DialogStyleCase {
    const char* header;
    std::uint32_t style;
};

// Without STYLE a dialog is WS_POPUP | WS_BORDER | WS_SYSMENU; CAPTION adds WS_CAPTION, FONT DS_SETFONT.
const DialogStyleCase dialogStyleCases[] = {
    {"", 0x80880000u},
    {"CAPTION \"t\"\n", 0x80C80000u},
    {"FONT 8, \"MS Shell Dlg\"\n", 0x80880040u},
    {"STYLE WS_CHILD\n", 0x40000000u},
    {"STYLE WS_CHILD | DS_CONTROL\nCAPTION \"\"\n", 0x40C00400u},
    {"STYLE DS_SHELLFONT | WS_POPUPWINDOW | NOT WS_BORDER\n", 0x80080048u},
    {"STYLE 0x10000000L\nEXSTYLE WS_EX_TOOLWINDOW | WS_EX_APPWINDOW\n", 0x10000000u},
};

TEST(DialogStyleTest, DefaultsAndImpliedBitsFollowTheResourceCompiler)
{
    for (const DialogStyleCase& c : dialogStyleCases) {
        SCOPED_TRACE(c.header);
        const std::string script
            = std::string("#include \"winres.h\"\n9 DIALOG DISCARDABLE 1, 2, 3, 4\n") + c.header + "{\n}\n";
        const auto parsed = scripttest::parse(script);
        const DialogTemplate* dialog = parsed.dialog(9);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->extended);
        EXPECT_EQ(dialog->style, c.style) << std::hex << dialog->style;
        EXPECT_TRUE(dialog->controls.empty());
    }
}

TEST(DialogStyleTest, ExtendedStylesHelpIdsAndControlDataAreRead)
{
    const auto parsed = scripttest::parse(R"(#include <windows.h>
10 DIALOGEX 0, 0, 80, 40, 555
EXSTYLE WS_EX_TOOLWINDOW | WS_EX_APPWINDOW
FONT 8, "MS Shell Dlg", 700, 1
BEGIN
    CONTROL "a", 11, "Button", BS_PUSHBUTTON, 1, 2, 30, 12, WS_EX_CLIENTEDGE, 77
    PUSHBUTTON "b", 12, 1, 20, 30, 12, WS_DISABLED, WS_EX_STATICEDGE, 78
    BEGIN
        0x0001, 0x0002
    END
END
)");
    const DialogTemplate* dialog = parsed.dialog(10);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->helpId, 555);
    EXPECT_EQ(dialog->exStyle, 0x40080u);
    EXPECT_EQ(dialog->fontWeight, 700);
    EXPECT_TRUE(dialog->italic);
    EXPECT_EQ(dialog->charset, 1);
    ASSERT_EQ(dialog->controls.size(), 2u);
    EXPECT_EQ(dialog->controls[0].exStyle, 0x200u);
    EXPECT_EQ(dialog->controls[0].helpId, 77);
    EXPECT_EQ(dialog->controls[1].style, 0x58010000u); // WS_DISABLED 0x08000000 added to the defaults
    EXPECT_EQ(dialog->controls[1].exStyle, 0x20000u);
    EXPECT_EQ(dialog->controls[1].helpId, 78);
}

struct KindCase {
    const wchar_t* className;
    std::uint32_t style;
    ControlKind kind;
};

const KindCase kindCases[] = {
    {L"button", 0x0u, ControlKind::PushButton},
    {L"BUTTON", 0xBu, ControlKind::PushButton}, // BS_OWNERDRAW
    {L"Button", 0xFu, ControlKind::DefPushButton}, // BS_DEFCOMMANDLINK
    {L"Button", 0x1009u, ControlKind::RadioButton}, // BS_AUTORADIOBUTTON | BS_PUSHLIKE
    {L"Button", 0x1003u, ControlKind::CheckBox}, // BS_AUTOCHECKBOX | BS_PUSHLIKE
    {L"Button", 0x7u, ControlKind::GroupBox},
    {L"static", 0x3u, ControlKind::Icon},
    {L"Static", 0xEu, ControlKind::Icon},
    {L"Static", 0x10u, ControlKind::Static}, // SS_ETCHEDHORZ
    {L"Static", 0x1Eu, ControlKind::Static}, // a type outside the icon/bitmap pair
    {L"RichEdit20W", 0x4u, ControlKind::Edit},
    {L"ComboBoxEx32", 0x3u, ControlKind::ComboBox},
    {L"syslistview32", 0x1u, ControlKind::ListView},
    {L"SysTreeView32", 0x0u, ControlKind::Other},
    {L"ScrollBar", 0x1u, ControlKind::Other},
};

TEST(ClassifyControlTest, ClassAndTypeBitsDecideTheKind)
{
    for (const KindCase& c : kindCases) {
        EXPECT_EQ(arxhost::classifyControl(c.className, c.style), c.kind)
            << std::string(c.className, c.className + std::wcslen(c.className)) << " " << std::hex << c.style;
    }
}

} // namespace
