#pragma once
// The files that live beside the program, as the generator makes them.

#include <cstdint>
#include <string>
#include <vector>

#include "image/Images.h"

namespace km::datagen {

TrunkJobImage TrunkTemplate();  // default.tct
PmrJobImage PmrTemplate();      // default.cct
NetworkImage DemoNetwork();     // Networks/Demo.nwk

// Networks/: one sample network per numbering scheme, Demo.nwk first.
struct SampleNetwork {
    std::string fileName;
    NetworkImage image;
};
std::vector<SampleNetwork> SampleNetworks();

// Windows-1252 text with CR LF line ends.
std::string ContactText();  // Contact.txt
std::string LicenceText();  // Licence.txt

}  // namespace km::datagen
