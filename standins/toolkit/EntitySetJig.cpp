// Drawing toolkit: entity sets made in memory, and the jig that drags them with the cursor.
#include "DrawingToolkit.h"

#include "toolkit/ToolkitSupport.h"

namespace tarn {

CEntsGroup::~CEntsGroup() = default;

void CEntsGroup::SetSize(int size, int /*growBy*/)
{
    if (size < 0)
        size = 0;
    m_ents.resize(static_cast<std::size_t>(size));
    m_ids.resize(static_cast<std::size_t>(size));
}

int CEntsGroup::Add(AcDbEntity* pEnt)
{
    m_ents.emplace_back(pEnt);
    m_ids.emplace_back();
    return GetSize() - 1;
}

void CEntsGroup::SetAt(int index, AcDbEntity* pEnt)
{
    if (index < 0 || index >= GetSize()) {
        // Out of range the entity has no slot: it must not leak.
        delete pEnt;
        return;
    }
    m_ents[static_cast<std::size_t>(index)].reset(pEnt);
}

AcDbEntity* CEntsGroup::GetAt(int index) const
{
    if (index < 0 || index >= GetSize())
        return nullptr;
    return m_ents[static_cast<std::size_t>(index)].get();
}

void CEntsGroup::TransformBy(const AcGeMatrix3d& mat)
{
    for (const auto& entity : m_ents)
        if (entity != nullptr)
            entity->transformBy(mat);
}

int CEntsGroup::EntsAddToDb()
{
    AcDbDatabase* db = support::workingDb();
    if (db == nullptr)
        return 0;
    int result = 1;
    for (std::size_t i = 0; i < m_ents.size(); ++i) {
        if (m_ents[i] == nullptr)
            continue;
        // appendClosed hands the entity to the drawing (or deletes it): the set no longer owns it.
        m_ids[i] = support::appendClosed(db->currentSpaceId(), std::move(m_ents[i]));
        if (m_ids[i].isNull())
            result = 0;
    }
    m_bInDb = true;
    return result;
}

void CEntsGroup::GetObjIds(AcDbObjectIdArray& ids) const
{
    ids.removeAll();
    for (const AcDbObjectId& id : m_ids)
        ids.append(id);
}

CEntTransJig::CEntTransJig(CEntsGroup* pGroup, const AcGePoint3d& basePoint, int dragMode,
    unsigned int inputControls, JIGCALLBACK pfnCallback, Adesk::Int64 userData)
    : m_pGroup(pGroup)
    , m_basePoint(basePoint)
    , m_curPos(basePoint)
    , m_prePos(basePoint)
    , m_dragMode(dragMode)
    , m_pfnCallback(pfnCallback)
    , m_userData(userData)
{
    setUserInputControls(static_cast<UserInputControls>(inputControls));
}

AcEdJig::DragStatus CEntTransJig::sampler()
{
    AcGePoint3d point;
    const DragStatus status = acquirePoint(point, m_basePoint);
    if (status != kNormal)
        return status;
    if (point.isEqualTo(m_curPos))
        return kNoChange;
    m_prePos = m_curPos;
    m_curPos = point;
    m_bMoved = true;
    return kNormal;
}

Adesk::Boolean CEntTransJig::update()
{
    // Each new position is applied once: the entities already stand where the last update put them.
    if (!m_bMoved)
        return Adesk::kTrue;
    m_bMoved = false;
    if (m_dragMode != 1 && m_pGroup != nullptr)
        m_pGroup->TransformBy(AcGeMatrix3d::translation(m_curPos - m_prePos));
    if (m_pfnCallback != nullptr)
        m_pfnCallback(this);
    return Adesk::kTrue;
}

AcDbEntity* CEntTransJig::entity() const
{
    if (m_pGroup == nullptr)
        return nullptr;
    for (int i = 0; i < m_pGroup->GetSize(); ++i)
        if (AcDbEntity* entity = m_pGroup->GetAt(i))
            return entity;
    return nullptr;
}

} // namespace tarn
