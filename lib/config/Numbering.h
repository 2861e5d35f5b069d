#pragma once
// Dialled identity numbers of the four numbering schemes and their MPT1327 addresses: a 7-bit
// prefix and a 13-bit ident. MPT1343 and 3RP share one format; ANN depends on the prefix table of
// the network; CPSX on the three partition counts of the job.
//
// Parsers take the text of an edit field. An empty text is valid and gives all-zero parts. An
// invalid number shows its message (error, OK) to the person and gives nullopt.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/Person.h"
#include "image/Images.h"

namespace km {

enum class IdentKind { Unit, Group };

// ---- MPT1343 and 3RP: PPPFFFFUUU (form 3) or PPPFFFFUU (form 2) ----

struct Mpt1343Number {
    int form = 0;  // 2: nine digits, 3: ten digits, 0: empty
    int prefix = 0;
    int fleet = 0;
    int unit = 0;  // unit or group number
};

struct Mpt1343Address {
    int storedPrefix = 0;  // prefix - 200
    int fleetBase = 0;
    int ident = 0;
};

std::optional<Mpt1343Number> ParseMpt1343Number(std::string_view text, Person& person);
// Each check shows the first failing rule. Checks are for parsed, non-empty numbers.
bool CheckMpt1343Unit(const Mpt1343Number& number, Person& person);
bool CheckMpt1343Group(const Mpt1343Number& number, Person& person);
// Accepts units and groups alike and says which the number is.
std::optional<IdentKind> CheckMpt1343Either(const Mpt1343Number& number, Person& person);
// The address of a checked number.
Mpt1343Address Mpt1343NumberToAddress(const Mpt1343Number& number, IdentKind kind);
std::int64_t ComposeMpt1343Number(const Mpt1343Number& number);
// Reading an address back: the fleet comes from the fleet base, the unit from the ident.
Mpt1343Number Mpt1343NumberOfAddress(const Mpt1343Address& address, int form, IdentKind kind);

// ---- ANN: leading digit 7, 8 or 9, a prefix of 0..3 digits and four digits ----

struct AnnPrefixEntry {
    int extent = 0;     // miniaturisation extent: fleets from 100 - 10 x extent are miniaturised
    int partition = 0;  // fleet partition: fleets below it are large
};
using AnnPrefixTable = std::array<AnnPrefixEntry, 128>;
AnnPrefixTable AnnPrefixTableOf(const NetworkImage& network);

enum class AnnClass { None = 0, Miniaturised = 1, SmallFleet = 2, LargeFleet = 3 };

struct AnnNumber {
    AnnClass annClass = AnnClass::None;
    int prefix = 0;
    int fleet = 0;
    int unit = 0;
    int leadingDigit = 0;
};

struct AnnAddress {
    int fleetBase = 0;
    int ident = 0;
};

std::optional<AnnNumber> ParseAnnNumber(std::string_view text, const AnnPrefixTable& table,
                                        Person& person);
// In a miniaturised fleet the numbers 90..93 are the fleet's groups and 20..41 its units; in the
// other fleets units and groups share one formula.
AnnAddress AnnNumberToAddress(const AnnNumber& number);
// The dialled number of an ident; nullopt when the ident has no number in the scheme (outside
// the fleets, or between a miniaturised fleet's units and groups).
std::optional<std::int64_t> AnnIdentToNumber(int prefix, int fleetBase, int ident,
                                             const AnnPrefixTable& table);

// ---- CPSX: PPPFFUUU (units) and PPPFFGGG (groups) ----

struct CpsxNumber {
    int prefix = 0;
    int fleet = 0;
    int value = 0;  // unit or group number
};

// The three partition counts of the job: blocks of 810 idents for large, medium, small fleets.
struct CpsxBounds {
    int large = 0;
    int medium = 0;
    int small = 0;
};

struct CpsxAddress {
    int ident = 0;
    int fleetSize = 0;
    int unitCount = 0;
};

std::optional<CpsxNumber> ParseCpsxUnitNumber(std::string_view text, Person& person);
std::optional<CpsxNumber> ParseCpsxGroupNumber(std::string_view text, Person& person);
std::optional<CpsxAddress> CpsxNumberToIdent(const CpsxNumber& number, IdentKind kind,
                                             const CpsxBounds& bounds, Person& person);
// nullopt for an ident outside 0..8100; ident 0 gives fleet and unit 0.
std::optional<std::int64_t> CpsxIdentToNumber(int storedPrefix, int ident,
                                              const CpsxBounds& bounds);

}  // namespace km
