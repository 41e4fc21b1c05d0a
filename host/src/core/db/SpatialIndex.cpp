// The model-space R-tree, built on Boost.Geometry's rtree.
#include "db/SpatialIndex.h"

#include <unordered_map>

#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>

namespace arxhost {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {
using BgPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using BgBox = bg::model::box<BgPoint>;
using Value = std::pair<BgBox, AcDbStub*>;
using Tree = bgi::rtree<Value, bgi::rstar<16>>;

BgBox toBg(const Box2d& b)
{
    return BgBox(BgPoint(b.minX, b.minY), BgPoint(b.maxX, b.maxY));
}
} // namespace

struct SpatialIndex::Impl {
    Tree tree;
    std::unordered_map<AcDbStub*, BgBox> boxes;
};

SpatialIndex::SpatialIndex()
    : mImpl(std::make_unique<Impl>())
{
}

SpatialIndex::~SpatialIndex() = default;

void SpatialIndex::put(AcDbStub* stub, const Box2d& box)
{
    BgBox bgBox = toBg(box);
    auto it = mImpl->boxes.find(stub);
    if (it != mImpl->boxes.end()) {
        if (bg::equals(it->second, bgBox))
            return;
        mImpl->tree.remove(Value(it->second, stub));
        it->second = bgBox;
    } else {
        mImpl->boxes.emplace(stub, bgBox);
    }
    mImpl->tree.insert(Value(bgBox, stub));
}

void SpatialIndex::remove(AcDbStub* stub)
{
    auto it = mImpl->boxes.find(stub);
    if (it == mImpl->boxes.end())
        return;
    mImpl->tree.remove(Value(it->second, stub));
    mImpl->boxes.erase(it);
}

bool SpatialIndex::contains(AcDbStub* stub) const
{
    return mImpl->boxes.count(stub) != 0;
}

void SpatialIndex::rebuild(const std::vector<std::pair<AcDbStub*, Box2d>>& entries)
{
    std::vector<Value> values;
    values.reserve(entries.size());
    mImpl->boxes.clear();
    mImpl->boxes.reserve(entries.size());
    for (const auto& [stub, box] : entries) {
        BgBox bgBox = toBg(box);
        values.emplace_back(bgBox, stub);
        mImpl->boxes.emplace(stub, bgBox);
    }
    // The packing constructor builds a balanced tree in one pass.
    mImpl->tree = Tree(values.begin(), values.end());
}

std::vector<AcDbStub*> SpatialIndex::query(const Box2d& box) const
{
    std::vector<Value> hits;
    mImpl->tree.query(bgi::intersects(toBg(box)), std::back_inserter(hits));
    std::vector<AcDbStub*> out;
    out.reserve(hits.size());
    for (const Value& v : hits)
        out.push_back(v.second);
    return out;
}

std::size_t SpatialIndex::size() const
{
    return mImpl->boxes.size();
}

} // namespace arxhost
