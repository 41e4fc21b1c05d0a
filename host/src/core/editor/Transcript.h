// The command line's text as the user sees it: prompts, echoed answers and messages, in UTF-8.
#pragma once

#include <iosfwd>
#include <string>

namespace arxhost {

class Transcript {
public:
    explicit Transcript(std::ostream& out, bool echoInput);

    // Writes text as it comes; "\n" starts a new line.
    void write(const std::wstring& text);
    // Shows an answer after its prompt, as the command line echoes what was typed.
    void echo(const std::wstring& answer);
    // Ends the last line, if it is not ended yet.
    void finish();
    bool atLineStart() const { return mAtLineStart; }
    bool echoesInput() const { return mEchoInput; }
    // Everything written so far (tests read the command line from here).
    const std::wstring& text() const { return mText; }
    void clearText() { mText.clear(); }

private:
    std::ostream& mOut;
    bool mEchoInput;
    bool mAtLineStart = true;
    bool mLineEndedByUser = false;
    bool mFresh = true; // nothing written yet
    std::wstring mText;
};

} // namespace arxhost
