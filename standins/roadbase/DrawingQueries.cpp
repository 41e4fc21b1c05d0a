// Filtered selections of the whole drawing and the layers of layer parameters.
#include "roadbase/DrawingQueries.h"

#include <cwchar>

#include "CustomParameterStore.h"
#include "acedads.h"
#include "acutads.h"
#include "adscodes.h"
#include "dbmain.h"

namespace planroad::standins::roadbase {

void ResbufReleaser::operator()(resbuf* chain) const
{
    if (chain != nullptr)
        acutRelRb(chain);
}

std::vector<AcDbObjectId> selectAll(const resbuf* filter)
{
    std::vector<AcDbObjectId> ids;
    ads_name ss;
    if (acedSSGet(L"X", nullptr, nullptr, filter, ss) != RTNORM)
        return ids;
    Adesk::Int32 length = 0;
    acedSSLength(ss, &length);
    ids.reserve(static_cast<std::size_t>(length));
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name name;
        AcDbObjectId id;
        if (acedSSName(ss, i, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk)
            ids.push_back(id);
    }
    acedSSFree(ss);
    return ids;
}

CString wildcardLiteral(const CString& name)
{
    CString pattern;
    for (int i = 0; i < name.GetLength(); ++i) {
        const wchar_t ch = name[i];
        if (wcschr(L"#@.*?~[]`,", ch) != nullptr)
            pattern.AppendChar(L'`');
        pattern.AppendChar(ch);
    }
    return pattern;
}

CString layerOfParameter(const CString& key)
{
    LAYERPARAM param;
    param.strName.Empty();
    if (TarnDB::qvGetLayerParam(key, param, nullptr) == 0)
        return CString();
    return param.strName;
}

} // namespace planroad::standins::roadbase
