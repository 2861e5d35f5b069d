#include "radio/CodeFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "PrepTestSupport.h"
#include "ScriptedPerson.h"

namespace km {
namespace {

using testing::Mobile;
using testing::PortableRadio;
using testing::ScratchFolder;
using testing::ScriptedPerson;

SoftwareDescription Description(std::uint8_t codeType, const std::string& softwareCode = "10810",
                                const std::string& version = "V6.30") {
    SoftwareDescription d;
    d.description = "KM700 Trunk Software";
    d.softwareCode = softwareCode;
    d.versionText = version;
    d.date = "01/02/2006";
    d.codeType = codeType;
    d.requiredRcpCode = "14010";
    d.requiredRcpVersion = "V5.80";
    return d;
}

// The L + 9 bytes before the record of a code image `codeLength` (L + 72) bytes long.
std::vector<std::uint8_t> Code(std::size_t codeLength) {
    std::vector<std::uint8_t> code(codeLength - 63);
    for (std::size_t i = 0; i < code.size(); ++i) {
        code[i] = static_cast<std::uint8_t>(i * 31 + 5);
    }
    return code;
}

std::vector<std::uint8_t> File(std::size_t codeLength, std::uint8_t codeType = 2,
                               const std::vector<OverlaySection>& overlays = {}) {
    return MakeCodeFile(Code(codeLength), Description(codeType), overlays);
}

OverlaySection Section(std::uint8_t slot, std::size_t count, std::uint8_t fill) {
    return {slot, std::vector<std::uint8_t>(3 * count + 3, fill)};
}

// ---- Loading code images ----

TEST(CodeFileTest, CodeImageIsWrittenInPiecesOf16383Bytes) {
    struct Case {
        std::size_t codeLength;
        std::array<std::size_t, 4> pieces;
    };
    for (const Case& c :
         {Case{72, {72, 0, 0, 0}}, Case{16382, {16382, 0, 0, 0}}, Case{16383, {16383, 0, 0, 0}},
          Case{32765, {16383, 16382, 0, 0}}, Case{40000, {16383, 16383, 7234, 0}},
          Case{65531, {16383, 16383, 16383, 16382}}}) {
        const WriteRegions regions = CodeRegions(c.codeLength);
        EXPECT_EQ(regions.WriteRegionLength, c.pieces) << c.codeLength;
        EXPECT_EQ(regions.progressTotal, static_cast<int>(c.codeLength / 128));
    }
}

TEST(CodeFileTest, LoadingPutsTheFileAtTheStartOfABlankScratchBuffer) {
    ScratchFolder folder;
    const auto bytes = File(40000);
    const auto path = folder.Put("7ktm630.bin", bytes);
    auto scratch = std::make_unique<ScratchBuffer>();
    scratch->Fill(0x11);
    ScriptedPerson person;
    const auto regions = LoadCodeFile(path, *scratch, person);
    ASSERT_TRUE(regions);
    EXPECT_EQ(regions->WriteRegionLength, (std::array<std::size_t, 4>{16383, 16383, 7234, 0}));
    EXPECT_EQ(regions->progressTotal, 312);
    EXPECT_TRUE(std::ranges::equal(scratch->Region(0, bytes.size()), bytes));
    EXPECT_EQ(scratch->U8(bytes.size()), 0xFF);
    EXPECT_EQ(scratch->U8(scratch->Size() - 1), 0xFF);
    EXPECT_TRUE(person.shown.empty());
}

TEST(CodeFileTest, StartupCodeIsWrittenInTwoPiecesWithoutOverlay) {
    for (std::uint8_t type : {4, 58, 80, 90}) {
        EXPECT_EQ(CodePiecesWritten(*CodeTypeOf(type)), 2u) << int{type};
        EXPECT_FALSE(CodeTakesOverlay(*CodeTypeOf(type))) << int{type};
    }
    // Every other code, trunk or not, is written in four pieces and may bring an overlay.
    for (std::uint8_t type : {2, 3, 61, 59, 81, 82, 83, 92, 93, 132}) {
        EXPECT_EQ(CodePiecesWritten(*CodeTypeOf(type)), 4u) << int{type};
        EXPECT_TRUE(CodeTakesOverlay(*CodeTypeOf(type))) << int{type};
    }

    // A startup image that two pieces cannot hold would be cut short: it is refused.
    for (const auto& [codeLength, accepted] :
         {std::pair{std::size_t{30000}, true}, std::pair{std::size_t{32766}, true},
          std::pair{std::size_t{32767}, false}}) {
        const CodeFileCheck check = InspectCodeFile(File(codeLength, 4, {Section(0, 4, 0x11)}));
        EXPECT_EQ(check.image.has_value(), accepted) << codeLength;
        if (accepted) {
            const WriteRegions regions = CodeRegions(check.image->codeLength);
            EXPECT_EQ(regions.WriteRegionLength[2], 0u);
            EXPECT_EQ(regions.WriteRegionLength[3], 0u);
        } else {
            EXPECT_EQ(check.refusal, kStartupCodeTooLongText);
        }
    }
}

TEST(CodeFileTest, FilesWhoseLengthOrRecordCannotBeTrustedAreRefused) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> cut = File(1000);
    cut.pop_back();  // the record's last byte is missing
    std::vector<std::uint8_t> erased = File(1000);
    erased[7] = 0xFF;
    erased[8] = 0xFF;
    std::vector<std::uint8_t> tooLong = File(65532);
    const Case cases[] = {
        {"empty", {}},
        {"shorter than the length field", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"record cut short", cut},
        {"erased length field", erased},
        {"image of 65532 bytes", tooLong},
        {"no description", File(1000, 0xFF)},
    };
    for (const Case& c : cases) {
        const CodeFileCheck check = InspectCodeFile(c.bytes);
        EXPECT_FALSE(check.image) << c.name;
        EXPECT_EQ(check.refusal, kNoDescriptionText) << c.name;
    }
    EXPECT_TRUE(InspectCodeFile(File(65531)).image);
}

TEST(CodeFileTest, RefusedOrMissingFileLeavesTheScratchBufferAlone) {
    ScratchFolder folder;
    const auto bad = folder.Put("bad.bin", File(1000, 0xFF));
    struct Case {
        std::filesystem::path path;
        const char* text;
    };
    for (const Case& c : {Case{bad, kNoDescriptionText},
                          Case{folder.Path() / "absent.bin", "Code File not found."}}) {
        auto scratch = std::make_unique<ScratchBuffer>();
        scratch->Fill(0x11);
        ScriptedPerson person;
        EXPECT_FALSE(LoadCodeFile(c.path, *scratch, person));
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].kind, BoxKind::Error);
        EXPECT_EQ(person.shown[0].text, c.text);
        EXPECT_EQ(scratch->U8(0), 0x11);
    }
}

TEST(CodeFileTest, ExtensionMustBeBinInOneCase) {
    for (const auto& [name, accepted] :
         {std::pair{"7ktm630.bin", true}, std::pair{"7KTM630.BIN", true},
          std::pair{"7ktm630.Bin", false}, std::pair{"7ktm630.bin.txt", false},
          std::pair{"7ktm630", false}}) {
        EXPECT_EQ(CodeFileExtensionAccepted(name), accepted) << name;
    }
}

// ---- The Software Description ----

TEST(CodeFileTest, DescriptionFieldsVersionAndCodeClass) {
    const auto bytes =
        MakeCodeFile(Code(2000), Description(61, "14670", "V6.30"), std::vector<OverlaySection>{});
    const CodeFileCheck check = InspectCodeFile(bytes);
    ASSERT_TRUE(check.image);
    const SoftwareDescription& d = check.image->description;
    EXPECT_EQ(d.description, "KM700 Trunk Software     ");
    EXPECT_EQ(d.softwareCode, "14670 ");
    EXPECT_EQ(d.versionText, "V6.30 ");
    EXPECT_EQ(d.date, "01/02/2006");
    EXPECT_EQ(d.codeType, 61);
    EXPECT_EQ(d.requiredRcpCode, "14010 ");
    EXPECT_EQ(d.requiredRcpVersion, "V5.80 ");
    EXPECT_EQ(CodeVersionNumber(d.versionText), 630);
    EXPECT_EQ(SoftwareCodeNumber(d.softwareCode), 0x14670);

    for (const auto& [code, cls] :
         {std::pair{"14670", 1}, std::pair{"15090", 1}, std::pair{"16230", 2},
          std::pair{"16290", 2}, std::pair{"10810", 0}, std::pair{"1467", 0}}) {
        EXPECT_EQ(SoftwareCodeClass(SoftwareCodeNumber(code)), cls) << code;
    }
}

TEST(CodeFileTest, CodeTypesNameTheirKindAndArea) {
    struct Case {
        std::uint8_t type;
        const char* kind;
        const char* questionKind;
        int entry;
        const char* words;  // what the download dialog says of a file of this type
    };
    for (const Case& c :
         {Case{2, "TRUNK", "TRUNK", 20, "TRUNK software for a Revision 8 KM700 Mobile"},
          Case{3, "PMR", "PMR", 8, "PMR software for a Revision 8 KM700 Mobile"},
          Case{4, "StartUp", "StartUp", 7, "StartUp software for a Revision 8 KM700 Mobile"},
          Case{132, "DMAP", "DMAP", 25, "DMAP software for the option board"},
          Case{58, "Startup", "Startup", 7, "Startup software for a KP800 Portable"},
          Case{61, "TRUNK", "TRUNK", 20, "TRUNK software for a KP800 Portable"},
          Case{82, "APCO P25", "APCO-P25", 30, "APCO P25 software for a Revision 9 KM700 Mobile"},
          Case{83, "TRUNK", "TRUNK", 20, "TRUNK software for a Revision 9 KM700 Mobile"},
          Case{91, "PMR", "PMR", 8, "PMR software for a Revision 10 KM700 Mobile"},
          Case{92, "APCO P25", "APCO-P25", 30,
               "APCO P25 software for a Revision 10 KM700 Mobile"}}) {
        const auto info = CodeTypeOf(c.type);
        ASSERT_TRUE(info) << int{c.type};
        EXPECT_EQ(info->kindText, c.kind);
        EXPECT_EQ(info->questionKindText, c.questionKind);
        EXPECT_EQ(info->fitEntry, c.entry);
        EXPECT_EQ(CodeKindInWords(*info), c.words);
    }
    for (std::uint8_t unknown : {0, 1, 5, 11, 60, 84, 255}) {
        EXPECT_FALSE(CodeTypeOf(unknown)) << int{unknown};
    }
}

// ---- Checks against the radio ----

RadioIdentity WithOptionBoard(RadioIdentity radio) {
    radio.OptionBoardFitted = true;
    return radio;
}
RadioIdentity SecureMobile() {
    RadioIdentity radio = Mobile(0);
    radio.Secure = true;
    return radio;
}

TEST(CodeFileTest, CodeGoesOnlyIntoTheRadiosItIsMadeFor) {
    struct Case {
        std::uint8_t type;
        RadioIdentity radio;
        const char* text;  // nullptr: accepted
    };
    const Case cases[] = {
        {61, Mobile(0), "Cannot download KP800 Portable code into an KM700 Mobile."},
        {61, PortableRadio(false, false, false), nullptr},
        {132, Mobile(0), "Cannot download option board code. \nNo option board fitted."},
        {132, WithOptionBoard(Mobile(4)), nullptr},
        {2, PortableRadio(false, false, false),
         "Cannot download KM700 Mobile code into an KP800 Portable."},
        {3, Mobile(4), "Cannot download Revision 8 Mobile code into a Revision 9 KM700 Mobile."},
        {4, Mobile(0), nullptr},
        {80, Mobile(8),
         "Cannot download Revision 9 KM700 Mobile code into a Revision 10 KM700 Mobile."},
        {83, Mobile(0),
         "Cannot download Revision 9 KM700 Mobile code into a Revision 8 KM700 Mobile."},
        {81, PortableRadio(true, true, true),
         "Cannot download KM700 Mobile code into an KP800 Portable."},
        {93, Mobile(4),
         "Cannot download Revision 10 KM700 Mobile code into a Revision 9 KM700 Mobile."},
        {90, Mobile(0),
         "Cannot download Revision 10 KM700 Mobile code into a Revision 8 KM700 Mobile."},
        {91, Mobile(8), nullptr},
        {82, Mobile(0), nullptr},
        {92, PortableRadio(false, false, false), nullptr},
        {93, SecureMobile(), kInvalidRadioText},
        {2, SecureMobile(), kInvalidRadioText},
    };
    for (const Case& c : cases) {
        const auto refusal = CodeCompatibilityRefusal(c.type, c.radio);
        if (c.text == nullptr) {
            EXPECT_FALSE(refusal) << int{c.type} << ": " << *refusal;
        } else {
            ASSERT_TRUE(refusal) << int{c.type};
            EXPECT_EQ(*refusal, c.text);
        }
    }
}

TEST(CodeFileTest, PortableCodeClassMustSuitTheKp8bOrKp8d) {
    struct Case {
        std::uint8_t type;
        int codeClass;
        RadioIdentity radio;
        const char* text;  // nullptr: accepted
    };
    const Case cases[] = {
        // Band record byte 27 bit 7 set: a KP8B (HardwareOptionB clear).
        {61, 1, PortableRadio(true, false, false),
         "Cannot download KP8D Portable Code into an KP8B Portable."},
        {59, 2, PortableRadio(false, false, false),
         "Cannot download KP8D Portable Code into an KP8B Portable."},
        {61, 0, PortableRadio(true, false, false), nullptr},
        {61, 0, PortableRadio(false, true, true),
         "Cannot download KP8B Portable Code into an KP8D Portable."},
        {92, 0, PortableRadio(false, true, false),
         "Cannot download incorrect Code into an KP8D Portable."},
        {58, 1, PortableRadio(false, true, true),
         "Cannot download Standard KP8D Code into KP8D with Rotary Knob."},
        {58, 2, PortableRadio(false, true, false),
         "Cannot download KP8D(with Rotary Knob) Code into Standard KP8D."},
        {58, 2, PortableRadio(false, true, true), nullptr},
        {58, 1, PortableRadio(false, true, false), nullptr},
        // Mobiles have no portable hardware checks.
        {2, 0,
         [] {
             RadioIdentity r = Mobile(0);
             r.HardwareOptionB = true;
             return r;
         }(),
         nullptr},
    };
    for (const Case& c : cases) {
        const auto refusal = PortableCodeRefusal(c.type, c.codeClass, c.radio);
        if (c.text == nullptr) {
            EXPECT_FALSE(refusal) << int{c.type} << ": " << *refusal;
        } else {
            ASSERT_TRUE(refusal) << int{c.type};
            EXPECT_EQ(*refusal, c.text);
        }
    }
}

TEST(CodeFileTest, OlderSoftwareIsRefusedOnNewFlashDevicesOfNewerMobiles) {
    struct Case {
        int flashType;
        int revision;
        int version;
        std::uint8_t type;
        bool refused;
    };
    for (const Case& c :
         {Case{2, 4, 620, 82, true}, Case{2, 8, 629, 93, true}, Case{2, 4, 630, 82, false},
          Case{1, 4, 620, 82, false}, Case{2, 0, 620, 2, false}, Case{2, 4, 100, 132, false}}) {
        RadioIdentity radio = Mobile(c.revision);
        radio.FlashType = c.flashType;
        EXPECT_EQ(OlderSoftwareRefused(radio, c.version, c.type), c.refused)
            << c.flashType << " " << c.revision << " " << c.version;
    }
    EXPECT_EQ(std::string(kOlderSoftwareText),
              "Older Software may not be placed in a radio with                           \nnew "
              "Flash devices. Minimum radio SW version is V6.30.");
}

TEST(CodeFileTest, CodeAreaMustBeARealCodeSector) {
    for (const auto& [sector, block, usable] :
         {std::tuple{2, 60, true}, std::tuple{0, 100, false}, std::tuple{1, 100, false},
          std::tuple{255, 100, false}, std::tuple{3, 0xFFFF, false}, std::tuple{3, 59, false}}) {
        EXPECT_EQ(
            CodeAreaUsable({static_cast<std::uint8_t>(sector), static_cast<std::uint16_t>(block)}),
            usable)
            << sector << " " << block;
    }
}

// ---- Overlays ----

// The overlay image starts as what the loaded code file leaves in the ScratchBuffer: its first
// bytes, and 0xFF past the end of the file.
TEST(CodeFileTest, OverlaySectionsAreCopiedToTheirSlotsOverTheLoadedCode) {
    const auto bytes = File(1000, 2, {Section(0, 4, 0x11), Section(2, 100, 0x22)});
    ASSERT_LT(bytes.size(), 2u * 4096);
    const OverlayParse parse = ParseOverlay(bytes);
    ASSERT_EQ(parse.outcome, OverlayOutcome::Built);
    EXPECT_EQ(parse.image[0], 0x00);  // the section header is copied too: count 4, slot 0
    EXPECT_EQ(parse.image[1], 0x04);
    EXPECT_EQ(parse.image[2], 0x00);
    EXPECT_EQ(parse.image[3], 0x11);
    EXPECT_EQ(parse.image[17], 0x11);
    for (std::size_t i = 18; i < bytes.size(); ++i) {
        ASSERT_EQ(parse.image[i], bytes[i]) << i;
    }
    EXPECT_EQ(parse.image[bytes.size()], 0xFF);
    EXPECT_EQ(parse.image[2 * 4096 + 2], 0x02);
    EXPECT_EQ(parse.image[2 * 4096 + 305], 0x22);
    EXPECT_EQ(parse.image[2 * 4096 + 306], 0xFF);
    EXPECT_EQ(parse.image[16383], 0xFF);

    ScratchFolder folder;
    const auto path = folder.Put("7ktm630.bin", bytes);
    auto scratch = std::make_unique<ScratchBuffer>();
    ScriptedPerson person;
    const auto regions = LoadOverlay(path, *scratch, person);
    ASSERT_TRUE(regions);
    EXPECT_EQ(regions->WriteRegionLength, (std::array<std::size_t, 4>{16383, 0, 0, 0}));
    EXPECT_EQ(regions->progressTotal, 127);
    EXPECT_TRUE(std::ranges::equal(scratch->Region(0, 16384), parse.image));
    EXPECT_TRUE(person.shown.empty());
}

TEST(CodeFileTest, OverlayParsingStopsAtAnUnusableSectionOrAfterFour) {
    struct Case {
        const char* name;
        std::vector<OverlaySection> sections;
        OverlayOutcome outcome;
        std::size_t
            lastCopied;  // offset of a byte that holds section data, or of one that does not
        int value;       // what it holds; -1: the code file's own byte there
    };
    const Case cases[] = {
        {"none", {}, OverlayOutcome::None, 0, 0xFF},
        {"empty section ends the list",
         {Section(0, 0, 0x11), Section(1, 5, 0x22)},
         OverlayOutcome::None,
         4096 + 3,
         0xFF},
        {"section of 4096 bytes or more ends the list",
         {Section(0, 1364, 0x11)},
         OverlayOutcome::None,
         3,
         0xFF},
        {"largest section fills slot 3 to the end of the image",
         {Section(3, 1363, 0x33)},
         OverlayOutcome::Built,
         16382,
         0x33},
        {"a fifth section is not used",
         {Section(0, 1, 1), Section(1, 1, 2), Section(2, 1, 3), Section(3, 1, 4), Section(0, 9, 5)},
         OverlayOutcome::Built,
         20,
         -1},
    };
    for (const Case& c : cases) {
        const auto bytes = File(1000, 2, c.sections);
        const OverlayParse parse = ParseOverlay(bytes);
        EXPECT_EQ(parse.outcome, c.outcome) << c.name;
        if (c.outcome == OverlayOutcome::Built) {
            EXPECT_EQ(parse.image[c.lastCopied], c.value < 0 ? bytes[c.lastCopied] : c.value)
                << c.name;
        }
    }
    // Too short for a section: no overlay, and no message.
    std::vector<std::uint8_t> shortFile = File(1000);
    shortFile.resize(shortFile.size() + 8, 0);
    EXPECT_EQ(ParseOverlay(shortFile).outcome, OverlayOutcome::None);
}

TEST(CodeFileTest, OverlaySectionsOutsideTheFileOrTheImageAreRefused) {
    std::vector<std::uint8_t> cut = File(1000, 2, {Section(1, 50, 0x11)});
    cut.pop_back();
    std::vector<std::uint8_t> farSlot = File(1000, 2, {Section(4, 1, 0x11)});
    std::vector<std::uint8_t> lastSlot = File(1000, 2, {Section(255, 1, 0x11)});
    for (const auto* bytes : {&cut, &farSlot, &lastSlot}) {
        EXPECT_EQ(ParseOverlay(*bytes).outcome, OverlayOutcome::SectionInvalid);
        const CodeFileCheck check = InspectCodeFile(*bytes);
        ASSERT_TRUE(check.image);
        ScriptedPerson person;
        EXPECT_FALSE(CheckOverlay(*check.image, person));
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].kind, BoxKind::Error);
        EXPECT_EQ(person.shown[0].buttons, Buttons::Cancel);
        EXPECT_EQ(person.shown[0].text, kOverlaySectionInvalidText);
    }
}

TEST(CodeFileTest, OverlayErrorsHaveOnlyACancelButton) {
    ScratchFolder folder;
    std::vector<std::uint8_t> huge = File(1000, 2, {Section(0, 4, 0x11)});
    huge.resize(kOverlayFileLimit + 1, 0);
    const auto hugePath = folder.Put("huge.bin", huge);
    struct Case {
        std::filesystem::path path;
        const char* text;
    };
    for (const Case& c :
         {Case{hugePath,
               "Trunk Overlay Code (>16K) is not supported by this RCP.                        "},
          Case{folder.Path() / "absent.bin", "Code File not found.                        "}}) {
        auto scratch = std::make_unique<ScratchBuffer>();
        scratch->Fill(0x11);
        ScriptedPerson person;
        EXPECT_FALSE(LoadOverlay(c.path, *scratch, person));
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].buttons, Buttons::Cancel);
        EXPECT_EQ(person.shown[0].text, c.text);
        EXPECT_EQ(scratch->U8(0), 0x11);
    }
    // The code of a file too long for its overlay still loads.
    ScriptedPerson person;
    EXPECT_TRUE(ReadCodeFile(hugePath, person));
}

}  // namespace
}  // namespace km
