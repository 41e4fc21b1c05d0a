// AcRxObject and AcRxClass: the host's root class and its minimal run-time type information.
#pragma once

#include "AdAChar.h"
#include "acadstrc.h"
#include "adesk.h"

class AcRxClass;

class AcRxObject {
public:
    virtual ~AcRxObject() = default;
    static AcRxClass* desc();
    static AcRxObject* cast(const AcRxObject* inPtr) { return const_cast<AcRxObject*>(inPtr); }
    virtual AcRxClass* isA() const;
    bool isKindOf(const AcRxClass* aClass) const;
    virtual AcRxObject* clone() const { return nullptr; }

protected:
    AcRxObject() = default;
    AcRxObject(const AcRxObject&) = default;
    AcRxObject& operator=(const AcRxObject&) = default;
};

// A class descriptor: a name and a parent; `isDerivedFrom` walks the parents.
class AcRxClass {
public:
    AcRxClass(const ACHAR* name, AcRxClass* parent, const ACHAR* dxfName = nullptr)
        : mName(name)
        , mParent(parent)
        , mDxfName(dxfName)
    {
    }
    const ACHAR* name() const { return mName; }
    const ACHAR* dxfName() const { return mDxfName; }
    AcRxClass* myParent() const { return mParent; }
    bool isDerivedFrom(const AcRxClass* other) const
    {
        for (const AcRxClass* c = this; c != nullptr; c = c->mParent)
            if (c == other)
                return true;
        return false;
    }

private:
    const ACHAR* mName;
    AcRxClass* mParent;
    const ACHAR* mDxfName;
};

inline bool AcRxObject::isKindOf(const AcRxClass* aClass) const
{
    return isA()->isDerivedFrom(aClass);
}

// Declares desc(), isA() and a checked cast() for a class. The cast walks the class descriptors (a few
// pointer comparisons), as the host's own does, rather than asking the C++ runtime.
#define ACRX_DECLARE_MEMBERS(CLASS_NAME)                                  \
    static AcRxClass* desc();                                             \
    AcRxClass* isA() const override;                                      \
    static CLASS_NAME* cast(const AcRxObject* inPtr)                      \
    {                                                                     \
        return inPtr != nullptr && inPtr->isKindOf(CLASS_NAME::desc())    \
            ? const_cast<CLASS_NAME*>(static_cast<const CLASS_NAME*>(inPtr)) \
            : nullptr;                                                    \
    }

// Defines desc() and isA() for a class declared with ACRX_DECLARE_MEMBERS.
#define ACRX_DEFINE_MEMBERS_DXF(CLASS_NAME, PARENT_NAME, DXF_NAME)                                           \
    AcRxClass* CLASS_NAME::desc()                                                                            \
    {                                                                                                        \
        static AcRxClass cls(ACRX_T(#CLASS_NAME), PARENT_NAME::desc(), DXF_NAME);                            \
        return &cls;                                                                                         \
    }                                                                                                        \
    AcRxClass* CLASS_NAME::isA() const                                                                       \
    {                                                                                                        \
        return CLASS_NAME::desc();                                                                           \
    }
#define ACRX_DEFINE_MEMBERS(CLASS_NAME, PARENT_NAME) ACRX_DEFINE_MEMBERS_DXF(CLASS_NAME, PARENT_NAME, nullptr)
