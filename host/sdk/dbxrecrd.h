// AcDbXrecord: arbitrary group-coded data kept in a dictionary.
#pragma once

#include "dbmain.h"

class AcDbXrecord : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbXrecord);
    AcDbXrecord() = default;
    ~AcDbXrecord() override;
    // The data as a result-buffer chain the caller frees with acutRelRb.
    Acad::ErrorStatus rbChain(resbuf** ppRb, AcDbDatabase* auxDb = nullptr) const;
    Acad::ErrorStatus setFromRbChain(const resbuf& pRb, AcDbDatabase* auxDb = nullptr);
    bool isXlateReferences() const { return mXlateReferences; }
    void setXlateReferences(bool translate) { mXlateReferences = translate; }

    // Host side.
    const arxhost::TypedValues& hostValues() const { return mValues; }
    void hostSetValues(arxhost::TypedValues values) { mValues = std::move(values); }
    AcRxObject* clone() const override { return new AcDbXrecord(*this); }
    const ACHAR* dxfTypeName() const override { return ACRX_T("XRECORD"); }

private:
    AcDbXrecord(const AcDbXrecord& other) = default;
    arxhost::TypedValues mValues;
    bool mXlateReferences = true;
};
