// The command line's input queue.
#include "editor/InputQueue.h"

namespace arxhost {

namespace {

// Splits sent text into lines; a final line without a newline is still typed.
template <class F> void forEachLine(const std::wstring& text, F&& f)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            f(text.substr(start));
            return;
        }
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        f(line);
        start = end + 1;
    }
}

} // namespace

void InputQueue::addLine(const std::wstring& line)
{
    mReady.push_back({line, true});
}

void InputQueue::setProvider(std::function<std::optional<std::wstring>()> provider)
{
    mProvider = std::move(provider);
}

void InputQueue::defer(const std::wstring& text)
{
    forEachLine(text, [this](const std::wstring& line) { mDeferred.push_back(line); });
}

void InputQueue::releaseDeferred()
{
    // A token looked at but not taken goes back first, so that the deferred lines come before it.
    if (mPeeked) {
        mReady.push_front(mPeekedEntry);
        mPeeked.reset();
    }
    for (auto it = mDeferred.rbegin(); it != mDeferred.rend(); ++it)
        mReady.push_front({*it, false});
    mDeferred.clear();
}

void InputQueue::pushFront(const std::wstring& line)
{
    mReady.push_front({line, false});
}

std::optional<InputToken> InputQueue::parse(const std::wstring& rawLine, bool fromScript)
{
    std::wstring line = rawLine;
    if (!line.empty() && line.back() == L'\r')
        line.pop_back();
    if (line == L"^C")
        return InputToken {InputToken::Kind::Cancel, L"", L""};
    if (!fromScript)
        return InputToken {InputToken::Kind::Text, line, L""};
    if (!line.empty() && line[0] == L'#')
        return std::nullopt;
    if (!line.empty() && line[0] == L'\\' && line.size() > 1
        && (line[1] == L'!' || line[1] == L'#' || line[1] == L'^'))
        return InputToken {InputToken::Kind::Text, line.substr(1), L""};
    if (!line.empty() && line[0] == L'!') {
        std::size_t space = line.find(L' ');
        std::wstring name = line.substr(1, space == std::wstring::npos ? std::wstring::npos : space - 1);
        std::wstring args = space == std::wstring::npos ? L"" : line.substr(space + 1);
        return InputToken {InputToken::Kind::Directive, name, args};
    }
    return InputToken {InputToken::Kind::Text, line, L""};
}

bool InputQueue::fill()
{
    if (!mReady.empty())
        return true;
    if (!mProvider)
        return false;
    std::optional<std::wstring> line = mProvider();
    if (!line) {
        mProvider = nullptr;
        return false;
    }
    mReady.push_back({*line, true});
    return true;
}

const InputToken* InputQueue::peek()
{
    while (!mPeeked) {
        if (!fill())
            return nullptr;
        mPeekedEntry = std::move(mReady.front());
        mReady.pop_front();
        mPeeked = parse(mPeekedEntry.line, mPeekedEntry.fromScript);
    }
    return &*mPeeked;
}

std::optional<InputToken> InputQueue::next()
{
    if (peek() == nullptr)
        return std::nullopt;
    std::optional<InputToken> token = std::move(mPeeked);
    mPeeked.reset();
    ++mTaken;
    return token;
}

bool InputQueue::ended()
{
    return peek() == nullptr;
}

} // namespace arxhost
