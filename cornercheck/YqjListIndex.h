// A grid over the entities of one id list: which of them lie near a place, answered in list order, so
// that a search over the list keeps the result of walking it from the start.
#pragma once

#include "StdAfx.h"

#include <vector>

class CYqjListIndex {
public:
    // Extents: an entity is found where its extents box is. Middles: where the middle of that box is.
    enum class Keys { Extents, Middles };

    CYqjListIndex(const AcDbObjectIdArray& ids, Keys keys);

    // positions = the list positions, ascending, of the entities found in the box [min, max] (plan);
    // entities whose extents could not be read are always found.
    void Query(const AcGePoint2d& min, const AcGePoint2d& max, std::vector<int>& positions) const;
    // The ids at those positions, in that order.
    AcDbObjectIdArray IdsAt(const std::vector<int>& positions) const;
    int Size() const { return static_cast<int>(m_ids.size()); }
    // A side of the grid's cells, and a distance from any point of the grid's box that takes in all of it.
    double CellSize() const { return m_cellSize; }
    double Reach() const { return (m_columns + m_rows + 2) * m_cellSize; }

private:
    struct Box {
        double minX = 0.0;
        double minY = 0.0;
        double maxX = 0.0;
        double maxY = 0.0;
    };
    int Column(double x) const;
    int Row(double y) const;

    std::vector<AcDbObjectId> m_ids;
    std::vector<Box> m_boxes;
    std::vector<int> m_unboxed;
    std::vector<std::vector<int>> m_cells; // row-major
    double m_originX = 0.0;
    double m_originY = 0.0;
    double m_cellSize = 1.0;
    int m_columns = 0;
    int m_rows = 0;
    mutable std::vector<unsigned> m_seen; // query stamp per position, to report each once
    mutable unsigned m_stamp = 0;
};
