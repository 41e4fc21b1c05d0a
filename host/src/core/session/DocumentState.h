// The open drawing and what the editor keeps for it: file name, view, UCS, selection sets, variables.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "db/HeaderVars.h"
#include "dbmain.h"
#include "session/SelectionSets.h"
#include "session/ViewState.h"

namespace arxhost {

class DocumentState {
public:
    DocumentState();
    ~DocumentState();

    AcDbDatabase& database() { return *mDatabase; }
    const AcDbDatabase& database() const { return *mDatabase; }
    // Replaces the drawing; the view goes to its extents and the selection sets are dropped.
    void replace(std::unique_ptr<AcDbDatabase> db, const std::wstring& fileName);
    const std::wstring& fileName() const { return mFileName; }
    // "Drawing1.dwg" for a new drawing, else the file's name without its folder.
    std::wstring drawingName() const;
    std::wstring drawingFolder() const;

    // The current user coordinate system, from the drawing's header.
    AcGePoint3d ucsToWcs(const AcGePoint3d& p) const;
    AcGePoint3d wcsToUcs(const AcGePoint3d& p) const;
    AcGeVector3d ucsToWcs(const AcGeVector3d& v) const;
    // Angle of the UCS X axis in the world XY plane (radians).
    double ucsAngle() const;

    ViewState& view() { return mView; }
    SelectionSets& selections() { return mSelections; }

    // Values of the variables that belong to the document but are not saved in the drawing.
    std::map<std::wstring, HeaderValue>& variables() { return mVariables; }

    // The document lock: the command in progress holds it for write.
    int lockCount = 0;
    std::wstring activeCommand;

private:
    std::unique_ptr<AcDbDatabase> mDatabase;
    std::wstring mFileName;
    ViewState mView;
    SelectionSets mSelections;
    std::map<std::wstring, HeaderValue> mVariables;
};

} // namespace arxhost
