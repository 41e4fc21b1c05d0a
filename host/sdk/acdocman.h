// Documents and the document manager: the open drawing, its lock, resource handles and queued input.
#pragma once

#include "AcString.h"
#include "acadstrc.h"
#include "dbmain.h"
#include "rxobject.h"
#include "windows.h"

struct AcAp {
    enum DocLockMode {
        kNone = 0x00,
        kAutoWrite = 0x01,
        kNotLocked = 0x02,
        kWrite = 0x04,
        kProtectedAutoWrite = 0x14,
        kRead = 0x20,
        kXWrite = 0x40
    };
};

class AcApDocument : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocument);
    virtual const ACHAR* fileName() const = 0;
    virtual AcDbDatabase* database() const = 0;
    virtual const ACHAR* docTitle() const = 0;
    virtual AcAp::DocLockMode lockMode(bool bIncludeMyLocks = false) const = 0;
    virtual AcAp::DocLockMode myLockMode() const = 0;
    virtual bool isQuiescent() const = 0;
    virtual bool isReadOnly() const = 0;
};

class AcApDocManager : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcApDocManager);
    virtual AcApDocument* curDocument() const = 0;
    virtual AcApDocument* mdiActiveDocument() const = 0;
    virtual bool isApplicationContext() const = 0;
    virtual AcApDocument* document(const AcDbDatabase* pDb) const = 0;
    virtual Acad::ErrorStatus lockDocument(AcApDocument* pDoc, AcAp::DocLockMode = AcAp::kWrite,
        const ACHAR* pGlobalCmdName = nullptr, const ACHAR* pLocalCmdName = nullptr, bool prompt = true)
        = 0;
    virtual Acad::ErrorStatus unlockDocument(AcApDocument* pDoc) = 0;
    virtual int documentCount() const = 0;
    virtual void pushResourceHandle(HINSTANCE hNewResourceHandle) = 0;
    virtual void pushAcadResourceHandle() = 0;
    virtual void popResourceHandle() = 0;
    // Queues the text as if typed at the command line; it runs once the current command has ended.
    virtual Acad::ErrorStatus sendStringToExecute(AcApDocument* pDoc, const ACHAR* pszExecute,
        bool bActivate = true, bool bWrapUpInactiveDoc = false, bool bEchoString = true)
        = 0;
    virtual Acad::ErrorStatus setCurDocument(
        AcApDocument* pDoc, AcAp::DocLockMode = AcAp::kNone, bool activate = false)
        = 0;
    virtual Acad::ErrorStatus activateDocument(AcApDocument* pAcTargetDocument, bool bPassScript = false) = 0;
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()

AcApDocument* curDoc();
