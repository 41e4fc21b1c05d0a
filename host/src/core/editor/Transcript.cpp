// The command line's text.
#include "editor/Transcript.h"

#include <ostream>

#include "text/Utf8.h"

namespace arxhost {

Transcript::Transcript(std::ostream& out, bool echoInput)
    : mOut(out)
    , mEchoInput(echoInput)
{
}

void Transcript::write(const std::wstring& text)
{
    if (text.empty())
        return;
    mText += mFresh && text.front() == L'\n' ? text.substr(1) : text;
    std::wstring_view shown = text;
    if ((mLineEndedByUser || mFresh) && shown.front() == L'\n')
        shown.remove_prefix(1); // the user's Enter (or nothing yet) already stands at a line start
    mFresh = false;
    mLineEndedByUser = false;
    if (!shown.empty()) {
        mOut << toUtf8(std::wstring(shown));
        mOut.flush();
    }
    mAtLineStart = text.back() == L'\n';
}

void Transcript::echo(const std::wstring& answer)
{
    if (mEchoInput) {
        write(answer);
        return;
    }
    // The terminal showed the answer, and the user's Enter ended the line.
    mText += answer;
    mAtLineStart = true;
    mLineEndedByUser = true;
}

void Transcript::finish()
{
    if (!mAtLineStart)
        write(L"\n");
}

} // namespace arxhost
