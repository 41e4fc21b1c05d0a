// AcDbHostApplicationServices: the host's services to database code (the working database).
#pragma once

#include "dbmain.h"

class AcDbHostApplicationServices : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbHostApplicationServices);
    virtual AcDbDatabase* workingDatabase() const = 0;
    virtual void setWorkingDatabase(AcDbDatabase* pDatabase) = 0;
    virtual const ACHAR* program() = 0;
    virtual const ACHAR* product() = 0;
    virtual const ACHAR* companyName() = 0;
};

AcDbHostApplicationServices* acdbHostApplicationServices();
