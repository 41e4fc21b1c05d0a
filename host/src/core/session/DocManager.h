// AcApDocManager and AcApDocument over the session's one document.
#pragma once

#include "acdocman.h"

namespace arxhost {

class Session;

class Document : public AcApDocument {
public:
    explicit Document(Session& session)
        : mSession(session)
    {
    }
    const ACHAR* fileName() const override;
    AcDbDatabase* database() const override;
    const ACHAR* docTitle() const override;
    AcAp::DocLockMode lockMode(bool bIncludeMyLocks = false) const override;
    AcAp::DocLockMode myLockMode() const override;
    bool isQuiescent() const override;
    bool isReadOnly() const override { return false; }

private:
    Session& mSession;
    mutable std::wstring mTitle;
    mutable std::wstring mFileName;
};

class DocManager : public AcApDocManager {
public:
    explicit DocManager(Session& session);
    AcApDocument* curDocument() const override;
    AcApDocument* mdiActiveDocument() const override;
    bool isApplicationContext() const override { return false; }
    AcApDocument* document(const AcDbDatabase* pDb) const override;
    Acad::ErrorStatus lockDocument(AcApDocument* pDoc, AcAp::DocLockMode mode = AcAp::kWrite,
        const ACHAR* pGlobalCmdName = nullptr, const ACHAR* pLocalCmdName = nullptr,
        bool prompt = true) override;
    Acad::ErrorStatus unlockDocument(AcApDocument* pDoc) override;
    int documentCount() const override { return 1; }
    void pushResourceHandle(HINSTANCE hNewResourceHandle) override;
    void pushAcadResourceHandle() override;
    void popResourceHandle() override;
    Acad::ErrorStatus sendStringToExecute(AcApDocument* pDoc, const ACHAR* pszExecute, bool bActivate = true,
        bool bWrapUpInactiveDoc = false, bool bEchoString = true) override;
    Acad::ErrorStatus setCurDocument(
        AcApDocument* pDoc, AcAp::DocLockMode = AcAp::kNone, bool activate = false) override;
    Acad::ErrorStatus activateDocument(AcApDocument* pAcTargetDocument, bool bPassScript = false) override;

private:
    Session& mSession;
    mutable Document mDocument;
};

} // namespace arxhost
