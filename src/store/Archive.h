#pragma once
// The archive stream: the little-endian byte encoding of a file body. One archive serves one save
// or one load. A storing archive appends to a memory image; a loading archive consumes one from the
// front and ignores whatever is left after the last item asked for.
//
// Classes and objects share one index space per stream (0 is the null reference). On loading, every
// object reference must make a new object: the lists that read them own their elements, so a null
// or a reference back to an earlier object is refused as a bad index.

#include "store/ArchiveException.h"
#include "store/IdentityMap.h"
#include "store/Object.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CArchive {
public:
    enum Mode { store, load };

    // Indices are handed out only while the counter is below this.
    static constexpr uint32_t kIndexLimit = 0x3FFFFFFE;

    // A storing archive that appends to image.
    explicit CArchive(std::string& image);
    // A loading archive over image, which must outlive it.
    explicit CArchive(std::string_view image);

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    ~CArchive();

    bool IsStoring() const { return m_nMode == store; }
    bool IsLoading() const { return m_nMode == load; }
    // The schema of the class whose object is being read right now.
    uint32_t GetObjectSchema() const { return m_nObjectSchema; }

    void WriteByte(uint8_t by);
    void WriteWord(uint16_t w);
    void WriteDWord(uint32_t dw);
    void WriteText(std::string_view str);
    void WriteCount(size_t nCount);
    // Writes a reference to pObject (null allowed), with its class and its own items the first time.
    void WriteObject(const CObject* pObject);
    template <class T> void WriteObjectList(const std::list<std::unique_ptr<T>>& list);

    uint8_t ReadByte();
    uint16_t ReadWord();
    uint32_t ReadDWord();
    // Any length-prefix form is accepted; wide texts come back as UTF-8.
    std::string ReadText();
    uint32_t ReadCount();
    // Reads a reference that makes a new object and returns it (never null).
    std::unique_ptr<CObject> ReadObject();
    // Reads a counted list of new objects of class T and appends them to list, in file order.
    // What was read before an error stays in list.
    template <class T> void ReadObjectList(std::list<std::unique_ptr<T>>& list);

    // Bytes a loading archive has not consumed yet.
    size_t GetRemaining() const { return static_cast<size_t>(m_pEnd - m_pCur); }

protected:
    // Lowered by tests that check the counter limit without writing a billion objects.
    uint32_t m_nIndexLimit = kIndexLimit;

private:
    uint32_t NextIndex();
    void WriteClass(const CRuntimeClass* pClass);
    void WriteListElement(const CObject* pObject);
    // Writes an object not written before: its class, its index and its items.
    void WriteNewObject(const CObject* pObject, bool bListed);
    void MapListElements();
    const CRuntimeClass* ReadClass(uint16_t wTag, uint32_t nTag);
    const char* Take(size_t nBytes);
    size_t ReadTextLength(bool& bWide);

    Mode m_nMode;
    std::string* m_pImage = nullptr;
    const char* m_pCur = nullptr;
    const char* m_pEnd = nullptr;
    uint32_t m_nMapCount = 1;
    uint32_t m_nObjectSchema = 0;
    // Storing: index of each class and object written, by identity.
    klt::IdentityMap m_storeMap;
    // Storing: the objects written as elements of lists, with their indices, kept out of m_storeMap
    // while no other object is in it. A list owns its elements, so no element can come twice in
    // lists and only WriteObject needs to find them: it maps them first. Saving lists alone thus
    // never hashes an entry, which for a million entries means a million cache misses less.
    std::vector<std::pair<const CObject*, uint32_t>> m_listed;
    bool m_bObjectsMapped = false;
    // Loading: the class at each index; object slots hold null.
    std::vector<const CRuntimeClass*> m_loadArray;
};

template <class T> void CArchive::WriteObjectList(const std::list<std::unique_ptr<T>>& list) {
    WriteCount(list.size());
    for (const auto& pObject : list) {
        WriteListElement(pObject.get());
    }
}

template <class T> void CArchive::ReadObjectList(std::list<std::unique_ptr<T>>& list) {
    for (uint32_t n = ReadCount(); n > 0; --n) {
        std::unique_ptr<CObject> pObject = ReadObject();
        T* pTyped = dynamic_cast<T*>(pObject.get());
        if (pTyped == nullptr) {
            throw CArchiveException(CArchiveException::badClass);
        }
        pObject.release();
        list.emplace_back(pTyped);
    }
}
