#pragma once
// The single instances that live for the whole run: the images, the scratch buffer and the
// run-time state of the main window. Names are the domain's own.

#include <memory>
#include <string>

#include "image/Images.h"

namespace km {

struct Workspace {
    TrunkJobImage trunk;
    PmrJobImage pmr;
    NetworkImage network;
    ScratchBuffer scratch;
    // Set whenever a PMR image is loaded from a file or a radio; the zone page reads and clears it.
    bool ZoneReload = false;
};

enum ImageKinds { kImageNone = 0, kImagePmr = 1, kImageTrunk = 2, kImageNetwork = 4 };

struct MainState {
    int UserLevelMask = 1;  // 1 Basic, 2 General, 4 Network, 8 Engineering
    int CountryCode = 0;
    int ImageKind = kImageNone;
    int RadioModeMask = 0;
    int RadioTypeMask = 0;
    int PortableGeneration = 0;
    bool TrunkJobLoaded = false;
    bool PmrJobLoaded = false;
    int NetworkSelector = 0;
    int BandSelected = 0;
    bool CommsBusy = false;
    std::string CurrentJobFileName = " ";
    std::string JobFolder = "Jobs";
    std::string CsvFolder = "Jobs";
    std::string RadioSoftwareFolder = "Radio_SW";
    std::string Network1Name = "Not Defined ";
    std::string Network2Name = "Not Defined ";
};

}  // namespace km
