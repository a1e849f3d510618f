#pragma once
// The root of the framework's objects: run-time class information and the storable-class registry.

#include <cstdint>
#include <memory>
#include <string_view>

class CArchive;
class CObject;

// What the archive stream knows of a class: the name written in files, the schema number and the
// factory that makes a default object when one is read. Classes without a factory are not storable.
struct CRuntimeClass {
    const char* m_lpszClassName;
    uint32_t m_wSchema;
    std::unique_ptr<CObject> (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    bool IsSerializable() const { return m_pfnCreateObject != nullptr; }
    std::unique_ptr<CObject> CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The storable class of that exact name (case-sensitive), or null.
    static const CRuntimeClass* FromName(std::string_view name);
};

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    // Writes or reads the object's own items, by the direction of the archive.
    virtual void Serialize(CArchive& ar);

    bool IsKindOf(const CRuntimeClass* pClass) const;
    bool IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
