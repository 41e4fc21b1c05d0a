// The prompt library of the product family: a keyword question with a default answer.
#pragma once

#include "afx.h"

namespace ZOZedo {
namespace RDCad {

// Asks for one of a set of keywords on the command line (acedInitGet / acedGetKword).
class CPrKeyWordDef {
public:
    // What go() returns.
    enum { kCancel = 0, kKeyWord = 3 };

    // `keywords` are separated by blanks ("Y N"); `def` is taken when the user presses Enter and is
    // shown as "<def>" before the prompt's closing colon (or after the prompt when it has none).
    CPrKeyWordDef(CString prompt, CString keywords, CString def);

    // Asks once. kKeyWord (3) when a keyword was typed or Enter took the default; kCancel (0) when
    // the user cancelled or pressed Enter without a default; another editor code (RTERROR) when
    // the host refused the prompt.
    int go();
    // True when the answer of the last go() is this keyword (compared without regard to case).
    bool isKeyWordPicked(CString keyword) const;
    // The keyword of the last go(); empty before the first or after a cancel.
    CString pickedKeyWord() const { return m_strPicked; }

private:
    CString m_strPrompt;
    CString m_strKeyWords;
    CString m_strDefault;
    CString m_strPicked;
};

} // namespace RDCad
} // namespace ZOZedo
