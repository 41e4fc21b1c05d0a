// AcDbGroup: a named, ordered set of entities, kept in the group dictionary.
#pragma once

#include <string>
#include <vector>

#include "dbmain.h"

class AcDbGroup : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbGroup);
    AcDbGroup();
    AcDbGroup(const ACHAR* grpDesc, bool selectable = true);
    ~AcDbGroup() override;

    // The group's key in the group dictionary; the caller frees it with acutDelString.
    Acad::ErrorStatus getName(ACHAR*& pName) const;
    const ACHAR* name() const;
    Acad::ErrorStatus setName(const ACHAR* newName);
    const ACHAR* description() const { return mDescription.c_str(); }
    Acad::ErrorStatus setDescription(const ACHAR* grpDesc);
    bool isSelectable() const { return mSelectable; }
    Acad::ErrorStatus setSelectable(bool selectable);
    bool isAnonymous() const { return mAnonymous; }
    // Marks the group anonymous; the dictionary then keys it "*An".
    Acad::ErrorStatus setAnonymous();
    Acad::ErrorStatus append(AcDbObjectId id);
    Acad::ErrorStatus append(const AcDbObjectIdArray& ids);
    Acad::ErrorStatus prepend(AcDbObjectId id);
    Acad::ErrorStatus remove(AcDbObjectId id);
    Acad::ErrorStatus clear();
    bool has(const AcDbEntity* pEntity) const;
    bool has(AcDbObjectId id) const;
    Adesk::UInt32 numEntities() const;
    Adesk::UInt32 allEntityIds(AcDbObjectIdArray& ids) const;
    Acad::ErrorStatus highlight() const;

    // Host side.
    const std::vector<AcDbObjectId>& hostMembers() const { return mMembers; }
    AcRxObject* clone() const override { return new AcDbGroup(*this); }
    const ACHAR* dxfTypeName() const override { return ACRX_T("GROUP"); }

private:
    AcDbGroup(const AcDbGroup& other) = default;
    std::wstring mDescription;
    bool mSelectable = true;
    bool mAnonymous = false;
    std::vector<AcDbObjectId> mMembers;
};
