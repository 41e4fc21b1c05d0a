// Reading typed answers: numbers, points in the host's coordinate syntax, angles and keywords.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gepnt3d.h"

namespace arxhost {

// A whole answer as a real number ("12", "-0.5", "1e3"); nothing when any character is left over.
std::optional<double> parseNumber(const std::wstring& text);
std::optional<long long> parseInteger(const std::wstring& text);

// A point as typed: "x,y" or "x,y,z" (z from the base or 0), "@dx,dy[,dz]" relative to the last
// point, "dist<angle" polar from the origin, "@dist<angle" polar from the last point, a leading
// "*" for world coordinates (converted by the caller). Coordinates are in the current UCS.
struct TypedPoint {
    AcGePoint3d point;
    bool world = false;
};
std::optional<TypedPoint> parsePoint(const std::wstring& text, const AcGePoint3d& lastPoint);

// Keyword lists as given to acedInitGet: "Yes No" or "Local1 Local2 _ Global1 Global2". Capital
// letters mark a keyword's abbreviation; the user may type the abbreviation, the whole keyword or
// anything in between, without regard to case.
class KeywordList {
public:
    KeywordList() = default;
    explicit KeywordList(const std::wstring& keywords);
    bool empty() const { return mLocal.empty(); }
    // The global keyword the answer stands for.
    std::optional<std::wstring> match(const std::wstring& answer) const;
    const std::vector<std::wstring>& local() const { return mLocal; }

private:
    std::vector<std::wstring> mLocal;
    std::vector<std::wstring> mGlobal;
};

// Trims blanks from both ends.
std::wstring trimmed(const std::wstring& text);

} // namespace arxhost
