#include "store/Archive.h"

#include "store/QMPassword.h"
#include "support/ByteHelpers.h"

#include <gtest/gtest.h>

using klt::test::Hex;

namespace {

template <class Write> std::string Stored(Write write) {
    std::string image;
    CArchive ar(image);
    write(ar);
    return image;
}

std::string StoredText(size_t nLength) {
    return Stored([&](CArchive& ar) { ar.WriteText(std::string(nLength, 'x')); });
}

CArchiveException::Cause LoadFailure(const std::string& image) {
    CArchive ar{std::string_view(image)};
    std::list<std::unique_ptr<QMPassword>> list;
    try {
        ar.ReadObjectList(list);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

const std::string kClassDescription = Hex("FF FF 00 00 0A 00") + "QMPassword";
const std::string kEmptyBody = Hex("00 00 00 00  00 00 00 00");

// An archive whose index counter stops early, so the limit can be reached with a few objects.
class LimitedArchive : public CArchive {
public:
    LimitedArchive(std::string& image, uint32_t nLimit) : CArchive(image) { m_nIndexLimit = nLimit; }
    LimitedArchive(std::string_view image, uint32_t nLimit) : CArchive(image) { m_nIndexLimit = nLimit; }
};

} // namespace

TEST(ArchiveIntegers, AreLittleEndianWithoutPadding) {
    const std::string image = Stored([](CArchive& ar) {
        ar.WriteByte(0xAB);
        ar.WriteWord(0x1234);
        ar.WriteDWord(0x89ABCDEF);
    });
    EXPECT_EQ(image, Hex("AB 34 12 EF CD AB 89"));

    CArchive ar{std::string_view(image)};
    EXPECT_TRUE(ar.IsLoading());
    EXPECT_EQ(ar.ReadByte(), 0xAB);
    EXPECT_EQ(ar.ReadWord(), 0x1234);
    EXPECT_EQ(ar.ReadDWord(), 0x89ABCDEFu);
    EXPECT_EQ(ar.GetRemaining(), 0u);
    try {
        ar.ReadByte();
        FAIL() << "read past the end";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST(ArchiveText, PrefixFormsAtEachBoundary) {
    EXPECT_EQ(StoredText(0), Hex("00"));
    EXPECT_EQ(StoredText(254).substr(0, 1), Hex("FE"));
    EXPECT_EQ(StoredText(255).substr(0, 3), Hex("FF FF 00"));
    EXPECT_EQ(StoredText(65533).substr(0, 3), Hex("FF FD FF"));
    EXPECT_EQ(StoredText(65534).substr(0, 7), Hex("FF FF FF FE FF 00 00"));
    EXPECT_EQ(StoredText(65534).size(), 7u + 65534u);

    for (const size_t n : {0, 1, 254, 255, 256, 65533, 65534, 70000}) {
        const std::string text(n, 'q');
        const std::string image = Stored([&](CArchive& ar) { ar.WriteText(text); });
        CArchive ar{std::string_view(image)};
        EXPECT_EQ(ar.ReadText(), text) << n;
        EXPECT_EQ(ar.GetRemaining(), 0u) << n;
    }
}

TEST(ArchiveText, ReaderTakesFormsTheWriterNeverProduces) {
    const std::string image = Hex("FF 05 00") + "abcde" + Hex("FF FF FF 05 00 00 00") + "fghij" +
                              Hex("FF 00 00") + Hex("FF FF FF 00 00 00 00");
    CArchive ar{std::string_view(image)};
    EXPECT_EQ(ar.ReadText(), "abcde");
    EXPECT_EQ(ar.ReadText(), "fghij");
    EXPECT_EQ(ar.ReadText(), "");
    EXPECT_EQ(ar.ReadText(), "");
    EXPECT_EQ(ar.GetRemaining(), 0u);
}

TEST(ArchiveText, WideTextsComeBackAsUtf8) {
    // "hé", then "€" + an unpaired surrogate, then U+1F511 as a surrogate pair (word count form).
    const std::string image = Hex("FF FE FF 02 68 00 E9 00") + Hex("FF FE FF 02 AC 20 00 D8") +
                              Hex("FF FE FF FF 02 00 3D D8 11 DD");
    CArchive ar{std::string_view(image)};
    EXPECT_EQ(ar.ReadText(), "h\xC3\xA9");
    EXPECT_EQ(ar.ReadText(), "\xE2\x82\xAC?");
    EXPECT_EQ(ar.ReadText(), "\xF0\x9F\x94\x91");
}

TEST(ArchiveText, MalformedLengthsAreRefused) {
    const auto cause = [](const std::string& image) {
        CArchive ar{std::string_view(image)};
        try {
            ar.ReadText();
        } catch (const CArchiveException& e) {
            return e.m_cause;
        }
        return CArchiveException::none;
    };
    EXPECT_EQ(cause(Hex("05") + "abcd"), CArchiveException::endOfFile);
    EXPECT_EQ(cause(Hex("FF 05")), CArchiveException::endOfFile);
    // Lengths no file could back: refused before anything is allocated for them.
    EXPECT_EQ(cause(Hex("FF FF FF FF FF FF FF") + "abc"), CArchiveException::endOfFile);
    EXPECT_EQ(cause(Hex("FF FE FF FF FF FF FF FF FF") + "abcdef"), CArchiveException::endOfFile);
    EXPECT_EQ(cause(Hex("FF FE FF 02 41 00 42")), CArchiveException::endOfFile);
    // A second wide marker right after the first.
    EXPECT_EQ(cause(Hex("FF FE FF FF FE FF 01 41 00")), CArchiveException::genericException);
}

TEST(ArchiveCount, ShortAndLongForms) {
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0); }), Hex("00 00"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(65534); }), Hex("FE FF"));
    EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(65535); }), Hex("FF FF FF FF 00 00"));

    const std::string image = Hex("FE FF  FF FF FF FF 00 00  FF FF 03 00 00 00");
    CArchive ar{std::string_view(image)};
    EXPECT_EQ(ar.ReadCount(), 65534u);
    EXPECT_EQ(ar.ReadCount(), 65535u);
    EXPECT_EQ(ar.ReadCount(), 3u);
}

TEST(ArchiveObjects, FirstEntryCarriesTheClassLaterOnesItsIndex) {
    std::list<std::unique_ptr<QMPassword>> list;
    list.push_back(std::make_unique<QMPassword>("A", "", "", 1));
    list.push_back(std::make_unique<QMPassword>("B", "", "", 2));
    list.push_back(std::make_unique<QMPassword>("C", "", "", 3));
    const std::string image = Stored([&](CArchive& ar) { ar.WriteObjectList(list); });
    const std::string body = Hex("01 41 00 00 00 01 00 00 00");
    EXPECT_EQ(image, Hex("03 00") + kClassDescription + body + Hex("01 80 01 42 00 00 00 02 00 00 00") +
                         Hex("01 80 01 43 00 00 00 03 00 00 00"));

    std::list<std::unique_ptr<QMPassword>> read;
    CArchive ar{std::string_view(image)};
    ar.ReadObjectList(read);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read.back()->m_strSystem, "C");
    EXPECT_EQ(read.back()->m_timeLastChange, 3);
}

TEST(ArchiveObjects, WriterRefersBackToObjectsAlreadyWritten) {
    QMPassword entry("A", "", "", 0);
    const std::string image = Stored([&](CArchive& ar) {
        ar.WriteObject(nullptr);
        ar.WriteObject(&entry);
        ar.WriteObject(&entry);
    });
    EXPECT_EQ(image, Hex("00 00") + kClassDescription + Hex("01 41 00 00 00 00 00 00 00") + Hex("02 00"));
}

TEST(ArchiveObjects, LargeIndicesUseTheDwordForm) {
    // Fill the index space with 0x7FFF objects so that the class's index stays 1 but objects and a
    // back reference pass 0x7FFF.
    std::list<std::unique_ptr<QMPassword>> list;
    for (int i = 0; i < 0x7FFF; ++i) {
        list.push_back(std::make_unique<QMPassword>());
    }
    std::string image;
    CArchive ar(image);
    ar.WriteObjectList(list);
    const size_t nBefore = image.size();
    ar.WriteObject(list.back().get()); // index 0x8000
    EXPECT_EQ(image.substr(nBefore), Hex("FF 7F 00 80 00 00"));

    std::list<std::unique_ptr<QMPassword>> read;
    CArchive reader{std::string_view(image).substr(0, nBefore)};
    reader.ReadObjectList(read);
    EXPECT_EQ(read.size(), 0x7FFFu);
    // The long form of a class index: word 7FFF, then dword 0x80000001.
    EXPECT_EQ(
        LoadFailure(Hex("02 00") + kClassDescription + kEmptyBody + Hex("FF 7F 01 00 00 80") + kEmptyBody),
        CArchiveException::none);
}

TEST(ArchiveObjects, BadReferencesAreRefused) {
    const std::string first = kClassDescription + kEmptyBody; // class 1, object 2
    // Class index 0, and a class index not yet given.
    EXPECT_EQ(LoadFailure(Hex("01 00 00 80") + kEmptyBody), CArchiveException::badIndex);
    EXPECT_EQ(LoadFailure(Hex("01 00 01 80") + kEmptyBody), CArchiveException::badIndex);
    EXPECT_EQ(LoadFailure(Hex("02 00") + first + Hex("03 80") + kEmptyBody), CArchiveException::badIndex);
    EXPECT_EQ(LoadFailure(Hex("01 00 FF 7F FF FF FF FF") + kEmptyBody), CArchiveException::badIndex);
    // A class index that names an object.
    EXPECT_EQ(LoadFailure(Hex("02 00") + first + Hex("02 80") + kEmptyBody), CArchiveException::badIndex);
    // Inside a list every element must be a new object: no null, no repeat, no class as an object.
    EXPECT_EQ(LoadFailure(Hex("01 00 00 00")), CArchiveException::badIndex);
    EXPECT_EQ(LoadFailure(Hex("02 00") + first + Hex("02 00")), CArchiveException::badIndex);
    EXPECT_EQ(LoadFailure(Hex("02 00") + first + Hex("01 00")), CArchiveException::badIndex);
    EXPECT_EQ(LoadFailure(Hex("02 00") + first + Hex("FF 7F 02 00 00 00")), CArchiveException::badIndex);
    // An object reference beyond anything read.
    EXPECT_EQ(LoadFailure(Hex("01 00 05 00")), CArchiveException::badIndex);
}

TEST(ArchiveObjects, ClassDescriptionsAreChecked) {
    const auto described = [](uint16_t wSchema, std::string_view name) {
        std::string image = Hex("01 00 FF FF");
        image += static_cast<char>(wSchema), image += static_cast<char>(wSchema >> 8);
        image += static_cast<char>(name.size()), image += '\0';
        return image + std::string(name) + kEmptyBody;
    };
    EXPECT_EQ(LoadFailure(described(0, "QMPassword")), CArchiveException::none);
    EXPECT_EQ(LoadFailure(described(1, "QMPassword")), CArchiveException::badSchema);
    EXPECT_EQ(LoadFailure(described(0, "qmpassword")), CArchiveException::badClass);
    EXPECT_EQ(LoadFailure(described(0, "CObject")), CArchiveException::badClass);
    // 64 bytes is too long, whatever they spell.
    EXPECT_EQ(LoadFailure(described(0, "QMPassword" + std::string(54, '\0'))), CArchiveException::badClass);
    // A name cut short by the end of the data is an unknown class, not the end of data.
    EXPECT_EQ(LoadFailure(Hex("01 00 FF FF 00 00 0A 00") + "QMPass"), CArchiveException::badClass);
    EXPECT_EQ(LoadFailure(Hex("01 00 FF FF 00 00 0A")), CArchiveException::endOfFile);
    // An entry body cut short.
    EXPECT_EQ(LoadFailure(Hex("01 00") + kClassDescription + Hex("00 00 00 00 00 00")),
              CArchiveException::endOfFile);
    // A list that promises more elements than the data holds.
    EXPECT_EQ(LoadFailure(Hex("FF FF FF FF FF FF") + kClassDescription + kEmptyBody),
              CArchiveException::endOfFile);
}

TEST(ArchiveObjects, ListsOnlyTakeObjectsOfTheirClass) {
    // A list of something other than entries refuses the entry class.
    struct Other : CObject {};
    std::list<std::unique_ptr<Other>> list;
    const std::string image = Hex("01 00") + kClassDescription + kEmptyBody;
    CArchive ar{std::string_view(image)};
    EXPECT_THROW(ar.ReadObjectList(list), CArchiveException);
    EXPECT_TRUE(list.empty());

    // Objects without a storable class cannot be written.
    std::string out;
    CArchive writer(out);
    const Other other;
    EXPECT_THROW(writer.WriteObject(&other), CArchiveException);
}

TEST(ArchiveObjects, IndexCounterLimitStopsBothDirections) {
    // With the limit at 3 the class takes 1 and the first entry 2; the second entry finds no index.
    std::list<std::unique_ptr<QMPassword>> list;
    list.push_back(std::make_unique<QMPassword>());
    list.push_back(std::make_unique<QMPassword>());
    std::string image;
    LimitedArchive writer(image, 3);
    EXPECT_THROW(writer.WriteObjectList(list), CArchiveException);

    const std::string file = Hex("02 00") + kClassDescription + kEmptyBody + Hex("01 80") + kEmptyBody;
    std::list<std::unique_ptr<QMPassword>> read;
    LimitedArchive reader(std::string_view(file), 3);
    try {
        reader.ReadObjectList(read);
        FAIL() << "limit not enforced";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
    EXPECT_EQ(read.size(), 1u);
    LimitedArchive roomy(std::string_view(file), 4);
    read.clear();
    roomy.ReadObjectList(read);
    EXPECT_EQ(read.size(), 2u);
}

TEST(IdentityMap, FindsEveryKeyThroughCollisionsAndGrowth) {
    // The keys are never followed, only compared. Keys 16 * 4096 bytes apart share their home slot
    // until the table outgrows them.
    const auto key = [](uintptr_t n) { return reinterpret_cast<const void*>(n); };
    klt::IdentityMap map;
    std::vector<const void*> keys;
    for (uintptr_t i = 1; i <= 3000; ++i) {
        keys.push_back(key(0x10000000 + i * 16 * 4096 * (i % 2 ? 1 : 3)));
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(map.Find(keys[i]), 0u);
        map.Insert(keys[i], static_cast<uint32_t>(i + 1));
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        ASSERT_EQ(map.Find(keys[i]), i + 1) << i;
    }
    EXPECT_EQ(map.Find(key(0x10000010)), 0u);
}
