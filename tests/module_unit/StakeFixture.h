// A drawing set up for the stake-point annotation: planned and existing elevation points on their role
// layers, the legend layer, and helpers that run "QVZDBZ", show its dialog and read back the labels.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "ModuleDrawingFixture.h"
#include "text/Utf8.h"

namespace planroad::test {

// The terrains are planes over the square (0,0)-(200,200), so every elevation inside is known exactly.
inline double plannedAt(double x, double y)
{
    return 10.0 + 0.01 * x + 0.02 * y;
}
inline double existingAt(double x, double y)
{
    return 5.0 + 0.03 * x - 0.01 * y;
}

// A rule of the label: its two ends.
struct RuleSeen {
    AcGePoint3d from;
    AcGePoint3d to;
};

// What a text of the label shows and how it is placed.
struct TextSeen {
    std::wstring text;
    AcGePoint3d at; // the alignment point
    double height = 0.0;
    double rotation = 0.0;
    AcDb::TextHorzMode horizontal = AcDb::kTextLeft;
    AcDb::TextVertMode vertical = AcDb::kTextBase;
    AcDbObjectId style;
};

// A stake label as the drawing holds it: the block reference and what its block and group hold.
struct StakeLabel {
    AcDbObjectId ref;
    AcGePoint3d insert;
    std::wstring layer;
    std::vector<double> held; // the reals of "DL_ZD_DIM"
    bool scaleData = false; // carries "FAPP_SCALEBLK"
    std::vector<RuleSeen> rules; // in block order: the frame, then the leader
    std::vector<TextSeen> texts;
    int blockEntities = 0;
    int groups = 0; // groups holding the reference
    std::wstring groupDescription;
    int groupMembers = 0;
    bool groupHasEmptyMember = false;
};

class StakeFixture : public ModuleDrawingFixture {
protected:
    void SetUp() override
    {
        ModuleDrawingFixture::SetUp();
        for (const wchar_t* layer : {L"GC-PLAN", L"GC-EXIST", L"LEGEND", L"WORK"})
            addLayer(layer);
        setRole(L"规划高程点层", L"GC-PLAN");
        setRole(L"现状高程点层", L"GC-EXIST");
        setRole(L"道路图例标注层", L"LEGEND");
        for (const AcGePoint2d& p : {AcGePoint2d(0, 0), AcGePoint2d(200, 0), AcGePoint2d(0, 200),
                 AcGePoint2d(200, 200), AcGePoint2d(100, 100)}) {
            elevationPoint(L"GC-PLAN", AcGePoint3d(p.x, p.y, plannedAt(p.x, p.y)));
            elevationPoint(L"GC-EXIST", AcGePoint3d(p.x, p.y, existingAt(p.x, p.y)));
        }
    }

    AcDbObjectId elevationPoint(const wchar_t* layer, const AcGePoint3d& at)
    {
        auto* point = new AcDbPoint(at);
        point->setLayer(layer);
        return add(point);
    }

    // Runs the command with the lines that follow its name.
    void stake(const std::wstring& lines) { type(L"QVZDBZ\n" + lines); }

    // The last dialog 3101 the command line showed, up to its closing line.
    std::wstring lastDialog() const
    {
        const std::wstring shown = transcriptFromLast(L"[Dialog 3101 \"");
        return shown.substr(0, shown.find(L"[Dialog 3101 closed"));
    }
    // Opens the dialog for the point, cancels it and ends the command; returns what it showed.
    std::wstring dialogFor(const std::wstring& point = L"40.5,30.2")
    {
        stake(point + L"\n!dialog click Cancel\n\n");
        return lastDialog();
    }
    static void expectShows(const std::wstring& dialog, const std::wstring& line)
    {
        EXPECT_TRUE(contains(dialog, line)) << "wanted " << arxhost::toUtf8(line) << " in\n"
                                            << arxhost::toUtf8(dialog);
    }

    // The stake labels of model space, in drawing order.
    std::vector<StakeLabel> labels()
    {
        std::vector<StakeLabel> found;
        AcDbBlockTableRecord* space = nullptr;
        if (acdbOpenObject(space, db().modelSpaceId(), AcDb::kForRead) != Acad::eOk)
            return found;
        AcDbBlockTableRecordIterator* it = nullptr;
        space->newIterator(it);
        std::vector<AcDbObjectId> refs;
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getEntityId(id);
            refs.push_back(id);
        }
        delete it;
        space->close();
        for (AcDbObjectId id : refs) {
            StakeLabel label;
            if (readReference(id, label))
                found.push_back(label);
        }
        return found;
    }

    // The count of model-space entities of every kind.
    int entitiesInModelSpace()
    {
        AcDbBlockTableRecord* space = nullptr;
        if (acdbOpenObject(space, db().modelSpaceId(), AcDb::kForRead) != Acad::eOk)
            return -1;
        AcDbBlockTableRecordIterator* it = nullptr;
        space->newIterator(it);
        int count = 0;
        for (; !it->done(); it->step())
            ++count;
        delete it;
        space->close();
        return count;
    }
    int groupsInDrawing()
    {
        AcDbDictionary* groups = nullptr;
        if (db().getGroupDictionary(groups, AcDb::kForRead) != Acad::eOk)
            return -1;
        const int count = static_cast<int>(groups->numEntries());
        groups->close();
        return count;
    }

    // A stored parameter's text, "<none>" when the key is missing.
    static std::wstring stored(const wchar_t* key)
    {
        OTHERPARAM record;
        if (TarnDB::qvGetCustomDatabase()->GetOtherCustomParam(key, &record) != 1)
            return L"<none>";
        return record.strValue.GetString();
    }
    static void store(const wchar_t* key, const wchar_t* value)
    {
        OTHERPARAM record;
        record.strValue = value;
        record.nCode1 = 5001;
        record.nCode2 = 2;
        TarnDB::qvGetCustomDatabase()->SetOtherCustomParam(key, &record);
    }

private:
    bool readReference(AcDbObjectId id, StakeLabel& label)
    {
        AcDbBlockReference* ref = nullptr;
        if (acdbOpenObject(ref, id, AcDb::kForRead) != Acad::eOk)
            return false;
        resbuf* data = ref->xData(L"DL_ZD_DIM");
        if (data == nullptr) {
            ref->close();
            return false;
        }
        for (const resbuf* rb = data; rb != nullptr; rb = rb->rbnext)
            if (rb->restype == 1040)
                label.held.push_back(rb->resval.rreal);
        acutRelRb(data);
        if (resbuf* scale = ref->xData(L"FAPP_SCALEBLK")) {
            label.scaleData = true;
            acutRelRb(scale);
        }
        label.ref = id;
        label.insert = ref->position();
        ACHAR* layer = ref->layer();
        label.layer = layer;
        acutDelString(layer);
        const AcDbObjectId block = ref->blockTableRecord();
        ref->close();
        readBlock(block, label);
        readGroup(label);
        return true;
    }

    static void readBlock(AcDbObjectId blockId, StakeLabel& label)
    {
        AcDbBlockTableRecord* block = nullptr;
        if (acdbOpenObject(block, blockId, AcDb::kForRead) != Acad::eOk)
            return;
        AcDbBlockTableRecordIterator* it = nullptr;
        block->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getEntityId(id);
            ++label.blockEntities;
            AcDbEntity* entity = nullptr;
            if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk)
                continue;
            if (auto* line = AcDbLine::cast(entity)) {
                label.rules.push_back({line->startPoint(), line->endPoint()});
            } else if (auto* text = AcDbText::cast(entity)) {
                TextSeen seen;
                seen.text = text->textStringConst();
                seen.at = text->alignmentPoint();
                seen.height = text->height();
                seen.rotation = text->rotation();
                seen.horizontal = text->horizontalMode();
                seen.vertical = text->verticalMode();
                seen.style = text->textStyle();
                label.texts.push_back(seen);
            }
            entity->close();
        }
        delete it;
        block->close();
    }

    void readGroup(StakeLabel& label)
    {
        AcDbDictionary* groups = nullptr;
        if (db().getGroupDictionary(groups, AcDb::kForRead) != Acad::eOk)
            return;
        AcDbDictionaryIterator* it = groups->newIterator();
        for (; !it->done(); it->next()) {
            AcDbGroup* group = nullptr;
            if (acdbOpenObject(group, it->objectId(), AcDb::kForRead) != Acad::eOk)
                continue;
            AcDbObjectIdArray members;
            group->allEntityIds(members);
            if (members.contains(label.ref)) {
                ++label.groups;
                label.groupDescription = group->description();
                label.groupMembers = members.length();
                for (int i = 0; i < members.length(); ++i)
                    label.groupHasEmptyMember = label.groupHasEmptyMember || members[i].isNull();
            }
            group->close();
        }
        delete it;
        groups->close();
    }
};

} // namespace planroad::test
