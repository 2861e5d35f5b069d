#include "radio/ProgramSteps.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "radio/VirtualRadioMark.h"

namespace km {

namespace {

constexpr int kBandRecordEntry = 3;
constexpr const char* kCheckingBandText = "Checking Band. ";
constexpr const char* kCheckingRadioTypeText = "Checking current radio type. ";
constexpr int kRadioTypeProgressTotal = 25;
constexpr int kChoiceProgressTotal = 100;
constexpr std::uint16_t kAreaHeadSize = 128;
constexpr std::size_t kStartupPieces = 2;
constexpr std::size_t kCodePieces = 4;

std::string WithVersion(const char* format, const std::string& version) {
    std::array<char, 128> text{};
    std::snprintf(text.data(), text.size(), format, version.c_str());
    return text.data();
}

JobRadioType RadioTypeOfRow(int row) {
    if (row < 0 || row >= kRadioTypeRowCount) {
        return {};
    }
    const RadioTypeRow& entry = kRadioTypeRows[static_cast<std::size_t>(row)];
    return {entry.RadioTypeMask, entry.PortableGeneration};
}

}  // namespace

JobRadioType JobRadioTypeOf(const TrunkJobImage& job) {
    return RadioTypeOfRow(LoadTrunkHeader(job).radioTypeRow);
}

JobRadioType JobRadioTypeOf(const PmrJobImage& job) {
    return RadioTypeOfRow(LoadPmrHeader(job).radioTypeRow);
}

int ChosenVersionNumber(const std::string& versionText) {
    int number = 0;
    for (const char c : versionText) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number = number * 10 + (c - '0');
        }
    }
    return number;
}

std::optional<CodeImage> ReadCodeFileFor(const std::filesystem::path& path, int entry,
                                         Person& person) {
    auto image = ReadCodeFile(path, person);
    if (!image) {
        return std::nullopt;
    }
    // A file named for one area but holding another kind of code must not reach that area.
    const auto type = CodeTypeOf(image->description.codeType);
    if (!type || type->fitEntry != entry) {
        person.Error(kUnknownCodeFileText);
        return std::nullopt;
    }
    return image;
}

void ProgrammingMachine::Begin() {
    virtualRadioFiles_.clear();
    BeginProgramming();
}

void ProgrammingMachine::ThenWriteCodePieces(std::uint16_t block, const WriteRegions& regions,
                                             std::size_t pieces, const std::string& status) {
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        ThenWriteScratch(static_cast<std::uint16_t>(block + piece * kCodeSlotBlocks),
                         regions.WriteRegionLength[piece], piece * kCodePieceSize, status);
    }
}

bool ProgrammingMachine::NewerRadio() {
    return host_.Identity().Portable || host_.Identity().MobileRevision != 0;
}

bool ProgrammingMachine::TakeErasableArea(int index, std::uint32_t extraBlocks) {
    const FitEntry entry = Entry(index);
    if (CodeAreaUsable(entry) && BlockUsable(entry.block, extraBlocks)) {
        return true;
    }
    host_.GetPerson().Error(kFitErrorText);
    host_.AbortOperation(AbortReason::Quiet);
    return false;
}

// ---- The virtual radio's files ----

void ProgrammingMachine::NoteVirtualRadioFile(const std::string& name) {
    if (std::find(virtualRadioFiles_.begin(), virtualRadioFiles_.end(), name) ==
        virtualRadioFiles_.end()) {
        virtualRadioFiles_.push_back(name);
    }
}

std::optional<CodeImage> ProgrammingMachine::ReadCode(const std::filesystem::path& path,
                                                      int entry) {
    auto code = ReadCodeFileFor(path, entry, host_.GetPerson());
    if (code && VirtualRadioBuild(code->description)) {
        NoteVirtualRadioFile(path.filename().string());
    }
    return code;
}

bool ProgrammingMachine::VirtualRadioFilesAllowed() {
    if (virtualRadioFiles_.empty() || host_.Identity().VirtualRadio) {
        return true;
    }
    std::string names;
    for (const std::string& name : virtualRadioFiles_) {
        names += (names.empty() ? "" : ", ") + name;
    }
    std::array<char, 512> text{};
    std::snprintf(text.data(), text.size(), kVirtualRadioFileFormat, names.c_str());
    host_.GetPerson().Error(text.data());
    host_.AbortOperation(AbortReason::Quiet);
    return false;
}

// ---- The opening of trunk and PMR programming ----

void ProgrammingMachine::ThenReadProgrammingFit(Work afterFit) {
    ThenReadFit([this, afterFit = std::move(afterFit)] {
        if (FitFromVirtualRadioFile(IdBuffer(), host_.Identity())) {
            NoteVirtualRadioFile(kFitFileName);
        }
        return afterFit();
    });
}

void JobProgramming::ThenIdentifyRadio(const char* secureText, std::uint16_t jobBand,
                                       const ProgrammedCode& code, Work afterBand,
                                       std::function<SoftwareChoice()> choose) {
    const int codeEntry = code.entry;
    choice_ = SoftwareChoice{};
    chosenCode_.reset();
    startupCode_.reset();
    ThenIdentify(secureText);
    ThenDo([this] {
        GetProgress().ProgressStep();
        return true;
    });
    ThenReadProgrammingFit([this, jobBand, codeEntry, code, afterBand, choose] {
        if (!TakeArea(kBandRecordEntry) || !TakeArea(kStartupCodeEntry) || !TakeArea(codeEntry)) {
            return false;
        }
        ThenRead(Entry(kBandRecordEntry).block, kBandRecordSize,
                 IdBuffer().Region(0, kBandRecordSize), kCheckingBandText);
        ThenDo([this, jobBand, codeEntry, code, afterBand, choose] {
            const auto mismatch =
                CheckBand(IdBuffer().Region(0, kBandRecordSize), jobBand, host_.Identity());
            if (mismatch) {
                host_.AbortOperation(AbortReason::Quiet);
                host_.GetPerson().Error(*mismatch);
                return false;
            }
            if (!VirtualRadioFilesAllowed() || !afterBand()) {
                return false;
            }
            ThenDo([this] {
                GetProgress().SetProgressTotal(kRadioTypeProgressTotal);
                return true;
            });
            ThenRead(Entry(kStartupCodeEntry).block, kAreaHeadSize,
                     IdBuffer().Region(0, kAreaHeadSize), kCheckingRadioTypeText);
            ThenDo([this] {
                startupPlace_ = LocateDescriptor(IdBuffer().Region(0, ReadBytes()),
                                                 Entry(kStartupCodeEntry).block);
                return true;
            });
            ThenRead(Entry(codeEntry).block, kAreaHeadSize, IdBuffer().Region(0, kAreaHeadSize));
            ThenDo([this, codeEntry, code, choose] {
                codePlace_ =
                    LocateDescriptor(IdBuffer().Region(0, ReadBytes()), Entry(codeEntry).block);
                QueueDescriptorRead(startupPlace_, startupDescriptor_);
                QueueDescriptorRead(codePlace_, codeDescriptor_);
                ThenDo([this, code, choose] { return ChooseSoftware(code, choose); });
                return true;
            });
            return true;
        });
        return true;
    });
}

// A descriptor the radio does not have reads as "Undefined"; one it has is read (768 bytes, so
// that the 64 bytes are whole wherever in the block they start) and kept.
void JobProgramming::QueueDescriptorRead(const std::optional<DescriptorLocation>& place,
                                         CodeDescriptor& descriptor) {
    descriptor = UndefinedDescriptor();
    if (!place) {
        return;
    }
    ThenRead(place->block, kDescriptorReadSize, IdBuffer().Region(0, kDescriptorReadSize));
    ThenDo([this, &descriptor, offset = place->offset] {
        descriptor = TakeDescriptor(IdBuffer().Region(0, ReadBytes()), offset);
        return true;
    });
}

// ---- The choice of software ----

bool JobProgramming::ChooseSoftware(const ProgrammedCode& code,
                                    const std::function<SoftwareChoice()>& choose) {
    Person& person = host_.GetPerson();
    StartCounting(kChoiceProgressTotal);
    choice_ = choose();
    if (choice_.result == kSoftwareStop) {
        host_.AbortOperation(AbortReason::Quiet);
        return false;
    }
    const bool codeUpgrade = (choice_.result & code.upgradeFlag) != 0;
    const bool startupUpgrade = (choice_.result & kUpgradeStartupCode) != 0;
    if (codeUpgrade) {
        if (OlderSoftwareRefused(host_.Identity(), ChosenVersionNumber(choice_.versionText), 0)) {
            host_.FinishOperation([&person] { person.Error(kOlderSoftwareProgrammingText); });
            return false;
        }
        // Every code file is read and checked, overlay included, before a sector is erased.
        chosenCode_ = ReadCode(choice_.codePath, code.entry);
        if (!chosenCode_ || (code.overlay && !CheckOverlay(*chosenCode_, person))) {
            host_.FinishOperation();  // the file's refusal has been shown
            return false;
        }
        const std::uint32_t slots = kCodePieces + (code.overlay ? 1 : 0);
        if (!TakeErasableArea(code.entry, slots * kCodeSlotBlocks)) {
            return false;
        }
    }
    if (startupUpgrade) {
        startupCode_ = ReadCode(choice_.startupCodePath, kStartupCodeEntry);
        if (!startupCode_) {
            host_.FinishOperation();  // the file's refusal has been shown
            return false;
        }
        if (!TakeErasableArea(kStartupCodeEntry, kStartupPieces * kCodeSlotBlocks)) {
            return false;
        }
    }
    if (!VirtualRadioFilesAllowed() || !TakeConfigurationAreas()) {
        return false;
    }
    if (codeUpgrade) {
        QueueCode(code);
    }
    if (startupUpgrade) {
        QueueStartupCode();
    }
    ThenDo([this] { return QueueConfiguration(); });
    return true;
}

void JobProgramming::QueueCode(const ProgrammedCode& code) {
    const FitEntry area = Entry(code.entry);
    const WriteRegions regions = CodeRegions(chosenCode_->codeLength);
    ThenDo([this, regions] {
        LoadCodeImage(*chosenCode_, Scratch());
        StartCounting(regions.progressTotal);
        return true;
    });
    ThenErase(area.sector, code.eraseText);
    if (code.overlay) {
        ThenErase(static_cast<std::uint8_t>(area.sector + 1), code.eraseOverlayText);
    }
    ThenWriteCodePieces(area.block, regions, kCodePieces,
                        WithVersion(code.updateFormat, choice_.versionText));
    if (!code.overlay) {
        return;
    }
    ThenDo([this, area, format = code.overlayFormat] {
        // The overlay image starts as the first bytes the code file loaded.
        const OverlayParse overlay = ParseOverlay(chosenCode_->fileBytes);
        if (overlay.outcome != OverlayOutcome::Built) {
            return true;  // no overlay: the erased overlay sector stays empty
        }
        Scratch().Write(0, overlay.image);
        StartCounting(kOverlayProgressTotal);
        ThenWriteScratch(static_cast<std::uint16_t>(area.block + kOverlayBlockOffset),
                         kOverlayWriteSize, 0, WithVersion(format, choice_.versionText));
        return true;
    });
}

void JobProgramming::QueueStartupCode() {
    const FitEntry area = Entry(kStartupCodeEntry);
    const WriteRegions regions = CodeRegions(startupCode_->codeLength);
    ThenDo([this, regions] {
        LoadCodeImage(*startupCode_, Scratch());
        StartCounting(regions.progressTotal);
        return true;
    });
    ThenErase(area.sector, "Erasing Startup Code Sector. (3 Seconds)");
    ThenWriteCodePieces(area.block, regions, kStartupPieces,
                        "Updating Radio's Startup Software.  ");
}

}  // namespace km
