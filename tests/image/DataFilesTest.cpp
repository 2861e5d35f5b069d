// The generated data files must be usable by the program as they stand.

#include <gtest/gtest.h>

#include <memory>

#include "DataFiles.h"
#include "image/JobFiles.h"
#include "image/PmrFormat.h"

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
