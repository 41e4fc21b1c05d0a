// Prompt library: a keyword question with a default answer, asked through the host's editor.
#include "PromptLibrary.h"

#include <utility>

#include "acedads.h"
#include "adscodes.h"

namespace ZOZedo::RDCad {

namespace {

// The prompt with "<default>" before its closing colon, as the host's own prompts show a default.
CString promptWithDefault(const CString& prompt, const CString& def)
{
    if (def.IsEmpty())
        return prompt;
    const CString shown = L"<" + def + L">";
    const int length = prompt.GetLength();
    if (length > 0 && (prompt[length - 1] == L':' || prompt[length - 1] == L'：'))
        return prompt.Left(length - 1) + shown + prompt.Mid(length - 1);
    return prompt + shown;
}

} // namespace

CPrKeyWordDef::CPrKeyWordDef(CString prompt, CString keywords, CString def)
    : m_strPrompt(std::move(prompt))
    , m_strKeyWords(std::move(keywords))
    , m_strDefault(std::move(def))
{
}

int CPrKeyWordDef::go()
{
    m_strPicked.Empty();
    if (acedInitGet(0, m_strKeyWords.GetString()) != RTNORM)
        return RTERROR;
    ACHAR answer[256] = {};
    const int status = acedGetKword(promptWithDefault(m_strPrompt, m_strDefault).GetString(), answer);
    if (status == RTNORM) {
        m_strPicked = answer;
        return kKeyWord;
    }
    if (status == RTNONE) {
        if (m_strDefault.IsEmpty())
            return kCancel;
        m_strPicked = m_strDefault;
        return kKeyWord;
    }
    return status == RTERROR ? RTERROR : kCancel;
}

bool CPrKeyWordDef::isKeyWordPicked(CString keyword) const
{
    return !m_strPicked.IsEmpty() && m_strPicked.CompareNoCase(keyword.GetString()) == 0;
}

} // namespace ZOZedo::RDCad
