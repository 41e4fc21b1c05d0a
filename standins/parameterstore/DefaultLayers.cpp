// Custom parameter store: the layer parameters the store knows before a drawing sets them.
#include "CustomParameterStore.h"

#include <array>

namespace {

struct DefaultLayer {
    const wchar_t* key;
    const wchar_t* name;
    int color;
};

// The layer roles of the road tools and of their annotations. "bzlayer.ini" maps each road object's
// annotation categories to the FL_BZ_ keys.
constexpr std::array kDefaults {
    DefaultLayer {L"道路中线层", L"DL-道路中线", 1},
    DefaultLayer {L"道路红线层", L"DL-道路红线", 1},
    DefaultLayer {L"道路边线层", L"DL-道路边线", 7},
    DefaultLayer {L"行车道线层", L"DL-道路边线", 7},
    DefaultLayer {L"人行道线层", L"DL-道路红线", 1},
    DefaultLayer {L"FL_BZ_DLKD", L"DL-道路宽度标注", 3},
    DefaultLayer {L"FL_BZ_DLZB", L"DL-道路坐标标注", 3},
    DefaultLayer {L"FL_BZ_DLQXYS", L"DL-道路曲线要素标注", 2},
    DefaultLayer {L"FL_BZ_DLYJ", L"DL-道路圆角标注", 2},
    DefaultLayer {L"FL_BZ_DLMC", L"DL-道路名称标注", 7},
    DefaultLayer {L"FL_BZ_DLWZ", L"DL-道路文字标注", 7},
};

} // namespace

namespace TarnDB {

int qvGetDefaultLayerParam(const CString& key, LAYERPARAM& param)
{
    for (const DefaultLayer& preset : kDefaults) {
        if (key == preset.key) {
            param.strName = preset.name;
            param.nColor = preset.color;
            param.strLineType = L"CONTINUOUS";
            return 1;
        }
    }
    return 0;
}

} // namespace TarnDB
