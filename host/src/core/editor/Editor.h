// The command line's prompts: reading answers, keywords, points, numbers, strings and entity picks.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "adsdef.h"
#include "db/HeaderVars.h"
#include "dbid.h"
#include "editor/InputParsing.h"
#include "gepnt3d.h"

namespace arxhost {

class Session;

class Editor {
public:
    explicit Editor(Session& session);

    // The raw answer to a prompt, after directives in the input were handled.
    struct Answer {
        enum class Kind { Text, Enter, Cancel, Move };
        Kind kind = Kind::Cancel;
        std::wstring text;
        AcGePoint3d cursor; // for Move: the cursor position (UCS)
    };
    // Prints the prompt and takes the next answer. Cursor moves are returned only when asked for;
    // otherwise they just move the cursor. The end of the input reads as Esc.
    Answer ask(const std::wstring& prompt, bool acceptMoves = false);
    // Echoes "*Cancel*" for an Esc answer, as the command line does.
    void showCancel();

    // acedInitGet: the control bits and keywords of the next prompt only.
    void initGet(int flags, const ACHAR* keywords);
    // Takes (and clears) what acedInitGet set.
    struct InputControl {
        int flags = 0;
        KeywordList keywords;
    };
    InputControl takeInputControl();
    // The keyword (or arbitrary text) of the last RTKWORD answer.
    const std::wstring& lastKeyword() const { return mLastKeyword; }
    void setLastKeyword(const std::wstring& kw) { mLastKeyword = kw; }

    int getPoint(const ads_point base, const ACHAR* prompt, ads_point result, bool corner = false);
    int getAngle(const ads_point base, const ACHAR* prompt, ads_real* result, bool orient);
    int getDist(const ads_point base, const ACHAR* prompt, ads_real* result);
    int getReal(const ACHAR* prompt, ads_real* result);
    int getInt(const ACHAR* prompt, int* result);
    int getString(int cronly, const ACHAR* prompt, ACHAR* result, size_t bufLen);
    int getKword(const ACHAR* prompt, ACHAR* result, size_t bufLen);
    int entSel(const ACHAR* prompt, ads_name entres, ads_point ptres);

    // Esc pressed while a command works: acedUsrBrk reports it once.
    void requestUserBreak() { mUserBreak = true; }
    bool takeUserBreak();
    void clearUserBreak() { mUserBreak = false; }

    // Input taken from a list instead of the command line (the arguments of acedCommand).
    void pushArguments(std::deque<std::wstring> args);
    void popArguments();
    bool readingArguments() const { return !mArgumentStack.empty(); }
    // Whether prompts and answers of host commands run by acedCommand are shown (CMDECHO).
    bool echoOn() const;

    // A directive read at the command prompt, where no command waits for input.
    void handleDirectiveAtPrompt(const std::wstring& name, const std::wstring& args);

    // Script directives ("!name args") beyond the built-in ones; a handler returns false for bad args.
    using DirectiveHandler = std::function<bool(const std::wstring& args)>;
    void registerDirective(const std::wstring& name, DirectiveHandler handler);
    void unregisterDirective(const std::wstring& name);

    // The last point given (UCS), kept in LASTPOINT.
    AcGePoint3d lastPoint() const;
    void setLastPoint(const AcGePoint3d& ucsPoint);
    // The cursor's last position (UCS), moved by "!move".
    AcGePoint3d cursor() const { return mCursor; }

    // Values of the session's own variables (the user's settings: OSMODE, PICKBOX, CMDECHO).
    std::map<std::wstring, HeaderValue>& sessionVariables() { return mSessionVariables; }

    // The entity nearest to a point within the pick box, or null; only visible entities count.
    AcDbObjectId pickAt(const AcGePoint3d& wcsPoint) const;
    // Half the pick box's side in drawing units at the current zoom.
    double pickAperture() const;

private:
    bool handleDirective(
        const std::wstring& name, const std::wstring& args, Answer& moveOut, bool acceptMoves);
    void setErrno(int value);
    // Reports an invalid answer and asks again.
    void complain(const std::wstring& message);

    Session& mSession;
    InputControl mNext;
    std::wstring mLastKeyword;
    bool mUserBreak = false;
    std::vector<std::deque<std::wstring>> mArgumentStack;
    std::map<std::wstring, DirectiveHandler> mDirectives;
    AcGePoint3d mCursor;
    std::map<std::wstring, HeaderValue> mSessionVariables;
};

} // namespace arxhost
