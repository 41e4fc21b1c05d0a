// What a drawing file held beyond the host's objects: header order, classes, other sections, block ends.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "db/UnmodelledObjects.h"
#include "dbhandle.h"
#include "dbid.h"
#include "detail/RawTags.h"

class AcDbStub;

namespace arxhost {

struct DrawingFileData {
    // The file's version ("AC1015") and code page ("ANSI_936") as read; empty for a new drawing.
    std::string version;
    std::string codePage;
    // Every header variable as read, in file order: its name ("$CLAYER") and its groups.
    std::vector<std::pair<std::string, RawTags>> header;
    // The CLASSES section's records.
    std::vector<RawRecord> classes;
    // Sections the host does not model (THUMBNAILIMAGE, ACDSDATA, ...), by name, with their records.
    std::vector<std::pair<std::string, std::vector<RawRecord>>> otherSections;
    // Symbol tables the host does not model (VPORT, VIEW, UCS): the table objects by name.
    std::map<std::string, AcDbObjectId> unmodelledTables;
    // The BLOCK and ENDBLK records of each block definition: their handles and unmodelled groups.
    struct BlockEnds {
        AcDbHandle begin;
        AcDbHandle end;
        RawTags beginExtras;
        RawTags endExtras;
        std::wstring description;
        std::wstring xrefPath;
        int flags = 0;
    };
    std::map<const AcDbStub*, BlockEnds> blocks;
    // The SEQEND record closing each old-style polyline: its handle and unmodelled groups.
    std::map<const AcDbStub*, std::pair<AcDbHandle, RawTags>> sequenceEnds;
    // The dimension geometry block each dimension entity names (group 2), by the dimension's stub.
    std::map<const AcDbStub*, std::wstring> dimensionBlocks;
    // What each of those dimensions looked like when its block was read or made (its points, text and
    // sizes, as one text): a dimension changed since gets its block made again when the drawing is saved.
    std::map<const AcDbStub*, std::wstring> dimensionShapes;
};

} // namespace arxhost
