// Contact.txt and Licence.txt, shown by the Contact dialog: Windows-1252 text, CR LF line ends.

#include <string_view>

#include "DataFiles.h"
#include "core/Cp1252.h"

namespace km::datagen {
namespace {

constexpr std::string_view kContactLines[] = {
    "KM700 Programmer Support",
    "",
    "For help with the KM700 / KP800 Configuration Programmer, radio software",
    "upgrades and network files, contact your local distributor:",
    "",
    "    KM700 Programmer Support",
    "    Service Desk",
    "    support@km700-programmer.example",
    "",
    "Please have the radio's serial number and the programmer's version",
    "(Help, About) at hand.",
};

constexpr std::string_view kLicenceLines[] = {
    "Software Licence Agreement",
    "",
    "© KM700 Programmer Support. All rights reserved.",
    "",
    "1. You may install and use this Configuration Programmer to configure",
    "   KM700 mobile and KP800 portable radios.",
    "2. You may make copies of the program for your own backup.",
    "3. The program is provided \"as is\", without warranty of any kind. Keep a",
    "   copy of every job file before programming a radio.",
    "4. Radio software supplied with the program may only be loaded into the",
    "   radios it was made for.",
};

std::string WindowsText(std::span<const std::string_view> lines) {
    std::string utf8;
    for (std::string_view line : lines) {
        utf8 += line;
        utf8 += "\r\n";
    }
    return Utf8ToCp1252(utf8);
}

}  // namespace

std::string ContactText() {
    return WindowsText(kContactLines);
}
std::string LicenceText() {
    return WindowsText(kLicenceLines);
}

}  // namespace km::datagen
