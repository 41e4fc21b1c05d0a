// Selection filter compilation (resbuf list to a test tree) and evaluation against entities.
#include "selection/SelectionFilter.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "adscodes.h"
#include "selection/ResultBuffers.h"

namespace arxhost {

namespace {

enum class Relation { Any, Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, BitsAny, BitsAll };

std::optional<Relation> relationFromText(std::wstring_view text)
{
    static constexpr std::pair<std::wstring_view, Relation> names[] = {
        {L"*", Relation::Any},
        {L"=", Relation::Equal},
        {L"!=", Relation::NotEqual},
        {L"/=", Relation::NotEqual},
        {L"<>", Relation::NotEqual},
        {L"<", Relation::Less},
        {L"<=", Relation::LessEqual},
        {L">", Relation::Greater},
        {L">=", Relation::GreaterEqual},
        {L"&", Relation::BitsAny},
        {L"&=", Relation::BitsAll},
    };
    for (const auto& [name, relation] : names) {
        if (name == text)
            return relation;
    }
    return std::nullopt;
}

bool nearlyEqual(double a, double b)
{
    return std::fabs(a - b) <= 1e-10 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

bool compareReal(Relation relation, double value, double operand)
{
    const bool equal = nearlyEqual(value, operand);
    switch (relation) {
    case Relation::Any:
        return true;
    case Relation::Equal:
        return equal;
    case Relation::NotEqual:
        return !equal;
    case Relation::Less:
        return value < operand && !equal;
    case Relation::LessEqual:
        return value < operand || equal;
    case Relation::Greater:
        return value > operand && !equal;
    case Relation::GreaterEqual:
        return value > operand || equal;
    case Relation::BitsAny:
    case Relation::BitsAll:
        return false; // refused at compilation
    }
    return false;
}

bool compareInteger(Relation relation, std::int64_t value, std::int64_t operand)
{
    switch (relation) {
    case Relation::Any:
        return true;
    case Relation::Equal:
        return value == operand;
    case Relation::NotEqual:
        return value != operand;
    case Relation::Less:
        return value < operand;
    case Relation::LessEqual:
        return value <= operand;
    case Relation::Greater:
        return value > operand;
    case Relation::GreaterEqual:
        return value >= operand;
    case Relation::BitsAny:
        return (value & operand) != 0;
    case Relation::BitsAll:
        return (value & operand) == operand;
    }
    return false;
}

std::wstring upperAscii(std::wstring_view text)
{
    std::wstring out(text);
    for (wchar_t& c : out) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return out;
}

std::wstring_view trimSpaces(std::wstring_view text)
{
    while (!text.empty() && text.front() == L' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ')
        text.remove_suffix(1);
    return text;
}

// One item of the list as the error messages show it, e.g. (-4 . "OR>").
std::wstring itemText(const resbuf& rb)
{
    resbuf alone = rb;
    alone.rbnext = nullptr;
    const std::wstring dump = describe(&alone);
    return dump.substr(1, dump.size() - 2);
}

enum class Logic { And, Or, Xor, Not };

struct LogicName {
    std::wstring_view open;
    std::wstring_view close;
    Logic logic;
};
constexpr LogicName logicNames[] = {
    {L"<AND", L"AND>", Logic::And},
    {L"<OR", L"OR>", Logic::Or},
    {L"<XOR", L"XOR>", Logic::Xor},
    {L"<NOT", L"NOT>", Logic::Not},
};

} // namespace

struct detail::FilterNode {
    using Node = FilterNode;

    enum class Kind { Logic, Group, Xdata };
    enum class Operand { Text, Integer, Real, Point };

    Kind kind = Kind::Logic;

    // Logic
    Logic logic = Logic::And;
    std::vector<Node> operands;

    // Group: one relation, or one per coordinate for points.
    short code = 0;
    Operand operand = Operand::Text;
    std::array<Relation, 3> relations {Relation::Equal, Relation::Equal, Relation::Equal};
    WildcardPattern pattern;
    std::int64_t integer = 0;
    std::array<double, 3> reals {};

    // Xdata: every pattern must name an application the entity carries.
    std::vector<WildcardPattern> apps;

    bool alwaysTrue() const
    {
        const std::size_t used = operand == Operand::Point ? 3 : 1;
        return std::all_of(relations.begin(), relations.begin() + static_cast<std::ptrdiff_t>(used),
            [](Relation r) { return r == Relation::Any; });
    }

    bool test(const FilterSubjectSource& subject) const
    {
        switch (kind) {
        case Kind::Logic:
            return testLogic(subject);
        case Kind::Xdata:
            return std::all_of(apps.begin(), apps.end(),
                [&subject](const WildcardPattern& app) { return subject.hasXdataApp(app); });
        case Kind::Group:
            return testGroup(subject);
        }
        return false;
    }

    bool testLogic(const FilterSubjectSource& subject) const
    {
        switch (logic) {
        case Logic::And:
            return std::all_of(
                operands.begin(), operands.end(), [&](const Node& n) { return n.test(subject); });
        case Logic::Or:
            return std::any_of(
                operands.begin(), operands.end(), [&](const Node& n) { return n.test(subject); });
        case Logic::Xor:
            return operands[0].test(subject) != operands[1].test(subject);
        case Logic::Not:
            return !operands[0].test(subject);
        }
        return false;
    }

    bool testGroup(const FilterSubjectSource& subject) const
    {
        if (alwaysTrue())
            return true;
        FilterValue value;
        if (!subject.group(code, value))
            return false;
        switch (operand) {
        case Operand::Text:
            if (const auto* text = std::get_if<std::wstring>(&value))
                return pattern.matches(*text) == (relations[0] == Relation::Equal);
            return false;
        case Operand::Integer:
            if (const auto* number = std::get_if<std::int64_t>(&value))
                return compareInteger(relations[0], *number, integer);
            if (const auto* number = std::get_if<double>(&value)) {
                // A real where an integer was expected compares by value; bit tests need an
                // integral value.
                if (relations[0] == Relation::BitsAny || relations[0] == Relation::BitsAll) {
                    return std::nearbyint(*number) == *number
                        && compareInteger(relations[0], static_cast<std::int64_t>(*number), integer);
                }
                return compareReal(relations[0], *number, static_cast<double>(integer));
            }
            return false;
        case Operand::Real:
            if (const auto* number = std::get_if<double>(&value))
                return compareReal(relations[0], *number, reals[0]);
            if (const auto* number = std::get_if<std::int64_t>(&value))
                return compareReal(relations[0], static_cast<double>(*number), reals[0]);
            return false;
        case Operand::Point:
            if (const auto* point = std::get_if<std::array<double, 3>>(&value)) {
                for (std::size_t axis = 0; axis < 3; ++axis) {
                    if (!compareReal(relations[axis], (*point)[axis], reals[axis]))
                        return false;
                }
                return true;
            }
            return false;
        }
        return false;
    }
};

namespace {

using Node = detail::FilterNode;

// Recursive descent over the list items; the first error stops the compilation.
class FilterParser {
public:
    explicit FilterParser(const resbuf* chain)
    {
        for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext)
            mItems.push_back(rb);
    }

    std::optional<Node> parse()
    {
        Node root;
        root.kind = Node::Kind::Logic;
        root.logic = Logic::And;
        while (mPos < mItems.size()) {
            if (auto term = parseTerm())
                root.operands.push_back(std::move(*term));
            else
                return std::nullopt;
        }
        return root;
    }

    const std::wstring& error() const { return mError; }
    const std::vector<short>& testedCodes() const { return mCodes; }
    bool testsXdata() const { return mTestsXdata; }

private:
    std::nullopt_t fail(std::size_t index, const std::wstring& why)
    {
        mError = L"filter item " + std::to_wstring(index + 1) + L" " + itemText(*mItems[index]) + L": " + why;
        return std::nullopt;
    }

    std::nullopt_t failAtEnd(const std::wstring& why)
    {
        mError = L"filter list ends early: " + why;
        return std::nullopt;
    }

    static short groupCode(const resbuf& rb) { return rb.restype == RTDXF0 ? short {0} : rb.restype; }

    static bool isOperator(const resbuf& rb) { return rb.restype == -4; }

    static std::wstring operatorText(const resbuf& rb)
    {
        return rb.resval.rstring == nullptr ? std::wstring() : upperAscii(trimSpaces(rb.resval.rstring));
    }

    static const LogicName* opening(const std::wstring& text)
    {
        for (const LogicName& name : logicNames) {
            if (name.open == text)
                return &name;
        }
        return nullptr;
    }

    static const LogicName* closing(const std::wstring& text)
    {
        for (const LogicName& name : logicNames) {
            if (name.close == text)
                return &name;
        }
        return nullptr;
    }

    std::optional<Node> parseTerm()
    {
        const std::size_t index = mPos;
        const resbuf& rb = *mItems[index];
        if (isOperator(rb)) {
            if (rb.resval.rstring == nullptr)
                return fail(index, L"the operator has no text");
            const std::wstring text = operatorText(rb);
            if (const LogicName* name = opening(text))
                return parseLogic(*name);
            if (const LogicName* name = closing(text)) {
                return fail(index,
                    std::wstring(name->close) + L" has no matching " + std::wstring(name->open)
                        + L" before it");
            }
            return parseRelational();
        }
        if (rb.restype == -3)
            return parseXdata();
        if (rb.restype == 1001)
            return fail(index, L"an application name (1001) must follow a -3 group");
        ++mPos;
        return makeGroupTest(index, nullptr);
    }

    std::optional<Node> parseLogic(const LogicName& name)
    {
        const std::size_t openedAt = mPos++;
        Node node;
        node.kind = Node::Kind::Logic;
        node.logic = name.logic;
        for (;;) {
            if (mPos >= mItems.size()) {
                return failAtEnd(std::wstring(name.open) + L" at item " + std::to_wstring(openedAt + 1)
                    + L" is not closed by " + std::wstring(name.close));
            }
            const resbuf& rb = *mItems[mPos];
            if (isOperator(rb) && rb.resval.rstring != nullptr) {
                if (const LogicName* closer = closing(operatorText(rb))) {
                    if (closer != &name) {
                        return fail(mPos,
                            std::wstring(closer->close) + L" cannot close " + std::wstring(name.open)
                                + L" opened at item " + std::to_wstring(openedAt + 1));
                    }
                    break;
                }
            }
            auto operand = parseTerm();
            if (!operand)
                return std::nullopt;
            node.operands.push_back(std::move(*operand));
        }
        const std::size_t closedAt = mPos++;
        const std::size_t count = node.operands.size();
        if (count == 0)
            return fail(
                closedAt, std::wstring(name.open) + L" ... " + std::wstring(name.close) + L" is empty");
        if (name.logic == Logic::Xor && count != 2) {
            return fail(
                closedAt, L"<XOR takes exactly two operands, " + std::to_wstring(count) + L" were given");
        }
        if (name.logic == Logic::Not && count != 1) {
            return fail(
                closedAt, L"<NOT takes exactly one operand, " + std::to_wstring(count) + L" were given");
        }
        return node;
    }

    std::optional<Node> parseRelational()
    {
        const std::size_t index = mPos++;
        const std::wstring text = operatorText(*mItems[index]);
        std::vector<Relation> relations;
        std::wstring_view rest = text;
        for (;;) {
            const std::size_t comma = rest.find(L',');
            const auto relation = relationFromText(trimSpaces(rest.substr(0, comma)));
            if (!relation)
                return fail(index, L"unknown operator");
            relations.push_back(*relation);
            if (comma == std::wstring_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
        if (relations.size() > 3)
            return fail(index, L"a point takes at most three relational operators");
        if (mPos >= mItems.size())
            return failAtEnd(
                L"the relational operator at item " + std::to_wstring(index + 1) + L" tests nothing");
        const resbuf& target = *mItems[mPos];
        if (isOperator(target) || target.restype == -3 || target.restype == 1001) {
            return fail(mPos,
                L"the relational operator at item " + std::to_wstring(index + 1)
                    + L" must be followed by a group to test");
        }
        const std::size_t targetIndex = mPos++;
        return makeGroupTest(targetIndex, &relations);
    }

    std::optional<Node> parseXdata()
    {
        const std::size_t index = mPos++;
        Node node;
        node.kind = Node::Kind::Xdata;
        while (mPos < mItems.size() && mItems[mPos]->restype == 1001) {
            const resbuf& app = *mItems[mPos];
            if (app.resval.rstring == nullptr)
                return fail(mPos, L"the application name has no text");
            node.apps.emplace_back(app.resval.rstring, true);
            ++mPos;
        }
        if (node.apps.empty())
            return fail(index, L"-3 must be followed by one or more application names (1001)");
        mTestsXdata = true;
        return node;
    }

    // A test of the group at `index`, with the given relations or plain equality.
    std::optional<Node> makeGroupTest(std::size_t index, const std::vector<Relation>* given)
    {
        const resbuf& rb = *mItems[index];
        if (rb.restype >= RTNONE && rb.restype != RTDXF0)
            return fail(index, L"a value type code is not a group code (write group 0 as RTDXF0)");
        Node node;
        node.kind = Node::Kind::Group;
        node.code = groupCode(rb);
        const ValueKind kind = valueKindOf(node.code);
        switch (kind) {
        case ValueKind::String:
            if (rb.resval.rstring == nullptr)
                return fail(index, L"the text group has no text");
            node.operand = Node::Operand::Text;
            node.pattern = WildcardPattern(rb.resval.rstring, true);
            break;
        case ValueKind::Short:
            node.operand = Node::Operand::Integer;
            node.integer = rb.resval.rint;
            break;
        case ValueKind::Long:
            node.operand = Node::Operand::Integer;
            node.integer = rb.resval.rlong;
            break;
        case ValueKind::Int64:
            node.operand = Node::Operand::Integer;
            node.integer = rb.resval.mnInt64;
            break;
        case ValueKind::Real:
            node.operand = Node::Operand::Real;
            node.reals[0] = rb.resval.rreal;
            break;
        case ValueKind::Point:
            node.operand = Node::Operand::Point;
            std::copy_n(rb.resval.rpoint, 3, node.reals.begin());
            break;
        case ValueKind::EntityName:
            return fail(index, L"entity names cannot be tested by a filter");
        case ValueKind::Binary:
            return fail(index, L"binary data cannot be tested by a filter");
        case ValueKind::None:
            return fail(index, L"this group carries no value a filter can test");
        }
        if (given != nullptr && !applyRelations(index, *given, node))
            return std::nullopt;
        mCodes.insert(std::lower_bound(mCodes.begin(), mCodes.end(), node.code), node.code);
        mCodes.erase(std::unique(mCodes.begin(), mCodes.end()), mCodes.end());
        return node;
    }

    bool applyRelations(std::size_t index, const std::vector<Relation>& given, Node& node)
    {
        const bool bitwise = std::any_of(given.begin(), given.end(),
            [](Relation r) { return r == Relation::BitsAny || r == Relation::BitsAll; });
        if (node.operand == Node::Operand::Point) {
            if (bitwise) {
                fail(index, L"bitwise operators apply to integer groups only");
                return false;
            }
            if (given.size() == 1)
                node.relations.fill(given[0]);
            else
                node.relations = {given[0], given[1], given.size() == 3 ? given[2] : Relation::Any};
            return true;
        }
        if (given.size() != 1) {
            fail(index, L"a list of relational operators applies to point groups only");
            return false;
        }
        const Relation relation = given[0];
        if (node.operand == Node::Operand::Text && relation != Relation::Any && relation != Relation::Equal
            && relation != Relation::NotEqual) {
            fail(index, L"text groups take only the operators *, = and !=");
            return false;
        }
        if (node.operand == Node::Operand::Real && bitwise) {
            fail(index, L"bitwise operators apply to integer groups only");
            return false;
        }
        node.relations.fill(relation);
        return true;
    }

    std::vector<const resbuf*> mItems;
    std::size_t mPos = 0;
    std::wstring mError;
    std::vector<short> mCodes;
    bool mTestsXdata = false;
};

} // namespace

bool FilterSubject::group(short code, FilterValue& out) const
{
    for (const FilterGroup& g : groups) {
        if (g.code == code) {
            out = g.value;
            return true;
        }
    }
    return false;
}

bool FilterSubject::hasXdataApp(const WildcardPattern& app) const
{
    return std::any_of(
        xdataApps.begin(), xdataApps.end(), [&app](const std::wstring& name) { return app.matches(name); });
}

SelectionFilter::SelectionFilter()
    : mRoot(std::make_unique<detail::FilterNode>())
{
}

SelectionFilter::SelectionFilter(SelectionFilter&&) noexcept = default;
SelectionFilter& SelectionFilter::operator=(SelectionFilter&&) noexcept = default;
SelectionFilter::~SelectionFilter() = default;

FilterCompilation SelectionFilter::compile(const resbuf* filter)
{
    FilterParser parser(filter);
    auto root = parser.parse();
    FilterCompilation result;
    if (!root) {
        result.error = parser.error();
        return result;
    }
    SelectionFilter compiled;
    *compiled.mRoot = std::move(*root);
    compiled.mTestedCodes = parser.testedCodes();
    compiled.mTestsXdata = parser.testsXdata();
    result.filter = std::move(compiled);
    return result;
}

bool SelectionFilter::matches(const FilterSubjectSource& subject) const
{
    return mRoot == nullptr || mRoot->test(subject);
}

const std::vector<short>& SelectionFilter::testedCodes() const
{
    return mTestedCodes;
}

bool SelectionFilter::testsXdata() const
{
    return mTestsXdata;
}

} // namespace arxhost
