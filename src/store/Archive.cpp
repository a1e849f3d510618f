#include "store/Archive.h"

#include "store/TextCodec.h"

namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kBigTag = 0x7FFF; // a dword index follows
constexpr uint32_t kClassBit = 0x80000000;
constexpr uint8_t kByteLengthEscape = 0xFF;
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kWordLengthEscape = 0xFFFF;
constexpr size_t kMaxClassNameLength = 63;

[[noreturn]] void Fail(CArchiveException::Cause cause) {
    throw CArchiveException(cause);
}

// UTF-16LE code units to UTF-8; unpaired surrogates become '?', the code page's default character.
std::string WideToUtf8(const char* pBytes, size_t nChars) {
    const auto unit = [pBytes](size_t i) {
        return char32_t(static_cast<uint8_t>(pBytes[2 * i]) | static_cast<uint8_t>(pBytes[2 * i + 1]) << 8);
    };
    const auto isHigh = [](char32_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    const auto isLow = [](char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    std::u32string text;
    text.reserve(nChars);
    for (size_t i = 0; i < nChars; ++i) {
        const char32_t c = unit(i);
        if (isHigh(c) && i + 1 < nChars && isLow(unit(i + 1))) {
            text.push_back(0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00));
        } else {
            text.push_back(isHigh(c) || isLow(c) ? U'?' : c);
        }
    }
    return klt::EncodeUtf8(text);
}

} // namespace

CArchive::CArchive(std::string& image) : m_nMode(store), m_pImage(&image) {}

CArchive::CArchive(std::string_view image)
    : m_nMode(load), m_pCur(image.data()), m_pEnd(image.data() + image.size()), m_loadArray{nullptr} {}

CArchive::~CArchive() = default;

uint32_t CArchive::NextIndex() {
    if (m_nMapCount >= m_nIndexLimit) {
        Fail(CArchiveException::badIndex);
    }
    return m_nMapCount++;
}

// Storing -----------------------------------------------------------------------------------------

void CArchive::WriteByte(uint8_t by) {
    m_pImage->push_back(static_cast<char>(by));
}

void CArchive::WriteWord(uint16_t w) {
    const char bytes[2] = {static_cast<char>(w), static_cast<char>(w >> 8)};
    m_pImage->append(bytes, sizeof bytes);
}

void CArchive::WriteDWord(uint32_t dw) {
    const char bytes[4] = {static_cast<char>(dw), static_cast<char>(dw >> 8), static_cast<char>(dw >> 16),
                           static_cast<char>(dw >> 24)};
    m_pImage->append(bytes, sizeof bytes);
}

void CArchive::WriteText(std::string_view str) {
    const size_t n = str.size();
    if (n < kByteLengthEscape) {
        WriteByte(static_cast<uint8_t>(n));
    } else if (n < kWideMarker) {
        WriteByte(kByteLengthEscape);
        WriteWord(static_cast<uint16_t>(n));
    } else if (n <= UINT32_MAX) {
        WriteByte(kByteLengthEscape);
        WriteWord(kWordLengthEscape);
        WriteDWord(static_cast<uint32_t>(n));
    } else {
        Fail(CArchiveException::genericException);
    }
    m_pImage->append(str);
}

void CArchive::WriteCount(size_t nCount) {
    if (nCount < 0xFFFF) {
        WriteWord(static_cast<uint16_t>(nCount));
    } else if (nCount <= UINT32_MAX) {
        WriteWord(0xFFFF);
        WriteDWord(static_cast<uint32_t>(nCount));
    } else {
        Fail(CArchiveException::genericException);
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClass) {
    if (const uint32_t nIndex = m_storeMap.Find(pClass); nIndex != 0) {
        if (nIndex < kBigTag) {
            WriteWord(static_cast<uint16_t>(0x8000 | nIndex));
        } else {
            WriteWord(kBigTag);
            WriteDWord(kClassBit | nIndex);
        }
        return;
    }
    const std::string_view name = pClass->m_lpszClassName;
    m_storeMap.Insert(pClass, NextIndex());
    WriteWord(kNewClassTag);
    WriteWord(static_cast<uint16_t>(pClass->m_wSchema));
    WriteWord(static_cast<uint16_t>(name.size()));
    m_pImage->append(name);
}

void CArchive::WriteObject(const CObject* pObject) {
    if (pObject == nullptr) {
        WriteWord(0);
        return;
    }
    MapListElements();
    if (const uint32_t nIndex = m_storeMap.Find(pObject); nIndex != 0) {
        if (nIndex < kBigTag) {
            WriteWord(static_cast<uint16_t>(nIndex));
        } else {
            WriteWord(kBigTag);
            WriteDWord(nIndex);
        }
        return;
    }
    WriteNewObject(pObject, false);
}

void CArchive::WriteListElement(const CObject* pObject) {
    if (pObject == nullptr || m_bObjectsMapped) {
        WriteObject(pObject);
    } else {
        WriteNewObject(pObject, true);
    }
}

void CArchive::WriteNewObject(const CObject* pObject, bool bListed) {
    const CRuntimeClass* pClass = pObject->GetRuntimeClass();
    if (!pClass->IsSerializable()) {
        Fail(CArchiveException::badClass);
    }
    WriteClass(pClass);
    const uint32_t nIndex = NextIndex();
    if (bListed) {
        m_listed.emplace_back(pObject, nIndex);
    } else {
        m_storeMap.Insert(pObject, nIndex);
        m_bObjectsMapped = true;
    }
    // Storing only reads the object; Serialize serves both directions and so is not const.
    const_cast<CObject*>(pObject)->Serialize(*this);
}

void CArchive::MapListElements() {
    if (m_listed.empty()) {
        return;
    }
    m_storeMap.Reserve(m_listed.size());
    for (const auto& [pObject, nIndex] : m_listed) {
        m_storeMap.Insert(pObject, nIndex);
    }
    m_listed = {};
    m_bObjectsMapped = true;
}

// Loading -----------------------------------------------------------------------------------------

const char* CArchive::Take(size_t nBytes) {
    if (GetRemaining() < nBytes) {
        Fail(CArchiveException::endOfFile);
    }
    const char* p = m_pCur;
    m_pCur += nBytes;
    return p;
}

uint8_t CArchive::ReadByte() {
    return static_cast<uint8_t>(*Take(1));
}

uint16_t CArchive::ReadWord() {
    const auto* p = reinterpret_cast<const uint8_t*>(Take(2));
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t CArchive::ReadDWord() {
    const auto* p = reinterpret_cast<const uint8_t*>(Take(4));
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

size_t CArchive::ReadTextLength(bool& bWide) {
    const uint8_t by = ReadByte();
    if (by < kByteLengthEscape) {
        return by;
    }
    const uint16_t w = ReadWord();
    if (w == kWideMarker) {
        if (bWide) {
            Fail(CArchiveException::genericException);
        }
        bWide = true;
        return ReadTextLength(bWide);
    }
    return w == kWordLengthEscape ? ReadDWord() : w;
}

std::string CArchive::ReadText() {
    bool bWide = false;
    const size_t n = ReadTextLength(bWide);
    if (!bWide) {
        const char* p = Take(n);
        return std::string(p, n);
    }
    // Compare before doubling: the count may be up to 2^32 - 1 characters.
    if (GetRemaining() / 2 < n) {
        Fail(CArchiveException::endOfFile);
    }
    return WideToUtf8(Take(2 * n), n);
}

uint32_t CArchive::ReadCount() {
    const uint16_t w = ReadWord();
    return w == 0xFFFF ? ReadDWord() : w;
}

const CRuntimeClass* CArchive::ReadClass(uint16_t wTag, uint32_t nTag) {
    if (wTag == kNewClassTag) {
        const uint16_t wSchema = ReadWord();
        const uint16_t nLength = ReadWord();
        if (nLength > kMaxClassNameLength || GetRemaining() < nLength) {
            Fail(CArchiveException::badClass);
        }
        const CRuntimeClass* pClass = CRuntimeClass::FromName(std::string_view(Take(nLength), nLength));
        if (pClass == nullptr) {
            Fail(CArchiveException::badClass);
        }
        if (pClass->m_wSchema != wSchema) {
            Fail(CArchiveException::badSchema);
        }
        NextIndex();
        m_loadArray.push_back(pClass);
        return pClass;
    }
    const uint32_t nIndex = nTag & ~kClassBit;
    // Index 0, an index not yet given, or one given to an object cannot name a class.
    if (nIndex == 0 || nIndex >= m_loadArray.size() || m_loadArray[nIndex] == nullptr) {
        Fail(CArchiveException::badIndex);
    }
    return m_loadArray[nIndex];
}

std::unique_ptr<CObject> CArchive::ReadObject() {
    const uint16_t wTag = ReadWord();
    const uint32_t nTag = wTag == kBigTag ? ReadDWord() : (uint32_t(wTag & 0x8000) << 16) | (wTag & 0x7FFF);
    // A null reference or one back to anything read earlier: lists own their elements, so each
    // must be a new object.
    if ((nTag & kClassBit) == 0) {
        Fail(CArchiveException::badIndex);
    }
    const CRuntimeClass* pClass = ReadClass(wTag, nTag);
    std::unique_ptr<CObject> pObject = pClass->CreateObject();
    NextIndex();
    m_loadArray.push_back(nullptr);
    const uint32_t nOldSchema = m_nObjectSchema;
    m_nObjectSchema = pClass->m_wSchema;
    pObject->Serialize(*this);
    m_nObjectSchema = nOldSchema;
    return pObject;
}
