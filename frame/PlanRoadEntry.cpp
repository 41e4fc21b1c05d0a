// The module's face towards the host: library entry, acrxEntryPoint and the command table.
#include "StdAfx.h"

#include "AnnotationLayer.h"
#include "CommandHandlers.h"
#include "PlanRoadModule.h"

namespace {

PLANROADMODULE s_planRoadModule = {};
HINSTANCE s_hModuleInstance = nullptr;

const ACHAR* const kCommandGroup = ACRX_T("QVPLANROAD03");

} // namespace

PLANROADMODULE& GetPlanRoadModule()
{
    return s_planRoadModule;
}

HINSTANCE GetPlanRoadInstance()
{
    return s_hModuleInstance;
}

CPlanRoadResourceOverride::CPlanRoadResourceOverride()
{
    acDocManager->pushResourceHandle(s_planRoadModule.moduleResource);
}

CPlanRoadResourceOverride::~CPlanRoadResourceOverride()
{
    acDocManager->popResourceHandle();
}

extern "C" __attribute__((visibility("default"))) BOOL WINAPI DllMain(
    HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        s_hModuleInstance = hInstance;
        if (!s_planRoadModule.attached) {
            if (AfxInitExtensionModule(s_planRoadModule, hInstance)) {
                s_planRoadModule.attached = TRUE;
                s_planRoadModule.defaultResource = AfxGetResourceHandle();
                s_planRoadModule.moduleResource = hInstance;
                new CDynLinkLibrary(s_planRoadModule);
            }
        }
        InitAcUiDLL();
    } else if (dwReason == DLL_PROCESS_DETACH) {
        if (s_planRoadModule.attached) {
            AfxTermExtensionModule(s_planRoadModule);
            s_planRoadModule.attached = FALSE;
        }
    }
    return TRUE;
}

// Registers one command; a local name from the string table when an id other than -1 is given.
void addCommand(const ACHAR* cmdGroup, const ACHAR* cmdInt, const ACHAR* cmdLoc, const int cmdFlags,
    const AcRxFunctionPtr cmdProc, const int idLocal)
{
    AcEdCommandStack* pCmdStack = AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
    if (pCmdStack == nullptr)
        return;
    if (idLocal != -1) {
        ACHAR cmdLocRes[65];
        ::LoadStringW(s_hModuleInstance, static_cast<UINT>(idLocal), cmdLocRes, 64);
        pCmdStack->addCommand(cmdGroup, cmdInt, cmdLocRes, cmdFlags, cmdProc, nullptr, -1, nullptr, nullptr);
    } else {
        pCmdStack->addCommand(cmdGroup, cmdInt, cmdLoc, cmdFlags, cmdProc, nullptr, -1, nullptr, nullptr);
    }
}

namespace {

void InitApplication()
{
    CreateAnnotLayerState();
    const int flags = ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET;
    addCommand(kCommandGroup, ACRX_T("QVZDBZ"), ACRX_T("QVZDBZ"), flags, QvZdbzCommand, -1);
    addCommand(kCommandGroup, ACRX_T("QVDLYJBJBZ"), ACRX_T("QVDLYJBJBZ"), flags, QvDlyjbjbzCommand, -1);
    addCommand(kCommandGroup, ACRX_T("DLDMTK"), ACRX_T("DLDMTK"), flags, DldmtkCommand, -1);
    addCommand(kCommandGroup, ACRX_T("DLFXFTK"), ACRX_T("DLFXFTK"), flags, DlfxftkCommand, -1);
    addCommand(kCommandGroup, ACRX_T("FDeal_RoadYqjCheck"), ACRX_T("FDeal_RoadYqjCheck"), flags,
        RoadYqjCheckCommand, -1);
    addCommand(kCommandGroup, ACRX_T("YqjCheckOPR"), ACRX_T("YqjCheckOPR"), flags, YqjCheckOprCommand, -1);
    addCommand(kCommandGroup, ACRX_T("TCrossDeal"), ACRX_T("TCrossDeal"), flags, TCrossDealCommand, -1);
    addCommand(kCommandGroup, ACRX_T("FDeal_RoadYqjDimCheck"), ACRX_T("FDeal_RoadYqjDimCheck"), flags,
        RoadYqjDimCheckCommand, -1);
    addCommand(kCommandGroup, ACRX_T("FDeal_RoadYqjDimCheckCommand"), ACRX_T("FDeal_RoadYqjDimCheckCommand"),
        flags, RoadYqjDimCheckOprCommand, -1);
    addCommand(kCommandGroup, ACRX_T("FROADWIDTHCHECK"), ACRX_T("FROADWIDTHCHECK"), flags,
        RoadWidthCheckCommand, -1);
    addCommand(kCommandGroup, ACRX_T("FROADWIDTHCHECKCommand"), ACRX_T("FROADWIDTHCHECKCommand"), flags,
        RoadWidthCheckOprCommand, -1);
    addCommand(
        kCommandGroup, ACRX_T("FDLDMDataDeal"), ACRX_T("FDLDMDataDeal"), flags, DldmDataDealCommand, -1);
}

void UnloadApplication()
{
    AcEdCommandStack* pCmdStack = AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK));
    if (pCmdStack != nullptr)
        pCmdStack->removeGroup(kCommandGroup);
    DestroyYqjCheckDlg();
    DestroyYqjDimCheckDlg();
    DestroyRoadWidthCheckDlg();
    ReleaseAnnotLayerState();
}

} // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(
    AcRx::AppMsgCode msg, void* pkt)
{
    switch (msg) {
    case AcRx::kInitAppMsg: {
        AcRxDynamicLinker* pLinker = AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER));
        if (pLinker != nullptr) {
            pLinker->unlockApplication(pkt);
            pLinker->registerAppMDIAware(pkt);
        }
        InitApplication();
        break;
    }
    case AcRx::kUnloadAppMsg:
        UnloadApplication();
        break;
    default:
        break;
    }
    return AcRx::kRetOK;
}
