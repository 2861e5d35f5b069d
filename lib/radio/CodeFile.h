#pragma once
// Radio code files (.bin): the radio's operating software as the maker delivers it. Bytes 7-8
// hold L, high byte first; the code image is the first L + 72 bytes and ends with the 64-byte
// Software Description record at L + 9; trunk code may carry overlay sections from L + 73 on.
// Code files come from outside, so every length and section is checked against the bytes read
// before anything is copied, and a file that fails is refused with a message.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Person.h"
#include "image/Images.h"
#include "radio/RadioIdentity.h"
#include "radio/TrunkPrep.h"

namespace km {

inline constexpr std::size_t kCodeFileReadLimit = 65535;
inline constexpr std::size_t kCodeLengthField = 7;    // L, high byte first
inline constexpr std::size_t kDescriptionInFile = 9;  // the record starts at L + 9
inline constexpr std::size_t kCodeImageExtra = 72;    // the code image is L + 72 bytes
inline constexpr std::size_t kDescriptionRecordSize = 64;
// The code image is written in pieces of this size, each into its own 32-block slot.
inline constexpr std::size_t kCodePieceSize = 16383;
// Four pieces hold at most 65531 bytes; longer images are refused.
inline constexpr std::size_t kCodeImageLimit = 4 * kCodePieceSize - 1;

inline constexpr const char* kCodeFileNotFoundText = "Code File not found.";
inline constexpr const char* kNoDescriptionText =
    "Software Description not found.                       \nInvalid Program Code File.";
// The same refusal as the Download button words it.
inline constexpr const char* kNoDescriptionDownloadText =
    "Software Description not found.                   \nInvalid Program Code File.";
inline constexpr const char* kUnknownCodeFileText = "Unknown Program-Code File.";
inline constexpr const char* kStartupCodeTooLongText =
    "Invalid Program Code File.\nStartup code must fit in two pieces of 16383 bytes.";
inline constexpr const char* kInvalidCodeExtensionText =
    "Invalid File.                       \nFile must have the extension *.bin";

// The Software Description record; text fields are ASCII without terminator.
struct SoftwareDescription {
    std::string description;         // 25 characters
    std::string softwareCode;        // five digits, for example 14670
    std::string versionText;         // for example V6.30
    std::string date;                // dd/mm/yyyy
    std::uint8_t codeType = 0xFF;    // 0xFF: no description
    std::string requiredRcpCode;     // display only
    std::string requiredRcpVersion;  // display only
};

// What a code type is and where in the radio it goes (the FIT entry of its area).
enum class CodeFamily {
    Revision8Mobile,
    Portable,
    Revision9Mobile,
    Revision10Mobile,
    OptionBoard,
    ApcoP25
};
struct CodeTypeInfo {
    std::uint8_t codeType;
    std::string_view kindText;          // shown in the download dialog
    std::string_view questionKindText;  // used in the download question
    int fitEntry;
    CodeFamily family;
};
inline constexpr int kStartupCodeEntry = 7;
inline constexpr int kPmrCodeEntry = 8;
inline constexpr int kTrunkCodeEntry = 20;
inline constexpr int kOptionBoardCodeEntry = 25;
inline constexpr int kApcoCodeEntry = 30;

// A code file made for the virtual radio: its description begins with the virtual radio's mark.
bool VirtualRadioBuild(const SoftwareDescription& description);

// Nothing for a code type the radio does not know ("Unknown Program-Code File.").
std::optional<CodeTypeInfo> CodeTypeOf(std::uint8_t codeType);

// What the code is and which radio it is made for, in words, for the person choosing a file
// ("TRUNK software for a Revision 9 KM700 Mobile", "DMAP software for the option board").
std::string CodeKindInWords(const CodeTypeInfo& type);

// Startup code is written in two pieces and never has an overlay; other code is written in four
// pieces and may be followed by its overlay.
std::size_t CodePiecesWritten(const CodeTypeInfo& type);
bool CodeTakesOverlay(const CodeTypeInfo& type);

// 100 x the digit at version text offset 1 + 10 x offset 3 + offset 4 (V6.30 gives 630).
int CodeVersionNumber(std::string_view versionText);
// The first five characters of the software code, each minus '0', as hexadecimal digits.
std::int64_t SoftwareCodeNumber(std::string_view softwareCode);
// 1 standard KP8D code, 2 KP8D with rotary knob, 0 anything else.
int SoftwareCodeClass(std::int64_t softwareCodeNumber);

// A code file that passed the checks: the bytes read and where its code image ends.
struct CodeImage {
    std::vector<std::uint8_t> fileBytes;
    std::size_t codeLength = 0;  // L + 72
    SoftwareDescription description;
};

// Either the checked image or the text of the refusal.
struct CodeFileCheck {
    std::optional<CodeImage> image;
    std::string_view refusal;
};

// Checks the bytes of a code file: the length field must leave the whole description record
// inside the file, the image must stay below 65532 bytes, the record must be present (its code
// type not 0xFF), and startup code must fit the two pieces that are written of it.
CodeFileCheck InspectCodeFile(std::span<const std::uint8_t> fileBytes);

// The extension of a code file must be ".bin" or ".BIN" exactly.
bool CodeFileExtensionAccepted(const std::filesystem::path& path);

// The write regions of a code image: pieces of 16383 bytes; progress total = length / 128.
WriteRegions CodeRegions(std::size_t codeLength);

// Reads and checks a code file; shows the error and gives nothing when it cannot be used.
std::optional<CodeImage> ReadCodeFile(const std::filesystem::path& path, Person& person);

// Puts a checked code image into the ScratchBuffer from offset 0 (the rest 0xFF, so every byte
// sent is the file's or 0xFF) and gives its write regions.
WriteRegions LoadCodeImage(const CodeImage& image, ScratchBuffer& scratch);

// ReadCodeFile followed by LoadCodeImage.
std::optional<WriteRegions> LoadCodeFile(const std::filesystem::path& path, ScratchBuffer& scratch,
                                         Person& person);

// Overlay sections of code files. A section is a count c (high byte first) and a slot s,
// 3 x c + 6 bytes long in all; sections of more than 6 and fewer than 4096 bytes are used, up to
// four, each copied whole to s x 4096 of a 16384-byte overlay image. The image starts as a copy of
// the first 16384 bytes the code file loads (0xFF past its end), so the bytes no section covers
// are the loaded code image's.
inline constexpr std::size_t kOverlayFileLimit = 81920;
inline constexpr std::size_t kOverlayImageSize = 16383;
inline constexpr std::size_t kOverlaySlotSize = 4096;
inline constexpr std::size_t kMaxOverlaySections = 4;
using OverlayImage = std::array<std::uint8_t, kWriteBufferSize>;

inline constexpr const char* kOverlayCodeFileNotFoundText =
    "Code File not found.                        ";
inline constexpr const char* kOverlayTooLongText =
    "Trunk Overlay Code (>16K) is not supported by this RCP.                        ";
inline constexpr const char* kOverlaySectionInvalidText =
    "Invalid Trunk Overlay Code.\nAn overlay section lies outside the file or outside the "
    "overlay area.";

enum class OverlayOutcome { None, Built, TooLong, SectionInvalid };
struct OverlayParse {
    OverlayOutcome outcome = OverlayOutcome::None;
    OverlayImage image{};
};
// `fileBytes` is the whole file, read up to one byte more than 81920.
OverlayParse ParseOverlay(std::span<const std::uint8_t> fileBytes);

// Shows the error of an overlay that cannot be used and returns false; true for a usable or
// missing overlay. Run on every code file that may bring one before the first erase.
bool CheckOverlay(const CodeImage& image, Person& person);

// Builds the overlay image of a code file into the ScratchBuffer from 0 (regions: 16383,
// 0, 0, 0; progress total 127). Nothing when the file has no overlay or cannot be used; the
// errors are shown.
std::optional<WriteRegions> LoadOverlay(const std::filesystem::path& path, ScratchBuffer& scratch,
                                        Person& person);

// Checks of a code download against the identified radio, before anything is erased. When
// several apply, the last one's text is given.
std::optional<std::string_view> CodeCompatibilityRefusal(std::uint8_t codeType,
                                                         const RadioIdentity& radio);
// Portables only: the software code class against the hardware option flags of the band record.
std::optional<std::string_view> PortableCodeRefusal(std::uint8_t codeType, int codeClass,
                                                    const RadioIdentity& radio);

// Software before V6.30 cannot run on the new flash devices of Revision 9 and 10 mobiles
// (option board code excepted).
inline constexpr int kMinimumVersionForNewFlash = 630;
inline constexpr const char* kOlderSoftwareText =
    "Older Software may not be placed in a radio with                           \nnew Flash "
    "devices. Minimum radio SW version is V6.30.";
// The same refusal as Program Radio words it.
inline constexpr const char* kOlderSoftwareProgrammingText =
    "Older Software may not be placed in a radio with                               \nnew Flash "
    "devices. Minimum radio SW version is V6.30.";
bool OlderSoftwareRefused(const RadioIdentity& radio, int codeVersion, std::uint8_t codeType);

// The code area named by a FIT entry can take code: sector not 0, 1 or 255, block not 0xFFFF
// and not below 60.
bool CodeAreaUsable(const FitEntry& entry);

// Builds a code file: `code` is the L + 9 bytes before the record (bytes 7-8 are set to L), then
// the record, then the overlay sections, each given as its slot and its 3 x c + 3 bytes after
// the header. For the sample files of the virtual radio and for tests.
struct OverlaySection {
    std::uint8_t slot = 0;
    std::vector<std::uint8_t> body;
};
std::vector<std::uint8_t> MakeCodeFile(std::span<const std::uint8_t> code,
                                       const SoftwareDescription& description,
                                       std::span<const OverlaySection> overlays);

}  // namespace km
