// Run-time class information of the framework: each class can name itself and its base, and an
// object can be asked whether it is of a class or derived from it.
#pragma once

#include "platform/base/win_types.h"

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;  // null for the root

    BOOL IsDerivedFrom(const CRuntimeClass* baseClass) const;
};

class CObject {
  public:
    static const CRuntimeClass classCObject;

    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)               \
  public:                                         \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;

// The named base need not be the C++ base class: a class may name a more distant ancestor.
#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                    \
    const CRuntimeClass class_name::class##class_name = {#class_name,                     \
                                                         RUNTIME_CLASS(base_class_name)}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }
