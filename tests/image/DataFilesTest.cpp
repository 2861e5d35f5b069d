// The generated data files must be usable by the program as they stand.

#include <gtest/gtest.h>

#include <memory>

#include "DataFiles.h"
#include "ScriptedPerson.h"
#include "config/BandTable.h"
#include "config/NetworkSlots.h"
#include "image/JobFiles.h"
#include "image/PmrFormat.h"
#include "network/HntMap.h"

namespace km {
namespace {

using namespace datagen;

TEST(DataFiles, TemplatesCarryTheFormatMarksAndNoNetwork) {
    const TrunkJobImage trunk = TrunkTemplate();
    EXPECT_EQ(trunk.U16(kVersionWordOffset), kProgramVersionNumber);
    EXPECT_EQ(trunk.U16(trunk::kFormatMark), trunk::kFormatMarkValue);
    EXPECT_EQ(trunk.Text(0x80, 16), "-OPERATION DATA-");
    EXPECT_FALSE(NetworkPresent(trunk, 0));
    EXPECT_FALSE(NetworkPresent(trunk, 1));
    EXPECT_EQ(trunk.Text(trunk::NetworkFileStart(0), 16), "--NETWORK FILE--");
    EXPECT_EQ(trunk.Text(trunk::SlotStart(1), 16), "--NETWORK DATA--");
    EXPECT_EQ(trunk.U16(trunk::NetworkFileStart(0) + network::kRoamingTable + 98), 0xFFFF);
    EXPECT_EQ(trunk.U8(0x580), 0xB1);  // call type 1, "*1*"
    EXPECT_EQ(trunk.U8(0x581), 0xBF);
    EXPECT_EQ(trunk.Text(0x508, 12), "Conference");
    EXPECT_EQ(trunk.U8(0x598), 0xFF);  // phone book: empty dial strings

    const auto pmr = std::make_unique<PmrJobImage>(PmrTemplate());
    EXPECT_EQ(pmr->U16(kVersionWordOffset), kProgramVersionNumber);
    EXPECT_EQ(pmr->U16(pmr::kFormatVersion), pmr::kCurrentFormat);
    EXPECT_EQ(pmr->Text(15164, 12), "Undefined");
    EXPECT_EQ(pmr->Text(15164 + 39 * 12, 12), "Ch Default");
    EXPECT_EQ(pmr->Text(0x3D1C, 16), "--CHANNEL DATA--");
    EXPECT_EQ(pmr->U8(0xEA2C + 15), 63);  // zone 1: empty
    // A format-200 conversion widens status records with bytes 14..25 of the template's.
    EXPECT_EQ(pmr->U16(7982), 0xFFFF);
    EXPECT_EQ(pmr->U8(7982 + 14), 0);
}

TEST(DataFiles, DemoNetworkIsPresentInABandThatExists) {
    const NetworkImage demo = DemoNetwork();
    EXPECT_EQ(demo.Text(0, 16), "--NETWORK FILE--");
    EXPECT_EQ(demo.Text(network::kName, 16), "Demo.nwk        ");
    EXPECT_EQ(demo.U16(network::kBandCode), 0x544B);  // "TK", 400-450 MHz
    EXPECT_EQ(demo.U16(network::kNumberingScheme), 0);
    TrunkJobImage job = TrunkTemplate();
    job.Write(trunk::NetworkFileStart(0), demo.Bytes());
    EXPECT_TRUE(NetworkPresent(job, 0));
}

TEST(DataFiles, SampleNetworksCoverEverySchemeAndLoadIntoATrunkJob) {
    const auto samples = SampleNetworks();
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_EQ(samples[0].fileName, "Demo.nwk");
    EXPECT_EQ(samples[0].image.Bytes().size(), DemoNetwork().Bytes().size());
    EXPECT_TRUE(std::equal(samples[0].image.Bytes().begin(), samples[0].image.Bytes().end(),
                           DemoNetwork().Bytes().begin()));
    for (int scheme = 0; scheme < 4; ++scheme) {
        const NetworkImage& file = samples[static_cast<std::size_t>(scheme)].image;
        const std::string& name = samples[static_cast<std::size_t>(scheme)].fileName;
        EXPECT_EQ(file.U16(network::kNumberingScheme), scheme) << name;
        EXPECT_EQ(file.Text(0, 16), "--NETWORK FILE--") << name;
        // The Radio Type form's load takes it as Network 1 without a question.
        TrunkJobImage job = TrunkTemplate();
        testing::ScriptedPerson person;
        EXPECT_TRUE(LoadNetwork1(job, file, person).done) << name;
        EXPECT_TRUE(person.Texts().empty()) << name;
        EXPECT_TRUE(NetworkPresent(job, 0)) << name;
        EXPECT_EQ(job.U16(trunk::kBandCode), file.U16(network::kBandCode)) << name;
        // Every sub-band is one the hunt channel grid accepts when typed.
        const int entry = BandEntryOfWord(file.U16(network::kBandCode));
        ASSERT_GT(entry, 0) << name;
        const BandEntry* band = &kBandEntries[static_cast<std::size_t>(entry - 1)];
        SubBandTable shown;
        shown.Load(file.Bytes(), 0);
        NetworkImage empty;
        SubBandTable typed;
        typed.Load(empty.Bytes(), 0);
        for (int line = 0; line < hunt_rows::kSubBands; ++line) {
            for (int column = 1; column < SubBandTable::kColumnCount; ++column) {
                typed.SetText(line, column, shown.Text(line, column));
            }
        }
        for (int line = 0; line < hunt_rows::kSubBands; ++line) {
            for (int column = 1; column < SubBandTable::kColumnCount; ++column) {
                EXPECT_EQ(typed.Check(line, column, CellMoment::Enter, band), std::nullopt)
                    << name << " line " << line << " column " << column;
            }
            EXPECT_EQ(typed.CheckLine(line, band), std::nullopt) << name << " line " << line;
        }
    }
}

TEST(DataFiles, TextFilesAreWindowsTextWithCrLf) {
    for (const std::string& text : {ContactText(), LicenceText()}) {
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ASSERT_GT(i, 0u);
                EXPECT_EQ(text[i - 1], '\r');
            }
        }
    }
    EXPECT_NE(LicenceText().find('\xA9'), std::string::npos) << "the copyright sign in 1252";
}

}  // namespace
}  // namespace km
