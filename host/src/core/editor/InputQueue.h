// What the user types, in order: script lines, lines from a terminal, and text sent by modules.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace arxhost {

// One unit of input. Script lines are read as follows: "^C" is Esc; "!name args" is a directive to
// the host (a cursor move "!move x,y" for a drag, "!break" for Esc pressed while a command works);
// a line whose first character is "#" is a comment; "\!" and "\#" at the start stand for the
// character itself; anything else is typed text, and an empty line is Enter.
struct InputToken {
    enum class Kind { Text, Cancel, Directive };
    Kind kind = Kind::Text;
    std::wstring text; // typed text, or the directive's name
    std::wstring args; // the directive's arguments
};

class InputQueue {
public:
    void addLine(const std::wstring& line);
    void setProvider(std::function<std::optional<std::wstring>()> provider);

    // Text a module sends to the command line: it is typed once the current command has ended.
    void defer(const std::wstring& text);
    // The current command ended: deferred text comes before anything else.
    void releaseDeferred();
    bool hasDeferred() const { return !mDeferred.empty(); }

    // Puts text back in front, as the rest of a line the current prompt did not take.
    void pushFront(const std::wstring& line);

    // The next token, or nothing when the input has ended.
    std::optional<InputToken> next();
    // Looks at the next token without taking it.
    const InputToken* peek();
    bool ended();
    // How many tokens were taken so far: what the host did between two of them happened in one step.
    std::uint64_t tokensTaken() const { return mTaken; }

private:
    static std::optional<InputToken> parse(const std::wstring& line, bool fromScript);
    bool fill();

    struct Entry {
        std::wstring line;
        bool fromScript;
    };
    std::deque<Entry> mReady;
    std::deque<std::wstring> mDeferred;
    std::function<std::optional<std::wstring>()> mProvider;
    std::optional<InputToken> mPeeked;
    std::uint64_t mTaken = 0;
    Entry mPeekedEntry;
};

} // namespace arxhost
