#pragma once
// Fixtures for Program Radio and the software upgrade against the virtual radio: the data files
// beside the program, jobs for a mobile head or a portable, and what the radio's log says was
// erased and written.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "OperationBench.h"
#include "core/Files.h"
#include "radio/CodeFile.h"
#include "radio/ProgramPmr.h"
#include "radio/ProgramTrunk.h"
#include "radio/Upgrade.h"
#include "sim/RadioMemory.h"

namespace km::testing {

inline constexpr std::uint16_t kBandA1 = 0x4131;  // the virtual radio's band "A1"

// Radio type codes of the job header (code, head variant).
struct JobHead {
    std::uint8_t code;
    std::uint8_t variant;
};
inline constexpr JobHead kHeadHmF{4, 0};
inline constexpr JobHead kHeadKp8b{7, 0};

// Radio modes of the job header.
inline constexpr std::uint8_t kModePmrJob = 0;
inline constexpr std::uint8_t kModeTrunkJob = 1;
inline constexpr std::uint8_t kModeMultiJob = 2;

// A trunk job whose every byte is known: a pattern, then the marks every stored job carries and
// the header and network fields the programming depends on (MPT1343 numbering, no option board,
// three Network 1 channels).
inline TrunkJobImage PatternTrunkJob(JobHead head, std::uint8_t mode, bool network2) {
    TrunkJobImage job;
    for (std::size_t i = 0; i < TrunkJobImage::kSize; ++i) {
        job.SetU8(i, static_cast<std::uint8_t>(i * 7 + i / 256 + 1));
    }
    job.SetU16(kVersionWordOffset, kProgramVersionNumber);
    job.SetU16(trunk::kFormatMark, trunk::kFormatMarkValue);
    job.SetU8(trunk::kRadioType, head.code);
    job.SetU8(trunk::kHeadVariant, head.variant);
    job.SetU8(trunk::kRadioMode, mode);
    job.SetU16(trunk::kBandCode, kBandA1);
    job.SetU16(trunk::NetworkFileStart(0) + network::kNumberingScheme, 0);
    job.SetU16(trunk::NetworkFileStart(0) + 0x2E4, 3);
    job.SetU16(trunk::NetworkFileStart(0) + network::kBandCode, kBandA1);
    job.SetU16(trunk::NetworkFileStart(1) + network::kBandCode, network2 ? kBandA1 : 0);
    job.SetU16(0x2142, 0);  // option board: none
    return job;
}

// A PMR job of the current format: a patterned header, `channels` patterned channel records,
// `zones` zones, three selcall encodes and two group B channels.
inline PmrJobImage PatternPmrJob(JobHead head, std::uint8_t mode, int channels, int zones,
                                 bool zoneMode) {
    PmrJobImage job;
    for (std::size_t i = 0; i < 15660; ++i) {
        job.SetU8(i, static_cast<std::uint8_t>(i * 3 + 5));
    }
    job.SetU16(kVersionWordOffset, kProgramVersionNumber);
    job.SetU16(pmr::kFormatVersion, pmr::kCurrentFormat);
    job.SetU16(pmr::kAccessory, 0);
    job.SetU8(pmr::kRadioType, head.code);
    job.SetU8(pmr::kHeadVariant, head.variant);
    job.SetU8(pmr::kRadioMode, mode);
    job.SetU16(pmr::kBandCode, kBandA1);
    job.SetU16(pmr::kChannelCount, static_cast<std::uint16_t>(channels));
    job.SetU16(pmr::kEncodeCount, 3);
    job.SetU16(pmr::kGroupBCount, 2);
    job.SetU16(pmr::kZoneCount, static_cast<std::uint16_t>(zones));
    job.SetU8(7460, static_cast<std::uint8_t>(zoneMode ? job.U8(7460) | 2 : job.U8(7460) & ~2));
    job.SetU16(0x2B2E, 0);  // option board: none
    for (std::size_t i = 0; i < static_cast<std::size_t>(channels) * 32; ++i) {
        job.SetU8(0x3D2C + i, static_cast<std::uint8_t>(i * 13 + i / 251));
    }
    for (std::size_t i = 0; i < 3 * 32; ++i) {
        job.SetU8(0xBA2C + i, static_cast<std::uint8_t>(i * 5 + 3));
    }
    for (std::size_t i = 0; i < 2 * 32; ++i) {
        job.SetU8(0xDA2C + i, static_cast<std::uint8_t>(i * 3 + 1));
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(zones) * 800; ++i) {
        job.SetU8(0xEA2C + i, static_cast<std::uint8_t>(i * 11 + 7));
    }
    return job;
}

// A code file of `codeLength` (L + 72) patterned bytes with its Software Description and, when
// asked, one overlay section of 100 entries in slot 1.
inline std::vector<std::uint8_t> SampleCodeFile(std::uint8_t codeType, const std::string& version,
                                                std::size_t codeLength, bool overlay,
                                                const std::string& softwareCode = "10810",
                                                const std::string& text = "Test code") {
    std::vector<std::uint8_t> code(codeLength - 63);
    for (std::size_t i = 0; i < code.size(); ++i) {
        code[i] = static_cast<std::uint8_t>(i * 31 + codeType);
    }
    SoftwareDescription description;
    description.description = text;
    description.softwareCode = softwareCode;
    description.versionText = version;
    description.date = "01/02/2006";
    description.codeType = codeType;
    description.requiredRcpCode = "14010";
    description.requiredRcpVersion = "V5.80";
    std::vector<OverlaySection> sections;
    if (overlay) {
        sections.push_back({1, std::vector<std::uint8_t>(303, 0x5A)});
    }
    return MakeCodeFile(code, description, sections);
}

// Offsets where two images differ.
template <std::size_t N>
std::vector<std::size_t> DifferingOffsets(const ByteImage<N>& a, const ByteImage<N>& b) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < N; ++i) {
        if (a.U8(i) != b.U8(i)) {
            offsets.push_back(i);
        }
    }
    return offsets;
}

struct RadioWrite {
    int blocks;
    int block;
    bool operator==(const RadioWrite&) const = default;
};

class ProgramBench : public OperationBench {
  protected:
    void SetUp() override {
        OperationBench::SetUp();
        trunkProgramming_ = &operations_->TrunkProgramming();
        pmrProgramming_ = &operations_->PmrProgramming();
        upgrade_ = &operations_->SoftwareUpgrade();
        WriteFitFile();
        const auto align = sim::AlignConfigContents();
        ASSERT_TRUE(WriteFileAtomically(folder_ / "aligncfg.bin", align));
        std::filesystem::create_directories(SoftwareFolder());
    }

    std::filesystem::path SoftwareFolder() const { return folder_ / "Radio_SW"; }
    std::filesystem::path PutCode(const std::string& name, std::span<const std::uint8_t> bytes) {
        const auto path = SoftwareFolder() / name;
        EXPECT_TRUE(WriteFileAtomically(path, bytes));
        return path;
    }

    // Reads the radio back into a cleared job of the view `imageKind`.
    void ReadBack(int imageKind) {
        radioLog_.clear();
        state_.ImageKind = imageKind;
        state_.BandSelected = 0;
        operations_->ReadRadio(imageKind);
        ASSERT_TRUE(state_.CommsBusy);
        ASSERT_TRUE(RunToEnd());
    }

    // Runs Program Radio in the view of `imageKind` to its end.
    void Program(int imageKind) {
        state_.ImageKind = imageKind;
        state_.TrunkJobLoaded = true;
        state_.PmrJobLoaded = true;
        operations_->ProgramRadio();
        ASSERT_TRUE(state_.CommsBusy);
        ASSERT_TRUE(RunToEnd());
    }

    void ExpectEndedCleanly() {
        EXPECT_FALSE(state_.CommsBusy);
        EXPECT_EQ(operations_->PendingOperation(), OperationKind::None);
        EXPECT_FALSE(progress_.Visible());
        EXPECT_FALSE(link_->PortOpen());
        EXPECT_TRUE(radio_->Memory().Faults().empty()) << Log();
        EXPECT_TRUE(radio_->Messages().ProtocolFaults().empty()) << Log();
    }

    std::vector<RadioWrite> Writes() const {
        static const std::regex pattern("write of ([0-9]+) data blocks to block ([0-9]+)");
        std::vector<RadioWrite> writes;
        for (const auto& line : radioLog_) {
            std::smatch match;
            if (std::regex_search(line, match, pattern)) {
                writes.push_back({std::stoi(match[1]), std::stoi(match[2])});
            }
        }
        return writes;
    }

    std::vector<int> Erases() const {
        static const std::regex pattern("EraseRequest sector ([0-9]+)");
        std::vector<int> sectors;
        for (const auto& line : radioLog_) {
            std::smatch match;
            if (std::regex_search(line, match, pattern)) {
                sectors.push_back(std::stoi(match[1]));
            }
        }
        return sectors;
    }

    int Sector(int entry) const { return sim::LayoutFor(profile_)[entry].sector; }
    int Block(int entry) const { return RadioFitBlock(entry); }

    ProgramTrunk* trunkProgramming_ = nullptr;
    ProgramPmr* pmrProgramming_ = nullptr;
    Upgrade* upgrade_ = nullptr;
};

}  // namespace km::testing
