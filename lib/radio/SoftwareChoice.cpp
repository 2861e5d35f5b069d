#include "radio/SoftwareChoice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>
#include <system_error>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

#include "config/RadioTypes.h"
#include "config/UiMap.h"
#include "core/Files.h"
#include "fields/FieldOps.h"

namespace km {
namespace {

// ---- The radio's code record ----

constexpr std::size_t kPartNumberOffset = 25;
constexpr std::size_t kPartNumberWidth = 4;
constexpr std::size_t kVersionOffset = 31;
constexpr std::size_t kVersionWidth = 6;

std::string DigitsIn(const CodeDescriptor& record, std::size_t offset, std::size_t width) {
    std::string digits;
    for (std::size_t i = offset; i < offset + width; ++i) {
        if (std::isdigit(record[i])) {
            digits.push_back(static_cast<char>(record[i]));
        }
    }
    return digits;
}

int NumberOf(std::string_view digits) {
    int n = 0;
    for (char c : digits) {
        n = n * 10 + (c - '0');
    }
    return n;
}

// ---- Software types by part number ----

struct PartType {
    int partNumber;
    int type;
};

constexpr PartType kTrunkTypes[] = {
    {1071, 1},    {1374, 1},    {1079, 6},    {1073, 8},    {1081, 8},    {1427, 8},    {1078, 9},
    {1089, 10},   {1417, 10},   {1105, 11},   {1104, 13},   {1106, 13},   {1107, 14},   {1108, 15},
    {1114, 21},   {1112, 23},   {1115, 23},   {1113, 24},   {1145, 27},   {1144, 28},   {1157, 29},
    {1153, 30},   {1152, 31},   {1158, 32},   {1259, 33},   {1199, 34},   {1218, 35},   {1123, 256},
    {1288, 256},  {1376, 256},  {1467, 257},  {1623, 257},  {1292, 513},  {1432, 513},  {1293, 514},
    {1298, 515},  {1299, 516},  {1294, 517},  {1295, 518},  {1296, 519},  {1300, 520},  {1297, 521},
    {1301, 522},  {1422, 523},  {1125, 768},  {1347, 768},  {1438, 768},  {1470, 769},  {1628, 769},
    {1126, 1024}, {1348, 1024}, {1471, 1025}, {1629, 1025}, {1127, 1280}, {1437, 1280},
};

constexpr PartType kPmrTypes[] = {
    {0, 0x3000},  {1071, 1},    {1072, 2},    {1109, 4},    {1110, 3},    {1111, 5},   {1123, 256},
    {1288, 256},  {1124, 512},  {1204, 512},  {1346, 512},  {1143, 26},   {1156, 33},  {1178, 36},
    {1279, 258},  {1280, 260},  {1281, 259},  {1282, 282},  {1283, 289},  {1284, 292}, {1351, 544},
    {1352, 545},  {1406, 48},   {1407, 49},   {1408, 50},   {1409, 51},   {1410, 52},  {1411, 53},
    {1451, 534},  {1452, 528},  {1453, 539},  {1454, 533},  {1455, 537},  {1456, 531}, {1457, 538},
    {1458, 532},  {1459, 535},  {1460, 529},  {1461, 536},  {1462, 530},  {1467, 257}, {1623, 257},
    {1468, 1537}, {1469, 1537}, {1625, 1537}, {1627, 1537}, {1500, 1536}, {1508, 513}, {1509, 513},
    {1624, 513},  {1626, 513},
};

template <std::size_t N>
int TypeOf(const PartType (&table)[N], int partNumber) {
    for (const PartType& entry : table) {
        if (entry.partNumber == partNumber) {
            return entry.type;
        }
    }
    // Numbers the table does not know are special builds when they look like part numbers.
    return partNumber >= 1000 && partNumber <= 9000 ? kSpecialSoftwareType : kUnknownSoftwareType;
}

// ---- The job: control head, numbering scheme, option board ----

bool FistMicHead(Head head) {
    return head == Head::HmB || head == Head::HmC;
}

constexpr std::uint16_t kBandX8 = 0x5838;

// Option board items.
constexpr int kMaxOptionBoardMode = 7;
constexpr int kProtocolMap27 = 0;
constexpr int kProtocolSup = 1;

struct OptionBoard {
    int mode;
    int protocol;
};

// The job's option board and its serial protocol, as the Input/Output rows of the User Interface
// form hold them.
OptionBoard OptionBoardOf(std::span<const std::uint8_t> job, fields::ImageId image) {
    auto number = [&](const fields::FieldRow& row) {
        const fields::FieldValue value =
            fields::ReadField(row, job, static_cast<std::size_t>(row.at.Of(image)));
        const auto* n = std::get_if<std::int64_t>(&value);
        return n ? static_cast<int>(*n) : -1;
    };
    return {number(io_rows::kOptionBoard), number(io_rows::kProtocol)};
}

// The rows of the suffix tables: 0 None or DMAP, 1 Direct GPS, 2 SIB or Audio Discriminator,
// 3 600ohm or ASI-Standard on MAP27, 4 the same on SUP, 5 ASI-GPS.
std::optional<std::string_view> OptionBoardRow(const OptionBoard& board, int& row) {
    constexpr int kRowOfMode[] = {0, 1, 2, 0, 2, 3, 3, 5};
    if (board.mode < 0 || board.mode > kMaxOptionBoardMode) {
        return kUnknownOptionBoardText;
    }
    row = kRowOfMode[board.mode];
    if (row == 3) {
        if (board.protocol == kProtocolSup) {
            row = 4;
        } else if (board.protocol != kProtocolMap27) {
            return kUnknownAsiProtocolText;
        }
    }
    return std::nullopt;
}

// Hardware option columns of the portable tables: B and C, B only, A only (B clear), neither.
int HardwareColumn(const RadioIdentity& radio) {
    if (radio.HardwareOptionB) {
        return radio.HardwareOptionC ? 0 : 1;
    }
    return radio.HardwareOptionA ? 2 : 3;
}

// What the job needs: the software type and the file name patterns.
struct Needed {
    int type = kUnknownSoftwareType;
    std::string codeName;  // prefix and suffix; the code files are codeName + "???.bin"
    std::string startupPattern;
    std::string_view error;  // set when no software supports the job
};

Needed Refused(std::string_view error) {
    Needed needed;
    needed.error = error;
    return needed;
}

// ---- Trunk code ----

// Numbering schemes: 0 MPT1343, 1 ANN, 2 3RP, 3 CPSX. The tables' columns: MPT (MPT1343 and
// 3RP), ANN, CPSX.
std::optional<int> SchemeColumn(int scheme) {
    constexpr int kColumnOfScheme[] = {0, 1, 0, 2};
    if (scheme < 0 || scheme > 3) {
        return std::nullopt;
    }
    return kColumnOfScheme[scheme];
}

struct TrunkPortableRow {
    int type;
    std::array<const char*, 4> prefix;  // by hardware column
};
constexpr TrunkPortableRow kTrunkPortable[] = {
    {768, {"b1tma", "b1tm_", "a1tm_", "81tm"}},
    {1024, {"b1taa", "b1ta_", "a1ta_", "81ta"}},
    {1280, {"b1tga", "b1tg_", "a1tg_", "81tg"}},
};
constexpr std::array<const char*, 4> kTrunkPortableStartup = {"b1s_a*.bin", "b1s__*.bin",
                                                              "a1s__*.bin", "81s_*.bin"};

// A cell of a suffix table: the suffix and type, or the error when no software exists.
struct Cell {
    const char* suffix;
    int type;
    const char* error;
};
constexpr Cell Ok(const char* suffix, int type) {
    return {suffix, type, nullptr};
}
constexpr Cell No(const char* error) {
    return {nullptr, 0, error};
}

struct TrunkMobileRow {
    Cell fistMic;                 // HM-B, HM-C
    std::array<Cell, 3> serial;   // HM-A, HM-E, HM-F by scheme column
    std::array<Cell, 3> handset;  // HM-D by scheme column
};
constexpr TrunkMobileRow kTrunkMobile[] = {
    {Ok("b", 6),
     {Ok("m", 8), Ok("a", 9), Ok("g", 10)},
     {Ok("m_", 513), Ok("a_", 514), Ok("g_", 523)}},
    {Ok("bg", 11),
     {Ok("mg", 13), Ok("ag", 14), Ok("gg", 15)},
     {Ok("mg", 515), Ok("ag", 516), Ok("gg", 15)}},
    {Ok("bs", 16),
     {Ok("ms", 18), Ok("as", 19), Ok("gs", 20)},
     {No(kUnknownHeadText), No(kUnknownHeadText), No(kUnknownHeadText)}},
    {Ok("ba", 27),
     {Ok("ma", 28), Ok("aa", 29), No(kAisNumberingText)},
     {Ok("ma", 519), Ok("aa", 520), No(kAisNumberingText)}},
    {Ok("bu", 30),
     {Ok("mu", 31), Ok("au", 32), No(kAisNumberingText)},
     {Ok("mu", 521), Ok("au", 522), No(kAisNumberingText)}},
    {Ok("bq", 33),
     {Ok("mq", 34), Ok("aq", 35), No(kUnknownNumberingText)},
     {Ok("mq", 517), Ok("aq", 518), No(kUnknownNumberingText)}},
};

// Mobile prefixes: HM-D, other heads.
std::pair<const char*, const char*> TrunkMobilePrefix(const RadioIdentity& radio) {
    if (radio.MobileRevision == 0) {
        return {"akt", "7kt"};
    }
    if (radio.RadioBand == kBandX8) {
        return {"aet", "7et"};
    }
    return radio.MobileRevision == 8 ? std::pair{"aat", "7at"} : std::pair{"a9t", "79t"};
}

const char* TrunkMobileStartup(const RadioIdentity& radio) {
    if (radio.MobileRevision == 0) {
        return "7ks_*.bin";
    }
    if (radio.RadioBand == kBandX8) {
        return "7es_???.bin";
    }
    return radio.MobileRevision == 8 ? "7as_*.bin" : "79s_*.bin";
}

constexpr std::size_t kNetwork1Scheme = trunk::NetworkFileStart(0) + network::kNumberingScheme;

Needed NeededTrunkSoftware(const TrunkJobImage& job, const JobRadioType& jobType,
                           const RadioIdentity& radio) {
    const Head head = HeadOfMask(jobType.RadioTypeMask);
    const int scheme = job.U16(kNetwork1Scheme);
    Needed needed;
    if (IsPortableHead(head)) {
        const auto column = SchemeColumn(scheme);
        if (!column) {
            return Refused(kUnknownNumberingText);
        }
        const TrunkPortableRow& row = kTrunkPortable[*column];
        needed.type = row.type + (jobType.PortableGeneration == 2 ? 1 : 0);
        needed.codeName = row.prefix[HardwareColumn(radio)];
        needed.startupPattern = kTrunkPortableStartup[HardwareColumn(radio)];
        return needed;
    }
    if (!IsKnownHead(head)) {
        return Refused(kUnknownHeadText);
    }
    int row = 0;
    const OptionBoard board = OptionBoardOf(job.Bytes(), fields::ImageId::Trunk);
    if (const auto error = OptionBoardRow(board, row)) {
        return Refused(*error);
    }
    const auto column = SchemeColumn(scheme);
    if (!column) {
        return Refused(kUnknownNumberingText);
    }
    const TrunkMobileRow& cells = kTrunkMobile[row];
    // The numbering refusals of an option board (CPSX on an ASI board) hold for every head, the
    // fist microphone heads too; the serial heads' cells carry them.
    if (const char* numberingError = cells.serial[*column].error) {
        return Refused(numberingError);
    }
    const Cell& cell = FistMicHead(head)   ? cells.fistMic
                       : head == Head::HmD ? cells.handset[*column]
                                           : cells.serial[*column];
    if (cell.error != nullptr) {
        return Refused(cell.error);
    }
    const auto [handsetPrefix, otherPrefix] = TrunkMobilePrefix(radio);
    needed.type = cell.type;
    needed.codeName = std::string(head == Head::HmD ? handsetPrefix : otherPrefix) + cell.suffix;
    needed.startupPattern = TrunkMobileStartup(radio);
    return needed;
}

// ---- PMR code ----

struct PmrPortableColumn {
    const char* prefix;
    const char* zonePrefix;  // nullptr: the portable has no Zone Mode
    int zoneType;
    const char* startupPattern;
};
constexpr PmrPortableColumn kPmrPortable[] = {
    {"b1p_a", "b1pza", 1537, "b1s_a???.bin"},
    {"b1p__", "b1pz_", 1537, "b1s__???.bin"},
    {"a1p__", "a1pz_", 1536, "a1s__???.bin"},
    {"81p_", nullptr, 0, "81s_???.bin"},
};
constexpr int kPmrPortableType = 512;

struct PmrCell {
    const char* suffix;
    int type;
    int zoneType;
};
struct PmrMobileRow {
    PmrCell fistMic;  // HM-B, HM-C: no Zone Mode build
    PmrCell handset;  // HM-D
    PmrCell serial;   // HM-A, HM-E, HM-F
};
constexpr PmrMobileRow kPmrMobile[] = {
    {{"b", 48, 48}, {"_", 258, 528}, {"", 2, 534}},
    {{"bg", 50, 50}, {"g", 259, 529}, {"g", 3, 535}},
    {{"bs", 52, 52}, {"s", 260, 530}, {"s", 4, 536}},
    {{"ba", 49, 49}, {"a", 282, 531}, {"a", 26, 537}},
    {{"bu", 53, 53}, {"u", 289, 532}, {"u", 33, 538}},
    {{"bq", 51, 51}, {"q", 292, 533}, {"q", 36, 539}},
};
// Serial heads without option board on the 800 MHz band run their own build.
constexpr int kPmrX8Type = 545;

struct PmrMobilePrefix {
    std::string handset;
    std::string other;
    std::string fistMic;
    const char* startupPattern;
};

std::optional<PmrMobilePrefix> PmrMobilePrefixes(const RadioIdentity& radio, bool zoneMode) {
    if (radio.MobileRevision == 0) {
        if (zoneMode) {
            return std::nullopt;
        }
        return PmrMobilePrefix{"akp_", "7kp_", "7kp", "7ks_???.bin"};
    }
    const auto [handset, other, startup] =
        radio.RadioBand == kBandX8  ? std::tuple{"aep", "7ep", "7es_???.bin"}
        : radio.MobileRevision == 8 ? std::tuple{"aap", "7ap", "7as_???.bin"}
                                    : std::tuple{"a9p", "79p", "79s_???.bin"};
    const char* zone = zoneMode ? "z" : "_";
    return PmrMobilePrefix{std::string(handset) + zone, std::string(other) + zone, other, startup};
}

Needed NeededPmrSoftware(const PmrJobImage& job, const JobRadioType& jobType,
                         const RadioIdentity& radio) {
    const Head head = HeadOfMask(jobType.RadioTypeMask);
    const bool zoneMode = ZoneModeSet(job);
    Needed needed;
    if (IsPortableHead(head)) {
        const PmrPortableColumn& column = kPmrPortable[HardwareColumn(radio)];
        if (zoneMode && column.zonePrefix == nullptr) {
            return Refused(kRevision1PortableZoneText);
        }
        needed.type = zoneMode ? column.zoneType
                               : kPmrPortableType + (jobType.PortableGeneration == 2 ? 1 : 0);
        needed.codeName = zoneMode ? column.zonePrefix : column.prefix;
        needed.startupPattern = column.startupPattern;
        return needed;
    }
    if (!IsKnownHead(head)) {
        return Refused(kUnknownHeadText);
    }
    const auto prefix = PmrMobilePrefixes(radio, zoneMode);
    if (!prefix) {
        return Refused(kRevision8MobileZoneText);
    }
    int row = 0;
    const OptionBoard board = OptionBoardOf(job.Bytes(), fields::ImageId::Pmr);
    if (const auto error = OptionBoardRow(board, row)) {
        return Refused(*error);
    }
    const PmrMobileRow& cells = kPmrMobile[row];
    const PmrCell& cell = FistMicHead(head)   ? cells.fistMic
                          : head == Head::HmD ? cells.handset
                                              : cells.serial;
    needed.type = zoneMode ? cell.zoneType : cell.type;
    if (row == 0 && head != Head::HmD && !FistMicHead(head) && job.U16(pmr::kBandCode) == kBandX8) {
        needed.type = kPmrX8Type;
    }
    const std::string& base = FistMicHead(head)   ? prefix->fistMic
                              : head == Head::HmD ? prefix->handset
                                                  : prefix->other;
    needed.codeName = base + cell.suffix;
    needed.startupPattern = prefix->startupPattern;
    return needed;
}

// ---- Texts ----

// Fills the "%s" and "%3.2f" places of a message in order.
std::string Fill(std::string_view format, std::initializer_list<std::string> values) {
    std::string text;
    auto value = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const std::string_view rest = format.substr(i);
        const std::size_t place = rest.starts_with("%s") ? 2 : rest.starts_with("%3.2f") ? 5 : 0;
        if (place != 0 && value != values.end()) {
            text += *value++;
            i += place - 1;
        } else {
            text.push_back(format[i]);
        }
    }
    return text;
}

// ---- The common decision ----

struct RadioSoftware {
    int type;
    int version;
    int startupVersion;
};

struct Kind {
    int codeFlag;  // kUpgradeTrunkCode or kUpgradePmrCode
    const char* mismatchQuestion;
};

SoftwareChoice Result(int result) {
    SoftwareChoice choice;
    choice.result = result;
    return choice;
}

bool Yes(Person& person, const std::string& question) {
    return person.Ask(question) == Answer::Yes;
}

// Steps 1 to 3 that every choice begins with; a result when the choice ends there.
std::optional<SoftwareChoice> CheckKindAndSpecialCode(bool portableJob, const RadioIdentity& radio,
                                                      const CodeDescriptor& record, int radioType,
                                                      Person& person) {
    if (radio.Portable && !portableJob) {
        person.Error(kMobileJobIntoPortableText);
        return Result(kSoftwareStop);
    }
    if (portableJob && !radio.Portable) {
        person.Error(kPortableJobIntoMobileText);
        return Result(kSoftwareStop);
    }
    if (radioType == kSpecialSoftwareType) {
        const bool yes = Yes(person, Fill(kSpecialCodeQuestion, {RecordPartDigits(record)}));
        return Result(yes ? 0 : kSoftwareStop);
    }
    return std::nullopt;
}

SoftwareChoice Decide(const RadioSoftware& radio, const Needed& needed, const Kind& kind,
                      const std::filesystem::path& folder, Person& person) {
    SoftwareChoice choice;
    bool codeMissing = false;
    bool startupMissing = false;
    bool codeFound = false;
    int diskVersion = 0;
    int startupDiskVersion = 0;

    const std::string codePattern = needed.codeName + "???.bin";
    if (const auto name = LastMatchingCodeFile(folder, codePattern)) {
        diskVersion = CodeFileVersion(*name);
        choice.codePath = folder / *name;
        codeFound = true;
    } else {
        codeMissing = true;
    }
    if (const auto name = LastMatchingCodeFile(folder, needed.startupPattern)) {
        startupDiskVersion = CodeFileVersion(*name);
        choice.startupCodePath = folder / *name;
    } else {
        startupMissing = true;
        codeFound = false;
    }
    const bool missing = codeMissing || startupMissing;
    const bool mismatch = startupDiskVersion != diskVersion;
    if (mismatch) {
        diskVersion = 0;
        codeFound = false;
    }
    if (missing || mismatch) {
        // Nothing is upgraded from an incomplete set of files.
        choice.codePath.clear();
        choice.startupCodePath.clear();
    }

    auto upgrade = [&] {
        choice.result = (codeFound ? kind.codeFlag : 0) +
                        (radio.startupVersion < diskVersion ? kUpgradeStartupCode : 0);
        choice.versionText = FormatSoftwareVersion(diskVersion);
        return choice;
    };
    auto end = [&choice](int result) {
        choice.result = result;
        return choice;
    };
    const std::string radioText = FormatSoftwareVersion(radio.version);
    const std::string diskText = FormatSoftwareVersion(diskVersion);

    if (radio.type == needed.type) {
        if (missing || mismatch || diskVersion == 0 || radio.version == diskVersion) {
            return end(0);
        }
        if (radio.version < diskVersion) {
            return Yes(person, Fill(kLaterVersionQuestion, {radioText, diskText})) ? upgrade()
                                                                                   : end(0);
        }
        if (Yes(person, Fill(kDowngradeQuestion, {radioText, diskText, diskText}))) {
            return upgrade();
        }
        return end(Yes(person, kProgramAnywayQuestion) ? 0 : kSoftwareStop);
    }
    if (missing) {
        const std::string named =
            codeMissing ? MissingCodeFileText(folder, codePattern) : std::string();
        return end(Yes(person, Fill(kMissingFileQuestion, {named})) ? 0 : kSoftwareStop);
    }
    if (mismatch) {
        return end(Yes(person, kind.mismatchQuestion) ? 0 : kSoftwareStop);
    }
    return Yes(person, kTypeChangeQuestion) ? upgrade() : end(kSoftwareStop);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

}  // namespace

std::string RecordPartDigits(const CodeDescriptor& record) {
    return DigitsIn(record, kPartNumberOffset, kPartNumberWidth);
}

int RecordPartNumber(const CodeDescriptor& record) {
    return NumberOf(RecordPartDigits(record));
}

int RecordVersion(const CodeDescriptor& record) {
    return NumberOf(DigitsIn(record, kVersionOffset, kVersionWidth));
}

int TrunkSoftwareType(int partNumber) {
    return TypeOf(kTrunkTypes, partNumber);
}

int PmrSoftwareType(int partNumber) {
    return TypeOf(kPmrTypes, partNumber);
}

std::string FormatSoftwareVersion(int version) {
    const int hundredths = version % 100;
    return std::to_string(version / 100) + "." + (hundredths < 10 ? "0" : "") +
           std::to_string(hundredths);
}

bool CodeFileNameMatches(std::string_view pattern, std::string_view name) {
    const std::string p = Lower(pattern);
    const std::string n = Lower(name);
    std::size_t pi = 0;
    std::size_t ni = 0;
    std::size_t starAt = std::string::npos;
    std::size_t starName = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            starAt = pi++;
            starName = ni;
        } else if (starAt != std::string::npos) {
            pi = starAt + 1;
            ni = ++starName;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') {
        ++pi;
    }
    return pi == p.size();
}

std::optional<std::string> LastMatchingCodeFile(const std::filesystem::path& folder,
                                                std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(typeError) && CodeFileNameMatches(pattern, name)) {
            names.push_back(name);
        }
    }
    if (names.empty()) {
        return std::nullopt;
    }
    return *std::max_element(names.begin(), names.end(), [](const auto& a, const auto& b) {
        const std::string la = Lower(a);
        const std::string lb = Lower(b);
        return la != lb ? la < lb : a < b;
    });
}

int CodeFileVersion(std::string_view name) {
    constexpr std::size_t kExtension = 4;  // ".bin"
    constexpr std::size_t kVersionCharacters = 3;
    if (name.size() < kExtension + kVersionCharacters) {
        return 0;
    }
    const std::string_view version =
        name.substr(name.size() - kExtension - kVersionCharacters, kVersionCharacters);
    int n = 0;
    for (char c : version) {
        if (c >= '0' && c <= '9') {
            n = n * 10 + (c - '0');
        }
    }
    return n;
}

std::string MissingCodeFileText(const std::filesystem::path& folder, std::string_view pattern) {
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    std::filesystem::path shown = folder;
    if (!error && folder.is_absolute()) {
        const std::filesystem::path inside = folder.lexically_relative(here);
        if (!inside.empty() && *inside.begin() != "..") {
            shown = inside;
        }
    }
    return (shown / pattern).string();
}

std::filesystem::path RadioSoftwareFolderIn(const std::filesystem::path& workingDirectory) {
    return FindFileIgnoringCase(workingDirectory, "Radio_SW");
}

SoftwareChoice ChooseRadioSoftware(const TrunkJobImage& job, const JobRadioType& jobType,
                                   const RadioIdentity& radio,
                                   const CodeDescriptor& trunkCodeRecord, int startupVersion,
                                   const std::filesystem::path& radioSoftwareFolder,
                                   Person& person) {
    const bool portableJob = IsPortableHead(HeadOfMask(jobType.RadioTypeMask));
    const int radioType = TrunkSoftwareType(RecordPartNumber(trunkCodeRecord));
    if (auto ended =
            CheckKindAndSpecialCode(portableJob, radio, trunkCodeRecord, radioType, person)) {
        return *ended;
    }
    const Needed needed = NeededTrunkSoftware(job, jobType, radio);
    if (!needed.error.empty()) {
        person.Error(needed.error);
        return Result(kSoftwareStop);
    }
    return Decide({radioType, RecordVersion(trunkCodeRecord), startupVersion}, needed,
                  {kUpgradeTrunkCode, kTrunkVersionMismatchQuestion}, radioSoftwareFolder, person);
}

SoftwareChoice ChoosePmrSoftware(const PmrJobImage& job, const JobRadioType& jobType,
                                 const RadioIdentity& radio, const CodeDescriptor& pmrCodeRecord,
                                 int startupVersion,
                                 const std::filesystem::path& radioSoftwareFolder, Person& person) {
    const bool portableJob = IsPortableHead(HeadOfMask(jobType.RadioTypeMask));
    const int radioType = PmrSoftwareType(RecordPartNumber(pmrCodeRecord));
    if (auto ended =
            CheckKindAndSpecialCode(portableJob, radio, pmrCodeRecord, radioType, person)) {
        return *ended;
    }
    const Needed needed = NeededPmrSoftware(job, jobType, radio);
    if (!needed.error.empty()) {
        person.Error(needed.error);
        return Result(kSoftwareStop);
    }
    return Decide({radioType, RecordVersion(pmrCodeRecord), startupVersion}, needed,
                  {kUpgradePmrCode, kPmrVersionMismatchQuestion}, radioSoftwareFolder, person);
}

bool ZoneModeSet(const PmrJobImage& job) {
    return (job.U8(pmr::kZoneModeByte) & pmr::kZoneModeBit) != 0;
}

std::optional<std::string_view> ZoneTableRefusal(const PmrJobImage& job,
                                                 std::uint16_t zoneTableBlock,
                                                 const RadioIdentity& radio) {
    const bool noZoneTable = zoneTableBlock == 0 || zoneTableBlock == 0xFFFF;
    if (!noZoneTable || !ZoneModeSet(job)) {
        return std::nullopt;
    }
    const bool revision8Mobile = !radio.Portable && radio.MobileRevision == 0;
    return revision8Mobile ? kRevision8ZoneTableText : kOldFitZoneTableText;
}

}  // namespace km
