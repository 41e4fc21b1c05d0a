// AcString: the host's owning wide string, as returned by some name getters.
#pragma once

#include <string>

#include "AdAChar.h"

class AcString {
public:
    enum Encoding { Utf8 = 0 };
    AcString() = default;
    AcString(const ACHAR* text)
        : mText(text == nullptr ? L"" : text)
    {
    }
    const ACHAR* kwszPtr() const { return mText.c_str(); }
    const ACHAR* constPtr() const { return mText.c_str(); }
    operator const ACHAR*() const { return mText.c_str(); }
    int length() const { return static_cast<int>(mText.size()); }
    bool isEmpty() const { return mText.empty(); }
    AcString& operator=(const ACHAR* text)
    {
        mText = text == nullptr ? L"" : text;
        return *this;
    }
    bool operator==(const ACHAR* text) const { return text != nullptr && mText == text; }
    int compare(const ACHAR* text) const { return mText.compare(text == nullptr ? L"" : text); }

private:
    std::wstring mText;
};
