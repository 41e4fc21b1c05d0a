// AcDbDictionary: a named, ordered map of owned objects (the named object dictionary and its children).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dbmain.h"

class AcDbDictionaryIterator;

class AcDbDictionary : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbDictionary);
    AcDbDictionary() = default;
    ~AcDbDictionary() override;

    // Keys are compared without regard to case and kept as given.
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObject*& entryObj, AcDb::OpenMode mode) const;
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbObjectId& entryObj) const;
    Acad::ErrorStatus nameAt(AcDbObjectId objId, ACHAR*& name) const;
    Acad::ErrorStatus nameAt(AcDbObjectId objId, AcString& name) const;
    bool has(const ACHAR* entryName) const;
    bool has(AcDbObjectId objId) const;
    Adesk::UInt32 numEntries() const { return static_cast<Adesk::UInt32>(mEntries.size()); }
    // Adds or replaces the entry; the dictionary must be open for write. A key "*" (or one
    // beginning with "*A" alone) asks for an anonymous key, made unique by the dictionary.
    Acad::ErrorStatus setAt(const ACHAR* srchKey, AcDbObject* newValue, AcDbObjectId& retObjId);
    Acad::ErrorStatus remove(const ACHAR* key);
    Acad::ErrorStatus remove(const ACHAR* key, AcDbObjectId& returnId);
    Acad::ErrorStatus remove(AcDbObjectId objId);
    bool setName(const ACHAR* oldName, const ACHAR* newName);
    AcDbDictionaryIterator* newIterator() const;

    // Host side: the entries in insertion order.
    const std::vector<std::pair<std::wstring, AcDbObjectId>>& hostEntries() const { return mEntries; }
    void hostAdoptEntry(const std::wstring& key, AcDbObjectId id) { mEntries.emplace_back(key, id); }
    // Host side: renames an entry on behalf of its object (a group's setName).
    bool hostRename(const ACHAR* oldName, const ACHAR* newName);
    AcRxObject* clone() const override { return new AcDbDictionary(*this); }
    const ACHAR* dxfTypeName() const override { return ACRX_T("DICTIONARY"); }

private:
    AcDbDictionary(const AcDbDictionary& other) = default;
    int findIndex(const ACHAR* key) const;
    std::vector<std::pair<std::wstring, AcDbObjectId>> mEntries;
};

class AcDbDictionaryIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbDictionaryIterator);
    explicit AcDbDictionaryIterator(std::vector<std::pair<std::wstring, AcDbObjectId>> entries);
    const ACHAR* name() const;
    Acad::ErrorStatus getObject(AcDbObject*& pObject, AcDb::OpenMode mode);
    AcDbObjectId objectId() const;
    bool done() const;
    bool next();
    bool setPosition(AcDbObjectId objId);

private:
    std::vector<std::pair<std::wstring, AcDbObjectId>> mEntries;
    std::size_t mIndex = 0;
};
