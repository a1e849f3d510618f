#include "store/Object.h"

#include "store/QMPassword.h"

#include <array>

const CRuntimeClass CObject::classCObject = {"CObject", 0xFFFF, nullptr, nullptr};

std::unique_ptr<CObject> CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* pClass = this; pClass != nullptr; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass) {
            return true;
        }
    }
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name) {
    // Entries are the only objects a password file holds.
    static constexpr std::array<const CRuntimeClass*, 1> kStorable = {&QMPassword::classQMPassword};
    for (const CRuntimeClass* pClass : kStorable) {
        if (name == pClass->m_lpszClassName) {
            return pClass;
        }
    }
    return nullptr;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}
