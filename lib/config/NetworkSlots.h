#pragma once
// Loading and deleting the two network files a trunk job carries. Both networks must use the same
// numbering scheme and the same band; a change of scheme clears the identities of both networks,
// because idents of one scheme mean other numbers in another.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/Person.h"
#include "image/Images.h"
#include "image/NetworkFile.h"

namespace km {

inline constexpr std::string_view kSchemeChangeQuestion =
    "New network file uses a different numbering scheme.                     \n"
    "If the numbering scheme is changed then all Identities will be cleared.                     \n"
    "Network 2 will also be deleted.                                         \n"
    "                                                                        \n"
    "Do you want to change the numbering scheme?";
// Asked like the scheme change when Network 2 is present and a Network 1 of another band comes.
inline constexpr std::string_view kBandChangeQuestion =
    "New network file uses a different frequency band.                     \n"
    "Network 2 will also be deleted.                                         \n"
    "                                                                        \n"
    "Do you want to change the frequency band?";
inline constexpr std::string_view kNetwork2BandError =
    "Incompatible Network File. \nFrequency band must be the same as Network 1";
inline constexpr std::string_view kNetwork2SchemeWarning =
    "Incompatible Network File. \nNumbering schemes must be the same for Network 1 and Network 2.";
inline constexpr std::string_view kDeleteOrderError =
    "Cannot delete Network 1 file.\nYou must delete Network 2 first.";
inline constexpr std::string_view kDeleteNetwork1Question =
    "Are you sure you want to Delete Network File 1 ?";
inline constexpr std::string_view kDeleteNetwork2Question =
    "Are you sure you want to Delete Network File 2 ?";
// The name shown for an absent network, and the one written into an emptied slot.
inline constexpr std::string_view kRadioTypeNetworkNotDefined = "Not Defined   ";
inline constexpr std::string_view kSlotNameNotDefined = "Not Defined ";

// A user interface word that holds a negative value under 3RP only.
inline constexpr std::size_t kThreeRpSignedWord = 8556;

// What a load or delete did beyond its slot, for the forms and the main window to follow.
struct NetworkChange {
    bool done = false;
    bool network2Deleted = false;
    bool identitiesCleared = false;     // the Identities form reloads
    bool userInterfaceChanged = false;  // the User Interface form reloads
};

// The file's name as the network label shows it: without folder, in upper case.
std::string NetworkDisplayName(const std::filesystem::path& path);

NetworkChange LoadNetwork1(TrunkJobImage& image, const NetworkImage& file, Person& person);
NetworkChange LoadNetwork2(TrunkJobImage& image, const NetworkImage& file, Person& person);
// Refused while Network 2 is present; asks when Network 1 is present.
NetworkChange DeleteNetwork1(TrunkJobImage& image, Person& person);
// `ask` is false when a scheme change deletes Network 2 after its own question.
NetworkChange DeleteNetwork2(TrunkJobImage& image, Person& person, bool ask = true);

int NumberingSchemeOfSlot(const TrunkJobImage& image, int selector);

// Clears the defined bits of the identities of both networks, empties the groups and the dynamic
// group word.
void ClearIdentities(TrunkJobImage& image);

// Under any scheme but 3RP the word must not be negative: returns true when it was mended.
bool FixThreeRpWord(TrunkJobImage& image, int scheme);

}  // namespace km
