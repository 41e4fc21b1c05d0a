// The stake label's frame and texts, sized from the text height and the longest line.
#include "StdAfx.h"

#include "PegDimBuilder.h"

#include <algorithm>

#include "CustomParameterStore.h"
#include "DrawingSettings.h"
#include "DrawingToolkit.h"
#include "RoadBaseLibrary.h"

namespace {

struct Offset {
    double a;
    double b;
};

// The text style of the road curve element annotation: "$NAME" names a style made when missing.
AcDbObjectId LabelTextStyle()
{
    TEXTPARAM textParam;
    TarnDB::qvGetTextParam(_T("道路曲线要素标注"), textParam);
    const CString& name = textParam.strTextStyle;
    if (name.Left(1) == _T("$")) {
        const CString styleName = name.Mid(1);
        AcDbObjectId style = TarnDB::qvGetTextStyle(styleName);
        if (style.isNull())
            style = TarnDB::qvCreateTextStyle(styleName);
        return style;
    }
    return tarn::ent::GetTextStyle(name);
}

} // namespace

void CreatePegDim(const AcGePoint3d& point, tarn::CEntsGroup*& pGroup, const SZDBZPARAM& param)
{
    const CString texts[] = {_T("X=") + DoubleToString(param.dX, param.nCoordPrec),
        _T("Y=") + DoubleToString(param.dY, param.nCoordPrec),
        _T("H=") + DoubleToString(param.dH, param.nElevPrec),
        _T("h=") + DoubleToString(param.dh, param.nElevPrec)};
    const AcDbObjectId style = LabelTextStyle();

    const double scale = CDrawingSetting::GetSysScale();
    const double t = scale * param.dTextHeight;
    int longest = 0;
    for (const CString& text : texts)
        longest = std::max(longest, text.GetLength());
    const double k = t * 14.0 / 9.0;
    const double W = longest * t * 136.0 / 78.0;
    const double theta = tarn::cad::GetUcsAngle();
    const AcGeMatrix3d turn = AcGeMatrix3d::rotation(theta, AcGeVector3d::kZAxis, point);

    pGroup = new tarn::CEntsGroup();
    pGroup->SetSize(10, -1);

    AcDb::TextHorzMode horizontal = AcDb::kTextLeft;
    AcDb::TextVertMode vertical = AcDb::kTextBase;
    int column = 0; // of the anchor tables: 0 left, 1 centred, 2 right
    if (param.nAlign == 1) {
        horizontal = AcDb::kTextCenter;
        vertical = AcDb::kTextVertMid;
        column = 1;
    } else if (param.nAlign == 2) {
        horizontal = AcDb::kTextRight;
        column = 2;
    }

    const double x = point.x;
    const double y = point.y;
    const double z = point.z;
    auto at = [&](const Offset& offset) { return AcGePoint3d(x + offset.a, y + offset.b, z); };
    auto rule = [&](int slot, const Offset& from, const Offset& to) {
        auto* line = new AcDbLine(at(from), at(to));
        line->transformBy(turn);
        pGroup->SetAt(slot, line);
    };

    // Frame lines, then the anchors of X, Y, H, h for left, centred and right alignment.
    Offset anchors[4][3];
    if (param.nMode == 0) {
        rule(0, {0, k}, {W, k});
        rule(1, {0, 0}, {W, 0});
        rule(2, {0, -k}, {W, -k});
        rule(3, {0, k}, {0, -k});
        rule(4, {W / 2, k}, {W / 2, -k});
        rule(5, {W, k}, {W, -k});
        const Offset table[4][3] = {
            {{W / 20, k / 5}, {W / 4, k / 2}, {W / 2 - k / 2, k / 5}},
            {{W / 20, -4 * k / 5}, {W / 4, -k / 2}, {W / 2 - k / 2, -4 * k / 5}},
            {{W / 2 + W / 20, k / 5}, {3 * W / 4, k / 2}, {W - k / 2, k / 5}},
            {{W / 2 + W / 20, -4 * k / 5}, {3 * W / 4, -k / 2}, {W - k / 2, -4 * k / 5}},
        };
        std::copy(&table[0][0], &table[0][0] + 12, &anchors[0][0]);
    } else {
        const double W1 = W / 2;
        rule(0, {0, 2 * k}, {W1, 2 * k});
        rule(1, {0, 0}, {W1, 0});
        rule(2, {0, -2 * k}, {W1, -2 * k});
        rule(3, {0, 2 * k}, {0, -2 * k});
        rule(4, {W1, 2 * k}, {W1, -2 * k});
        // The rows of the right-aligned column are not evenly spaced, as the label always was.
        const Offset table[4][3] = {
            {{k / 2, k}, {W1 - 2.5 * k, 1.5 * k}, {W1 - k / 2, 1.05 * k}},
            {{k / 2, k / 5}, {W1 - 2.5 * k, k / 2}, {W1 - k / 2, k / 4}},
            {{k / 2, -0.9 * k}, {W1 - 2.5 * k, -k / 2}, {W1 - k / 2, -0.9 * k}},
            {{k / 2, -1.8 * k}, {W1 - 2.5 * k, -1.5 * k}, {W1 - k / 2, -1.75 * k}},
        };
        std::copy(&table[0][0], &table[0][0] + 12, &anchors[0][0]);
    }

    for (int i = 0; i < 4; ++i) {
        auto* text = new AcDbText(point, texts[i], style, t, theta);
        text->setHorizontalMode(horizontal);
        text->setVerticalMode(vertical);
        AcGePoint3d anchor = at(anchors[i][column]);
        anchor.transformBy(turn);
        text->setPosition(anchor);
        text->setAlignmentPoint(anchor);
        pGroup->SetAt(6 + i, text);
    }
}
