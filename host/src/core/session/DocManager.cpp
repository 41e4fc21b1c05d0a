// The document manager of the headless host.
#include "session/DocManager.h"

#include "arxhost/Session.h"
#include "editor/CommandProcessor.h"
#include "editor/InputQueue.h"
#include "rx/ModuleLoader.h"
#include "session/DocumentState.h"

namespace arxhost {

const ACHAR* Document::fileName() const
{
    mFileName = mSession.document().fileName();
    return mFileName.c_str();
}

AcDbDatabase* Document::database() const
{
    return &mSession.document().database();
}

const ACHAR* Document::docTitle() const
{
    mTitle = mSession.document().drawingName();
    return mTitle.c_str();
}

AcAp::DocLockMode Document::lockMode(bool) const
{
    return mSession.document().lockCount > 0 ? AcAp::kWrite : AcAp::kNotLocked;
}

AcAp::DocLockMode Document::myLockMode() const
{
    return lockMode(true);
}

bool Document::isQuiescent() const
{
    return !mSession.processor().inCommand();
}

DocManager::DocManager(Session& session)
    : mSession(session)
    , mDocument(session)
{
}

AcApDocument* DocManager::curDocument() const
{
    return &mDocument;
}

AcApDocument* DocManager::mdiActiveDocument() const
{
    return &mDocument;
}

AcApDocument* DocManager::document(const AcDbDatabase* pDb) const
{
    return pDb == &mSession.document().database() ? &mDocument : nullptr;
}

Acad::ErrorStatus DocManager::lockDocument(
    AcApDocument* pDoc, AcAp::DocLockMode, const ACHAR*, const ACHAR*, bool)
{
    if (pDoc != nullptr && pDoc != &mDocument)
        return Acad::eInvalidInput;
    ++mSession.document().lockCount;
    return Acad::eOk;
}

Acad::ErrorStatus DocManager::unlockDocument(AcApDocument* pDoc)
{
    if (pDoc != nullptr && pDoc != &mDocument)
        return Acad::eInvalidInput;
    if (mSession.document().lockCount == 0)
        return Acad::eNotApplicable;
    --mSession.document().lockCount;
    return Acad::eOk;
}

void DocManager::pushResourceHandle(HINSTANCE hNewResourceHandle)
{
    mSession.modules().pushResourceHandle(hNewResourceHandle);
}

void DocManager::pushAcadResourceHandle()
{
    mSession.modules().pushResourceHandle(nullptr);
}

void DocManager::popResourceHandle()
{
    mSession.modules().popResourceHandle();
}

Acad::ErrorStatus DocManager::sendStringToExecute(
    AcApDocument* pDoc, const ACHAR* pszExecute, bool, bool, bool)
{
    if (pszExecute == nullptr)
        return Acad::eInvalidInput;
    if (pDoc != nullptr && pDoc != &mDocument)
        return Acad::eInvalidInput;
    mSession.input().defer(pszExecute);
    // Outside a command the text is typed right away.
    if (!mSession.processor().inCommand())
        mSession.input().releaseDeferred();
    return Acad::eOk;
}

Acad::ErrorStatus DocManager::setCurDocument(AcApDocument* pDoc, AcAp::DocLockMode, bool)
{
    return pDoc == &mDocument ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus DocManager::activateDocument(AcApDocument* pAcTargetDocument, bool)
{
    return pAcTargetDocument == &mDocument ? Acad::eOk : Acad::eInvalidInput;
}

} // namespace arxhost
