// Message boxes and the folder browser: printed on the command line, answered from the input queue.
#include <fstream>

#include "DialogFixture.h"
#include "shlobj.h"

namespace planroad::test {
namespace {

class UserPrompts : public DialogFixture { };

TEST_F(UserPrompts, MessageBoxTakesItsAnswerFromTheScript)
{
    struct Case {
        UINT type;
        const wchar_t* script; // what follows the command
        int answer;
    };
    const Case cases[] = {
        {MB_YESNO, L"!answer No\n", IDNO},
        {MB_YESNO, L"!answer yes\n", IDYES},
        {MB_YESNO, L"\n", IDYES}, // Enter presses the default button
        {MB_YESNO | MB_DEFBUTTON2, L"\n", IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, L"\n", IDCANCEL},
        {MB_OKCANCEL, L"^C\n", IDCANCEL}, // Esc is Cancel
        {MB_OK, L"^C\n", IDOK}, // or OK when that is the only button
        {MB_YESNO, L"^C\n!answer No\n", IDNO}, // and nothing without either
        {MB_YESNO, L"!answer Cancel\n!answer No\n", IDNO},
        {MB_YESNO, L"", IDYES}, // the end of the input: Esc, else the default button
        {MB_OKCANCEL | MB_DEFBUTTON1, L"", IDCANCEL},
        {MB_ABORTRETRYIGNORE, L"!answer retry\n", IDRETRY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.script) + L" to type " + std::to_wstring(c.type));
        startSession(mDataDir);
        int answer = 0;
        int after = 0;
        defineCommand(
            L"ASK", [&answer, &c] { answer = ::MessageBoxW(nullptr, L"Repair?", L"Check", c.type); });
        defineCommand(L"AFTER", [&after] { ++after; });
        const bool inputEnds = *c.script == 0;
        type(std::wstring(L"ASK\n") + c.script + (inputEnds ? L"" : L"AFTER\n"));
        EXPECT_EQ(c.answer, answer);
        EXPECT_EQ(inputEnds ? 0 : 1, after); // the answer took its lines and no more
    }
}

TEST_F(UserPrompts, MessageBoxIsShownWithCaptionIconTextAndButtons)
{
    defineCommand(L"ASK", [] {
        AfxMessageBox(L"3 corners need repair.\nRepair them now?", MB_YESNO | MB_DEFBUTTON2);
        ::MessageBoxW(nullptr, L"Done.", nullptr, MB_OK | MB_ICONINFORMATION);
        CWnd::FromHandle(acedGetAcadFrame()->m_hWnd)->MessageBox(L"Saved.");
    });
    type(L"ASK\n!answer Yes\nwhat?\n\n!dialog click 1\n\n");
    EXPECT_EQ(L"Command: ASK\n"
              L"[Message box \"Headless host\" question] 3 corners need repair.\n"
              L"  Repair them now?\n"
              L"  Buttons: Yes No*\n"
              L"Message box: !answer Yes\n"
              L"  -> Yes\n"
              L"[Message box \"Error\" information] Done.\n"
              L"  Buttons: OK*\n"
              L"Message box: what?\n"
              L"*A message box is open: the line is ignored*\n"
              L"Message box: \n"
              L"  -> OK\n"
              L"[Message box \"Headless host\"] Saved.\n"
              L"  Buttons: OK*\n"
              L"Message box: !dialog click 1\n"
              L"*A message box is open: the directive is ignored*\n"
              L"Message box: \n"
              L"  -> OK\n"
              L"Command: \n",
        transcriptFrom(L"Command: ASK"));
}

TEST_F(UserPrompts, FolderBrowserReturnsTheFolderTyped)
{
    const std::filesystem::path folder = mDataDir / "out put";
    std::filesystem::create_directories(folder);
    struct Case {
        std::wstring script;
        bool chosen;
    };
    const Case cases[] = {
        {L"!folder " + folder.wstring() + L"\n", true},
        {L"!folder \"" + folder.wstring() + L"\"\n", true},
        {L"!folder " + (mDataDir / "missing").wstring() + L"\n!folder " + folder.wstring() + L"\n", true},
        {L"!folder cancel\n", false},
        {L"^C\n", false},
        {L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        startSession(mDataDir);
        std::wstring path;
        std::wstring display;
        bool chosen = false;
        defineCommand(L"BROWSE", [&] {
            wchar_t name[MAX_PATH] = {};
            BROWSEINFOW info {};
            info.lpszTitle = L"Folder of the exported tables";
            info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
            info.pszDisplayName = name;
            PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
            chosen = list != nullptr;
            if (list != nullptr) {
                wchar_t buffer[MAX_PATH] = {};
                EXPECT_TRUE(SHGetPathFromIDListW(list, buffer));
                path = buffer;
                display = name;
                CoTaskMemFree(list);
            }
        });
        type(L"BROWSE\n" + c.script);
        EXPECT_EQ(c.chosen, chosen);
        if (c.chosen) {
            EXPECT_EQ(folder.wstring(), path);
            EXPECT_EQ(L"out put", display);
        }
        EXPECT_TRUE(contains(transcript(), L"[Browse for folder] Folder of the exported tables\nFolder: "));
    }
    EXPECT_FALSE(SHGetPathFromIDListW(nullptr, nullptr));
}

TEST_F(UserPrompts, FolderBrowserOffersTheFolderItsCallbackSelects)
{
    const std::wstring start = mDataDir.wstring();
    std::filesystem::create_directories(mDataDir);
    std::wstring path;
    defineCommand(L"BROWSE", [&] {
        BROWSEINFOW info {};
        info.lParam = reinterpret_cast<LPARAM>(start.c_str());
        info.lpfn = [](HWND hwnd, UINT message, LPARAM, LPARAM data) -> int {
            if (message == BFFM_INITIALIZED)
                ::SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
            return 0;
        };
        if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
            wchar_t buffer[MAX_PATH] = {};
            SHGetPathFromIDListW(list, buffer);
            path = buffer;
            CoTaskMemFree(list);
        }
    });
    type(L"BROWSE\n\n");
    EXPECT_EQ(start, path);
    EXPECT_TRUE(contains(transcript(), L"  Selected: " + start + L"\nFolder: \n  -> " + start));
}

TEST_F(UserPrompts, AnswersWithoutAQuestionAreReported)
{
    type(L"!answer Yes\n!folder cancel\n");
    EXPECT_TRUE(contains(transcript(), L"Command: !answer Yes\n*No message box is open*\nCommand: "));
    EXPECT_TRUE(contains(transcript(), L"Command: !folder cancel\n*No folder browser is open*\nCommand: "));
}

} // namespace
} // namespace planroad::test
