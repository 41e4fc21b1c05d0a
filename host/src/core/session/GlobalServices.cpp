// The SDK's global entry points to the host's services, answered by the current session.
#include "acdocman.h"
#include "arxhost/Session.h"
#include "dbapserv.h"
#include "rx/SysRegistry.h"
#include "rxregsvc.h"

namespace {

// Without a session (database tests) there is an empty registry and a settable working database.
class StandaloneServices : public AcDbHostApplicationServices {
public:
    AcDbDatabase* workingDatabase() const override { return mWorking; }
    void setWorkingDatabase(AcDbDatabase* pDatabase) override { mWorking = pDatabase; }
    const ACHAR* program() override { return L"planroad"; }
    const ACHAR* product() override { return L"Headless host"; }
    const ACHAR* companyName() override { return L"PlanRoad"; }

private:
    AcDbDatabase* mWorking = nullptr;
};

StandaloneServices& standaloneServices()
{
    static StandaloneServices services;
    return services;
}

} // namespace

extern "C" AcRxDictionary* acrxSysRegistry()
{
    if (arxhost::Session* session = arxhost::Session::currentOrNull())
        return &session->registry();
    static arxhost::SysRegistry empty;
    return &empty;
}

AcApDocManager* acDocManagerPtr()
{
    arxhost::Session* session = arxhost::Session::currentOrNull();
    return session == nullptr ? nullptr : &session->docManager();
}

AcApDocument* curDoc()
{
    AcApDocManager* manager = acDocManagerPtr();
    return manager == nullptr ? nullptr : manager->curDocument();
}

AcDbHostApplicationServices* acdbHostApplicationServices()
{
    if (arxhost::Session* session = arxhost::Session::currentOrNull())
        return &session->services();
    return &standaloneServices();
}
