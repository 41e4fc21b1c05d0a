// Tests of selection filters: the filter grammar, matching against entities and compile errors.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "acutads.h"
#include "selection/ResultBuffers.h"
#include "selection/SelectionFilter.h"

using arxhost::FilterGroup;
using arxhost::FilterSubject;
using arxhost::FilterValue;
using arxhost::ResbufChain;
using arxhost::SelectionFilter;

namespace {

FilterSubject entity(std::vector<FilterGroup> groups, std::vector<std::wstring> apps = {})
{
    FilterSubject subject;
    subject.groups = std::move(groups);
    subject.xdataApps = std::move(apps);
    return subject;
}

FilterSubject typed(const wchar_t* type, const wchar_t* layer = L"0")
{
    return entity({{0, std::wstring(type)}, {8, std::wstring(layer)}});
}

// Compiles a list made by acutBuildList (and releases it); a failure is reported at the caller.
SelectionFilter compileList(resbuf* list)
{
    ResbufChain owner(list);
    if (owner == nullptr) {
        ADD_FAILURE() << "acutBuildList refused the filter list";
        return SelectionFilter {};
    }
    auto result = SelectionFilter::compile(owner.get());
    if (!result) {
        ADD_FAILURE() << "filter " << arxhost::describe(owner.get()) << " did not compile: " << result.error;
        return SelectionFilter {};
    }
    return std::move(*result.filter);
}

struct SubjectCase {
    const wchar_t* label;
    FilterSubject subject;
    bool expected;
};

void expectMatches(const SelectionFilter& filter, const std::vector<SubjectCase>& cases)
{
    for (const SubjectCase& c : cases)
        EXPECT_EQ(filter.matches(c.subject), c.expected) << testing::PrintToString(std::wstring(c.label));
}

std::vector<SubjectCase> curveTypeCases()
{
    return {
        {L"ARC", typed(L"ARC"), true},
        {L"LWPOLYLINE", typed(L"LWPOLYLINE"), true},
        {L"POLYLINE", typed(L"POLYLINE"), true},
        {L"LINE", typed(L"LINE"), false},
        {L"TEXT", typed(L"TEXT"), false},
        {L"no type", entity({{8, std::wstring(L"0")}}), false},
    };
}

TEST(SelectionFilter, TypeListsIgnoreCase)
{
    for (const wchar_t* types : {L"ARC,LWPOLYLINE,POLYLINE", L"arc,LwPolyline,polyline"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(types)));
        expectMatches(compileList(acutBuildList(RTDXF0, types, 0)), curveTypeCases());
    }
}

TEST(SelectionFilter, PlainGroupZeroActsLikeRtdxf0)
{
    ResbufChain list(acutNewRb(0));
    arxhost::setString(list.get(), L"LINE");
    auto result = SelectionFilter::compile(list.get());
    ASSERT_TRUE(result) << result.error;
    EXPECT_TRUE(result.filter->matches(typed(L"LINE")));
    EXPECT_FALSE(result.filter->matches(typed(L"ARC")));
}

TEST(SelectionFilter, NestedAndOr)
{
    expectMatches(compileList(acutBuildList(-4, L"<AND", -4, L"<OR", RTDXF0, L"ARC", RTDXF0, L"LWPOLYLINE",
                      RTDXF0, L"POLYLINE", -4, L"OR>", -4, L"AND>", 0)),
        curveTypeCases());

    const SelectionFilter roadCurves = compileList(acutBuildList(-4, L"<and", -4, L"<or", RTDXF0, L"ARC",
        RTDXF0, L"LWPOLYLINE", -4, L"or>", -4, L"<OR", 8, L"DL-*", 62, 1, -4, L"OR>", -4, L"and>", 0));
    expectMatches(roadCurves,
        {
            {L"arc on road layer", typed(L"ARC", L"DL-道路边线"), true},
            {L"red arc elsewhere", entity({{0, std::wstring(L"ARC")}, {8, std::wstring(L"0")}, {62, 1LL}}),
                true},
            {L"arc elsewhere", typed(L"ARC", L"0"), false},
            {L"line on road layer", typed(L"LINE", L"DL-道路边线"), false},
        });
}

TEST(SelectionFilter, LayerListsWithChineseNames)
{
    const SelectionFilter filter = compileList(acutBuildList(8, L"DL-道路边线,DL-道路红线", 0));
    expectMatches(filter,
        {
            {L"edge", typed(L"LINE", L"DL-道路边线"), true},
            {L"red line", typed(L"LWPOLYLINE", L"DL-道路红线"), true},
            {L"lower case prefix", typed(L"LINE", L"dl-道路红线"), true},
            {L"centre line", typed(L"LINE", L"DL-道路中线"), false},
            {L"no prefix", typed(L"LINE", L"道路红线"), false},
            {L"longer name", typed(L"LINE", L"DL-道路红线2"), false},
        });
}

TEST(SelectionFilter, TextAlternatives)
{
    const SelectionFilter filter = compileList(acutBuildList(RTDXF0, L"TEXT", 1, L"*Q*,*FQ*", 0));
    auto text = [](const wchar_t* value) {
        return entity({{0, std::wstring(L"TEXT")}, {1, std::wstring(value)}});
    };
    expectMatches(filter,
        {
            {L"Q 15", text(L"Q 15"), true},
            {L"FQ12.50", text(L"FQ12.50"), true},
            {L"q5", text(L"q5"), true},
            {L"R-12", text(L"R-12"), false},
            {L"MTEXT with Q", entity({{0, std::wstring(L"MTEXT")}, {1, std::wstring(L"Q 15")}}), false},
        });
}

TEST(SelectionFilter, ExtendedDataApplications)
{
    const FilterSubject road = entity({{0, std::wstring(L"LWPOLYLINE")}}, {L"FAPP_ROAD", L"GIS_DATA"});
    const FilterSubject plain = entity({{0, std::wstring(L"LWPOLYLINE")}});
    const FilterSubject other = entity({{0, std::wstring(L"LWPOLYLINE")}}, {L"OTHER"});

    struct Case {
        const wchar_t* label;
        std::function<resbuf*()> build;
        bool road;
        bool plain;
        bool other;
    };
    const Case cases[] = {
        {L"exact", [] { return acutBuildList(-3, 1001, L"FAPP_ROAD", 0); }, true, false, false},
        {L"any case", [] { return acutBuildList(-3, 1001, L"fapp_road", 0); }, true, false, false},
        {L"wildcard", [] { return acutBuildList(-3, 1001, L"FAPP_*", 0); }, true, false, false},
        {L"second app", [] { return acutBuildList(-3, 1001, L"GIS_*", 0); }, true, false, false},
        {L"comma list", [] { return acutBuildList(-3, 1001, L"NONE,OTHER", 0); }, false, false, true},
        {L"both required", [] { return acutBuildList(-3, 1001, L"FAPP_ROAD", 1001, L"GIS_DATA", 0); }, true,
            false, false},
        {L"one missing", [] { return acutBuildList(-3, 1001, L"FAPP_ROAD", 1001, L"OTHER", 0); }, false,
            false, false},
        {L"with a type", [] { return acutBuildList(RTDXF0, L"LWPOLYLINE", -3, 1001, L"FAPP_*", 0); }, true,
            false, false},
        {L"negated", [] { return acutBuildList(-4, L"<NOT", -3, 1001, L"FAPP_*", -4, L"NOT>", 0); }, false,
            true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.label)));
        const SelectionFilter filter = compileList(c.build());
        EXPECT_TRUE(filter.testsXdata());
        EXPECT_EQ(filter.matches(road), c.road);
        EXPECT_EQ(filter.matches(plain), c.plain);
        EXPECT_EQ(filter.matches(other), c.other);
    }
}

TEST(SelectionFilter, NotAndXor)
{
    const FilterSubject redOnA = entity({{8, std::wstring(L"A")}, {62, 1LL}});
    const FilterSubject blueOnA = entity({{8, std::wstring(L"A")}, {62, 5LL}});
    const FilterSubject redOnB = entity({{8, std::wstring(L"B")}, {62, 1LL}});
    const FilterSubject noColourOnB = entity({{8, std::wstring(L"B")}});

    const SelectionFilter exclusive = compileList(acutBuildList(-4, L"<XOR", 8, L"A", 62, 1, -4, L"XOR>", 0));
    EXPECT_FALSE(exclusive.matches(redOnA));
    EXPECT_TRUE(exclusive.matches(blueOnA));
    EXPECT_TRUE(exclusive.matches(redOnB));
    EXPECT_FALSE(exclusive.matches(noColourOnB));

    // An entity without the tested group fails the test, so it passes its NOT.
    const SelectionFilter notRed = compileList(acutBuildList(-4, L"<NOT", 62, 1, -4, L"NOT>", 0));
    EXPECT_FALSE(notRed.matches(redOnA));
    EXPECT_TRUE(notRed.matches(blueOnA));
    EXPECT_TRUE(notRed.matches(noColourOnB));

    const SelectionFilter notRedOrOnA
        = compileList(acutBuildList(-4, L"<NOT", -4, L"<OR", 8, L"A", 62, 1, -4, L"OR>", -4, L"NOT>", 0));
    EXPECT_FALSE(notRedOrOnA.matches(blueOnA));
    EXPECT_FALSE(notRedOrOnA.matches(redOnB));
    EXPECT_TRUE(notRedOrOnA.matches(noColourOnB));
}

TEST(SelectionFilter, RelationalTestsOnColour)
{
    struct Case {
        const wchar_t* op;
        int operand;
        bool forColour3;
    };
    const Case cases[] = {
        {L"=", 3, true}, {L"=", 5, false}, {L"!=", 3, false}, {L"/=", 5, true}, {L"<>", 5, true},
        {L"<>", 3, false}, {L"<", 5, true}, {L"<", 3, false}, {L"<=", 3, true}, {L"<=", 2, false},
        {L">", 2, true}, {L">", 3, false}, {L">=", 3, true}, {L">=", 4, false}, {L"*", 99, true},
        {L" >= ", 3, true}, // spaces around the operator are ignored
    };
    const FilterSubject green = entity({{62, 3LL}});
    const FilterSubject uncoloured = entity({});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.op)) + " " + std::to_string(c.operand));
        const SelectionFilter filter = compileList(acutBuildList(-4, c.op, 62, c.operand, 0));
        EXPECT_EQ(filter.matches(green), c.forColour3);
        // Only "*" accepts an entity that lacks the group.
        EXPECT_EQ(filter.matches(uncoloured), std::wstring(c.op) == L"*");
    }
}

TEST(SelectionFilter, BitwiseTestsOnFlags)
{
    struct Case {
        const wchar_t* op;
        int mask;
        bool forFlags5;
    };
    const Case cases[] = {
        {L"&", 4, true},
        {L"&", 2, false},
        {L"&", 6, true},
        {L"&=", 5, true},
        {L"&=", 4, true},
        {L"&=", 7, false},
    };
    const FilterSubject closedPlinegen = entity({{70, 5LL}});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.op)) + " " + std::to_string(c.mask));
        EXPECT_EQ(compileList(acutBuildList(-4, c.op, 70, c.mask, 0)).matches(closedPlinegen), c.forFlags5);
    }
}

TEST(SelectionFilter, RelationalTestsOnPoints)
{
    ads_point corner = {1.0, 2.0, 0.0};
    struct Case {
        const wchar_t* op;
        std::array<double, 3> point;
        bool expected;
    };
    const Case cases[] = {
        {L">,>,*", {3, 4, -9}, true},
        {L">,>,*", {0, 4, 0}, false},
        {L">,>,*", {3, 2, 0}, false},
        {L"<,<", {0, 1, 100}, true}, // missing z is "*"
        {L">=,<=,=", {1, 2, 0}, true},
        {L"=", {1, 2, 0}, true},
        {L"=", {1 + 1e-12, 2, 0}, true},
        {L"=", {1.001, 2, 0}, false},
        {L"!=", {1, 2, 0}, false},
        {L"!=", {1, 5, 0}, false}, // each coordinate must differ
        {L"!=", {5, 5, 5}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.op)));
        const SelectionFilter filter = compileList(acutBuildList(-4, c.op, 10, corner, 0));
        EXPECT_EQ(filter.matches(entity({{10, c.point}})), c.expected)
            << c.point[0] << "," << c.point[1] << "," << c.point[2];
    }
    // Without an operator a point group tests equality.
    const SelectionFilter at = compileList(acutBuildList(10, corner, 0));
    EXPECT_TRUE(at.matches(entity({{10, std::array<double, 3> {1, 2, 0}}})));
    EXPECT_FALSE(at.matches(entity({{10, std::array<double, 3> {1, 2, 1}}})));
    EXPECT_FALSE(at.matches(entity({{11, std::array<double, 3> {1, 2, 0}}})));
}

TEST(SelectionFilter, RealsCompareWithRelativeTolerance)
{
    const SelectionFilter height = compileList(acutBuildList(40, 2.5, 0));
    EXPECT_TRUE(height.matches(entity({{40, 2.5 * (1 + 1e-12)}})));
    EXPECT_FALSE(height.matches(entity({{40, 2.5001}})));
    EXPECT_TRUE(height.matches(entity({{40, std::int64_t {0} + 2.5}})));

    const SelectionFilter large = compileList(acutBuildList(40, 1.0e9, 0));
    EXPECT_TRUE(large.matches(entity({{40, 1.0e9 + 0.01}}))); // within 1e-10 of 1e9
    EXPECT_FALSE(large.matches(entity({{40, 1.0e9 + 1.0}})));

    const SelectionFilter below = compileList(acutBuildList(-4, L"<", 40, 2.5, 0));
    EXPECT_TRUE(below.matches(entity({{40, 2.4}})));
    EXPECT_FALSE(below.matches(entity({{40, 2.5 + 1e-13}})));
    EXPECT_FALSE(below.matches(entity({{40, 2.5 - 1e-13}}))); // equal within tolerance
}

TEST(SelectionFilter, SubjectValuesOfAnotherKind)
{
    const SelectionFilter red = compileList(acutBuildList(62, 1, 0));
    EXPECT_TRUE(red.matches(entity({{62, 1.0}})));
    EXPECT_FALSE(red.matches(entity({{62, std::wstring(L"1")}})));
    const SelectionFilter onLayer = compileList(acutBuildList(8, L"1", 0));
    EXPECT_FALSE(onLayer.matches(entity({{8, 1LL}})));
}

TEST(SelectionFilter, EmptyFilterMatchesEverything)
{
    auto result = SelectionFilter::compile(nullptr);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result.filter->matches(typed(L"LINE")));
    EXPECT_TRUE(result.filter->matches(entity({})));
    EXPECT_TRUE(result.filter->testedCodes().empty());
    EXPECT_FALSE(result.filter->testsXdata());
}

// A subject that records what the filter asks for.
class CountingSubject final : public arxhost::FilterSubjectSource {
public:
    explicit CountingSubject(FilterSubject inner)
        : mInner(std::move(inner))
    {
    }
    bool group(short code, FilterValue& out) const override
    {
        asked.push_back(code);
        return mInner.group(code, out);
    }
    bool hasXdataApp(const arxhost::WildcardPattern& app) const override
    {
        ++xdataQuestions;
        return mInner.hasXdataApp(app);
    }
    mutable std::vector<short> asked;
    mutable int xdataQuestions = 0;

private:
    FilterSubject mInner;
};

TEST(SelectionFilter, AsksOnlyForWhatItTests)
{
    const SelectionFilter filter = compileList(acutBuildList(
        -4, L"<OR", RTDXF0, L"ARC", 8, L"DL-*", -4, L"OR>", 62, 1, -3, 1001, L"FAPP_*", 8, L"X", 0));
    EXPECT_EQ(filter.testedCodes(), (std::vector<short> {0, 8, 62}));
    EXPECT_TRUE(filter.testsXdata());

    CountingSubject arc(entity({{0, std::wstring(L"ARC")}, {8, std::wstring(L"X")}, {62, 5LL}}));
    EXPECT_FALSE(filter.matches(arc));
    EXPECT_EQ(arc.asked, (std::vector<short> {0, 62})); // the OR stops at ARC, the AND at colour 5
    EXPECT_EQ(arc.xdataQuestions, 0);
}

struct ErrorCase {
    const char* label;
    std::function<resbuf*()> build;
    const wchar_t* message; // a part of the expected message
};

TEST(SelectionFilter, MalformedFiltersAreRefused)
{
    ads_name name = {1, 2};
    ads_point origin = {0, 0, 0};
    const ErrorCase cases[] = {
        {"unclosed", [] { return acutBuildList(-4, L"<AND", RTDXF0, L"LINE", 0); }, L"is not closed by AND>"},
        {"closing only", [] { return acutBuildList(RTDXF0, L"LINE", -4, L"OR>", 0); },
            L"filter item 2 (-4 . \"OR>\"): OR> has no matching <OR"},
        {"crossed", [] { return acutBuildList(-4, L"<AND", -4, L"<OR", 62, 1, -4, L"AND>", -4, L"OR>", 0); },
            L"AND> cannot close <OR"},
        {"unknown logic", [] { return acutBuildList(-4, L"<NAND", 62, 1, -4, L"NAND>", 0); },
            L"unknown operator"},
        {"unknown relation", [] { return acutBuildList(-4, L"=>", 62, 1, 0); }, L"unknown operator"},
        {"empty part", [&origin] { return acutBuildList(-4, L">,,>", 10, origin, 0); }, L"unknown operator"},
        {"xor of one", [] { return acutBuildList(-4, L"<XOR", 62, 1, -4, L"XOR>", 0); },
            L"exactly two operands"},
        {"xor of three", [] { return acutBuildList(-4, L"<XOR", 62, 1, 8, L"A", 6, L"X", -4, L"XOR>", 0); },
            L"exactly two operands, 3"},
        {"not of two", [] { return acutBuildList(-4, L"<NOT", 62, 1, 8, L"A", -4, L"NOT>", 0); },
            L"exactly one operand"},
        {"empty and", [] { return acutBuildList(-4, L"<AND", -4, L"AND>", 0); }, L"is empty"},
        {"relation at the end", [] { return acutBuildList(RTDXF0, L"LINE", -4, L">", 0); }, L"tests nothing"},
        {"relation before logic", [] { return acutBuildList(-4, L">", -4, L"<AND", 62, 1, -4, L"AND>", 0); },
            L"must be followed by a group"},
        {"relation before xdata", [] { return acutBuildList(-4, L"=", -3, 1001, L"A", 0); },
            L"must be followed by a group"},
        {"bare -3", [] { return acutBuildList(RTDXF0, L"LINE", -3, 0); }, L"one or more application names"},
        {"stray 1001", [] { return acutBuildList(1001, L"FAPP", 0); }, L"must follow a -3"},
        {"ordering text", [] { return acutBuildList(-4, L">", 8, L"A", 0); }, L"text groups take only"},
        {"bits of a real", [] { return acutBuildList(-4, L"&", 40, 1.0, 0); }, L"integer groups only"},
        {"bits of a point", [&origin] { return acutBuildList(-4, L"&", 10, origin, 0); },
            L"integer groups only"},
        {"list on a scalar", [] { return acutBuildList(-4, L">,>", 62, 1, 0); }, L"point groups only"},
        {"four coordinates", [&origin] { return acutBuildList(-4, L">,>,>,>", 10, origin, 0); },
            L"at most three"},
        {"ads type code", [] { return acutBuildList(RTSTR, L"LINE", 0); }, L"not a group code"},
        {"entity name", [&name] { return acutBuildList(-1, name, 0); }, L"entity names cannot be tested"},
        {"no value", [] { return acutNewRb(18); }, L"no value a filter can test"},
        {"operator without text", [] { return acutNewRb(-4); }, L"has no text"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.label);
        ResbufChain list(c.build());
        ASSERT_NE(list, nullptr);
        const auto result = SelectionFilter::compile(list.get());
        EXPECT_FALSE(result) << "compiled: " << arxhost::describe(list.get());
        EXPECT_NE(result.error.find(c.message), std::wstring::npos) << testing::PrintToString(
            result.error) << " lacks " << testing::PrintToString(std::wstring(c.message));
    }
}

} // namespace
