// Selection filters: a resbuf filter list compiled once, then tested against many entities.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "adsdef.h"
#include "selection/Wildcard.h"

namespace arxhost {

// A group value as an entity offers it: text (type name, layer, text string, style ...), real,
// integer (shorts, longs and 64-bit values alike) or 3D point.
using FilterValue = std::variant<std::wstring, double, std::int64_t, std::array<double, 3>>;

struct FilterGroup {
    short code = 0;
    FilterValue value;
};

// The entity side of a filter test. The filter asks only for the groups it tests (usually one or
// two, see SelectionFilter::testedCodes), so an entity answers on demand instead of building its
// whole group list: the editor implements this over the open entity, tests use FilterSubject.
// Conventions the entity side keeps so that filters written for the host behave the same:
//   - group 0 is the DXF type name in capitals ("LINE", "LWPOLYLINE", "POLYLINE", "ARC", "TEXT",
//     "DIMENSION", "INSERT", ...); 8 layer, 6 linetype, 7 text style, 1 text, 62 colour
//     (256 for BYLAYER, 0 for BYBLOCK), 10 first point, 40 height or radius, and so on;
//   - a group the entity has under the DXF rules is offered even when it holds the default value
//     (62 = 256, 6 = "BYLAYER"), because a filter on it is expected to match;
//   - integers are offered as std::int64_t, reals as double, points as three coordinates (WCS).
class FilterSubjectSource {
public:
    FilterSubjectSource() = default;
    FilterSubjectSource(const FilterSubjectSource&) = default;
    FilterSubjectSource& operator=(const FilterSubjectSource&) = default;
    virtual ~FilterSubjectSource() = default;

    // The entity's value of group `code` (the first one when the group repeats, as the vertices
    // of a polyline do); false when the entity has no such group.
    virtual bool group(short code, FilterValue& out) const = 0;
    // Whether the entity carries extended data of an application whose name matches `app`.
    virtual bool hasXdataApp(const WildcardPattern& app) const = 0;
};

// A subject with every group spelled out: simple to fill, for tests and small callers.
struct FilterSubject final : FilterSubjectSource {
    std::vector<FilterGroup> groups;
    std::vector<std::wstring> xdataApps; // registered application names, as stored

    bool group(short code, FilterValue& out) const override;
    bool hasXdataApp(const WildcardPattern& app) const override;
};

struct FilterCompilation;

namespace detail {
struct FilterNode; // the compiled test tree, private to the implementation
} // namespace detail

// A compiled selection filter. Grammar of the resbuf list it is compiled from:
//   - groups side by side are an implicit AND; an empty (null) list matches every entity;
//   - -4 "<AND" ... "AND>" and "<OR" ... "OR>" take one or more operands, "<XOR" ... "XOR>"
//     exactly two, "<NOT" ... "NOT>" exactly one; they nest to any depth; operator text is
//     matched without regard to case;
//   - -4 with a relational operator applies to the group after it: "*" (always true, even for
//     an entity without the group), "=", "!=", "/=", "<>", "<", "<=", ">", ">=", "&" (bitwise
//     and non-zero, integers only), "&=" (all the filter's bits set, integers only). A point
//     group takes one operator for all coordinates or a comma list per coordinate (">,>,*"; a
//     missing z is "*"). Text groups accept only "*", "=" and the not-equal forms;
//   - without an operator, text groups (0-9, 100-109, 300-309, 1000-1009 ...) match as wildcard
//     patterns ignoring case, because the host compares names without regard to case ("arc"
//     finds ARC, "dl-*" finds layer DL-道路边线); comma lists list alternatives. Integer groups
//     compare exactly, reals and point coordinates within 1e-10 relative to the larger
//     magnitude (absolute 1e-10 below magnitude 1);
//   - -3 followed by one or more 1001 groups: the entity must carry extended data of each listed
//     application; each 1001 value is a wildcard pattern (ignoring case), a comma list within one
//     value matching any of its names;
//   - group 0 is written RTDXF0 (restype 5020) in lists made by acutBuildList; 0 is accepted too.
// An entity without a tested group fails that test (so it passes the test's NOT).
class SelectionFilter {
public:
    SelectionFilter(); // matches everything
    SelectionFilter(SelectionFilter&&) noexcept;
    SelectionFilter& operator=(SelectionFilter&&) noexcept;
    ~SelectionFilter();

    // Compiles a filter list; on failure the result carries a message naming the faulty item.
    static FilterCompilation compile(const resbuf* filter);

    bool matches(const FilterSubjectSource& subject) const;

    // The group codes the filter may ask a subject for, sorted, each once.
    const std::vector<short>& testedCodes() const;
    // Whether the filter asks about extended-data applications.
    bool testsXdata() const;

private:
    std::unique_ptr<detail::FilterNode> mRoot;
    std::vector<short> mTestedCodes;
    bool mTestsXdata = false;
};

struct FilterCompilation {
    std::optional<SelectionFilter> filter; // set when the list compiled
    std::wstring error; // why it did not, otherwise empty

    explicit operator bool() const { return filter.has_value(); }
};

} // namespace arxhost
