// Drawing toolkit: typing text on the host's command line.
#include "DrawingToolkit.h"

#include "acdocman.h"

namespace tarn::cad {

void SendCmdToAcad(CString cmd)
{
    AcApDocManager* manager = acDocManager;
    if (manager == nullptr)
        return;
    manager->sendStringToExecute(manager->curDocument(), cmd.GetString(), true, false, true);
}

} // namespace tarn::cad
