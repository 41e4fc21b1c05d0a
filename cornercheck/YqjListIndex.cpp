// The grid of a corner-cut check's id list.
#include "StdAfx.h"

#include "YqjListIndex.h"

#include <algorithm>
#include <cmath>

#include "DrawingToolkit.h"

namespace {

// At most this many cells per entity of the list, however spread out the drawing is.
const double kCellsPerEntity = 4.0;

} // namespace

CYqjListIndex::CYqjListIndex(const AcDbObjectIdArray& ids, Keys keys)
{
    const int count = ids.length();
    m_ids.reserve(static_cast<std::size_t>(count));
    m_boxes.resize(static_cast<std::size_t>(count));
    m_seen.assign(static_cast<std::size_t>(count), 0);
    std::vector<bool> boxed(static_cast<std::size_t>(count), false);
    double minX = HUGE_VAL;
    double minY = HUGE_VAL;
    double maxX = -HUGE_VAL;
    double maxY = -HUGE_VAL;
    for (int i = 0; i < count; ++i) {
        m_ids.push_back(ids[i]);
        AcGePoint3d low;
        AcGePoint3d high;
        if (!tarn::ent::GetEntRect(ids[i], low, high)) {
            m_unboxed.push_back(i);
            continue;
        }
        Box& box = m_boxes[static_cast<std::size_t>(i)];
        if (keys == Keys::Middles) {
            const double x = (low.x + high.x) / 2.0;
            const double y = (low.y + high.y) / 2.0;
            box = {x, y, x, y};
        } else {
            box = {low.x, low.y, high.x, high.y};
        }
        boxed[static_cast<std::size_t>(i)] = true;
        minX = std::min(minX, box.minX);
        minY = std::min(minY, box.minY);
        maxX = std::max(maxX, box.maxX);
        maxY = std::max(maxY, box.maxY);
    }
    if (minX > maxX)
        return;
    const double width = std::max(maxX - minX, 1e-6);
    const double height = std::max(maxY - minY, 1e-6);
    const double cells = std::max(1.0, kCellsPerEntity * count);
    m_cellSize = std::max(std::sqrt(width * height / cells), std::max(width, height) / cells);
    m_originX = minX;
    m_originY = minY;
    m_columns = static_cast<int>(width / m_cellSize) + 1;
    m_rows = static_cast<int>(height / m_cellSize) + 1;
    m_cells.resize(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows));
    for (int i = 0; i < count; ++i) {
        if (!boxed[static_cast<std::size_t>(i)])
            continue;
        const Box& box = m_boxes[static_cast<std::size_t>(i)];
        for (int row = Row(box.minY); row <= Row(box.maxY); ++row)
            for (int column = Column(box.minX); column <= Column(box.maxX); ++column)
                m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns)
                    + static_cast<std::size_t>(column)]
                    .push_back(i);
    }
}

int CYqjListIndex::Column(double x) const
{
    const double cell = std::floor((x - m_originX) / m_cellSize);
    return static_cast<int>(std::clamp(cell, 0.0, static_cast<double>(m_columns - 1)));
}

int CYqjListIndex::Row(double y) const
{
    const double cell = std::floor((y - m_originY) / m_cellSize);
    return static_cast<int>(std::clamp(cell, 0.0, static_cast<double>(m_rows - 1)));
}

void CYqjListIndex::Query(const AcGePoint2d& min, const AcGePoint2d& max, std::vector<int>& positions) const
{
    positions.assign(m_unboxed.begin(), m_unboxed.end());
    if (m_columns > 0) {
        ++m_stamp;
        for (int row = Row(min.y); row <= Row(max.y); ++row) {
            for (int column = Column(min.x); column <= Column(max.x); ++column) {
                const std::vector<int>& cell
                    = m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns)
                        + static_cast<std::size_t>(column)];
                for (const int i : cell) {
                    unsigned& seen = m_seen[static_cast<std::size_t>(i)];
                    if (seen == m_stamp)
                        continue;
                    seen = m_stamp;
                    const Box& box = m_boxes[static_cast<std::size_t>(i)];
                    if (box.maxX >= min.x && box.minX <= max.x && box.maxY >= min.y && box.minY <= max.y)
                        positions.push_back(i);
                }
            }
        }
    }
    std::sort(positions.begin(), positions.end());
}

AcDbObjectIdArray CYqjListIndex::IdsAt(const std::vector<int>& positions) const
{
    AcDbObjectIdArray ids;
    for (const int i : positions)
        ids.append(m_ids[static_cast<std::size_t>(i)]);
    return ids;
}
