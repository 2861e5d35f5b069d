#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "ScriptedPerson.h"
#include "config/NetworkSlots.h"
#include "core/Files.h"

namespace km {
namespace {

using testing::ScriptedPerson;

constexpr std::uint16_t kBandTk = 0x544B;
constexpr std::uint16_t kBandX8 = 0x5838;

NetworkImage MakeNetwork(std::uint16_t band, std::uint16_t scheme, std::uint8_t fill = 0x11) {
    NetworkImage file;
    file.FillRegion(network::kDescription, 60, fill);
    file.SetU16(network::kBandCode, band);
    file.SetU16(network::kNumberingScheme, scheme);
    return file;
}

class NetworkSlotsTest : public ::testing::Test {
  protected:
    std::uint16_t Band(int selector) const {
        return image->U16(trunk::NetworkFileStart(selector) + network::kBandCode);
    }
    // Marks every identity of both slots defined and fills their groups.
    void DefineIdentities() {
        for (int selector = 0; selector < 2; ++selector) {
            const std::size_t slot = trunk::SlotStart(selector);
            for (std::size_t k = 0; k < 11; ++k) {
                image->SetU8(slot + 16 + 8 * k, 0x85);
            }
            image->FillRegion(slot + 112, 16, 0x12);
            image->SetU16(slot + 1488, 77);
        }
    }
    void ExpectIdentitiesCleared(bool cleared) {
        for (int selector = 0; selector < 2; ++selector) {
            const std::size_t slot = trunk::SlotStart(selector);
            for (std::size_t k = 0; k < 11; ++k) {
                EXPECT_EQ(image->U8(slot + 16 + 8 * k), cleared ? 0x05 : 0x85);
            }
            EXPECT_EQ(image->U8(slot + 120), cleared ? 0xFF : 0x12);
            EXPECT_EQ(image->U16(slot + 1488), cleared ? 0 : 77);
        }
    }
    void LoadBoth(std::uint16_t scheme) {
        ASSERT_TRUE(LoadNetwork1(*image, MakeNetwork(kBandTk, scheme), person).done);
        ASSERT_TRUE(LoadNetwork2(*image, MakeNetwork(kBandTk, scheme, 0x22), person).done);
        person.shown.clear();
        DefineIdentities();
    }

    std::unique_ptr<TrunkJobImage> image = std::make_unique<TrunkJobImage>();
    ScriptedPerson person;
};

TEST_F(NetworkSlotsTest, FirstNetworkGoesIntoSlotOneAndGivesTheJobItsBand) {
    const NetworkImage file = MakeNetwork(kBandTk, kSchemeMpt1343);
    const NetworkChange change = LoadNetwork1(*image, file, person);
    EXPECT_TRUE(change.done);
    EXPECT_TRUE(person.shown.empty());
    EXPECT_EQ(image->U16(trunk::kBandCode), kBandTk);
    EXPECT_TRUE(NetworkPresent(*image, 0));
    EXPECT_TRUE(std::equal(file.Bytes().begin(), file.Bytes().end(),
                           image->Bytes().begin() + trunk::NetworkFileStart(0)));
    EXPECT_FALSE(NetworkPresent(*image, 1));
}

TEST_F(NetworkSlotsTest, UnusableFilesAreRefusedAndChangeNothing) {
    struct Case {
        NetworkImage file;
        std::string_view message;
    };
    const Case cases[] = {{MakeNetwork(kBandTk, 4), kUnknownSchemeError},
                          {MakeNetwork(kBandTk, 0xFFFF), kUnknownSchemeError},
                          {MakeNetwork(0, 0), kNetworkNoBandError},
                          {MakeNetwork(0xFFFF, 1), kNetworkNoBandError}};
    LoadBoth(kSchemeAnn);
    const auto before = *image;
    for (const auto& c : cases) {
        person.shown.clear();
        EXPECT_FALSE(LoadNetwork1(*image, c.file, person).done);
        EXPECT_FALSE(LoadNetwork2(*image, c.file, person).done);
        EXPECT_EQ(person.Texts(), std::vector<std::string>(2, std::string(c.message)));
        EXPECT_TRUE(*image == before);
    }
}

TEST_F(NetworkSlotsTest, OnlyFilesOfExactlyOneImageAreRead) {
    const auto dir = std::filesystem::temp_directory_path() / "km_network_slots_read";
    std::filesystem::create_directories(dir);
    struct Case {
        std::size_t size;
        bool read;
        bool message;
    };
    for (const Case c : {Case{1536, true, false}, Case{1535, false, true}, Case{1537, false, true},
                         Case{0, false, true}}) {
        person.shown.clear();
        // A network file starts with its marker.
        std::vector<std::uint8_t> bytes(c.size, 0x5A);
        const std::string_view marker = "--NETWORK FILE--";
        std::copy_n(marker.begin(), std::min(marker.size(), bytes.size()), bytes.begin());
        ASSERT_TRUE(WriteFileAtomically(dir / "n.nwk", bytes));
        const auto file = ReadNetworkFile(dir / "n.nwk", person);
        EXPECT_EQ(file.has_value(), c.read) << c.size;
        EXPECT_EQ(person.shown.size(), c.message ? 1u : 0u) << c.size;
        if (file) {
            EXPECT_EQ(file->U8(1535), 0x5A);
        }
    }
    person.shown.clear();
    EXPECT_FALSE(ReadNetworkFile(dir / "missing.nwk", person).has_value());
    EXPECT_TRUE(person.shown.empty());
    std::filesystem::remove_all(dir);
    EXPECT_EQ(NetworkDisplayName(dir / "Depot_2.nwk"), "DEPOT_2.NWK");
}

TEST_F(NetworkSlotsTest, SchemeChangeAnsweredNoKeepsEverything) {
    LoadBoth(kSchemeMpt1343);
    const auto before = *image;
    person.answers = {Answer::No};
    EXPECT_FALSE(LoadNetwork1(*image, MakeNetwork(kBandTk, kSchemeCpsx), person).done);
    EXPECT_EQ(person.Texts(), std::vector<std::string>{std::string(kSchemeChangeQuestion)});
    EXPECT_TRUE(*image == before);
}

TEST_F(NetworkSlotsTest, SchemeChangeAnsweredYesDeletesNetwork2AndClearsAllIdentities) {
    LoadBoth(kSchemeMpt1343);
    person.answers = {Answer::Yes};
    const NetworkChange change = LoadNetwork1(*image, MakeNetwork(kBandX8, kSchemeCpsx), person);
    EXPECT_TRUE(change.done);
    EXPECT_TRUE(change.network2Deleted);
    EXPECT_TRUE(change.identitiesCleared);
    EXPECT_EQ(person.shown.size(), 1u);  // the delete of Network 2 asks nothing more
    EXPECT_FALSE(NetworkPresent(*image, 1));
    EXPECT_EQ(image->Text(trunk::NetworkFileStart(1) + network::kName, 16), "Not Defined ");
    EXPECT_EQ(image->U16(trunk::kBandCode), kBandX8);
    EXPECT_EQ(NumberingSchemeOfSlot(*image, 0), kSchemeCpsx);
    ExpectIdentitiesCleared(true);
}

TEST_F(NetworkSlotsTest, AnotherBandWithNetwork2PresentAsksBeforeDeletingIt) {
    LoadBoth(kSchemeAnn);
    const auto before = *image;
    person.answers = {Answer::No};
    EXPECT_FALSE(LoadNetwork1(*image, MakeNetwork(kBandX8, kSchemeAnn), person).done);
    EXPECT_EQ(person.Texts(), std::vector<std::string>{std::string(kBandChangeQuestion)});
    EXPECT_TRUE(*image == before);

    person.answers = {Answer::Yes};
    const NetworkChange change = LoadNetwork1(*image, MakeNetwork(kBandX8, kSchemeAnn), person);
    EXPECT_TRUE(change.done);
    EXPECT_TRUE(change.network2Deleted);
    EXPECT_FALSE(change.identitiesCleared);
    EXPECT_FALSE(NetworkPresent(*image, 1));
    ExpectIdentitiesCleared(false);
}

TEST_F(NetworkSlotsTest, SameSchemeAndBandReplacesNetwork1Quietly) {
    LoadBoth(kSchemeAnn);
    const NetworkChange change =
        LoadNetwork1(*image, MakeNetwork(kBandTk, kSchemeAnn, 0x33), person);
    EXPECT_TRUE(change.done);
    EXPECT_FALSE(change.network2Deleted);
    EXPECT_TRUE(person.shown.empty());
    EXPECT_TRUE(NetworkPresent(*image, 1));
    EXPECT_EQ(image->U8(trunk::NetworkFileStart(0) + network::kDescription), 0x33);
    ExpectIdentitiesCleared(false);
}

TEST_F(NetworkSlotsTest, SchemeDifferingFromTheEmptySlotStillClearsIdentities) {
    DefineIdentities();
    const NetworkChange change = LoadNetwork1(*image, MakeNetwork(kBandTk, kSchemeAnn), person);
    EXPECT_TRUE(change.identitiesCleared);
    EXPECT_TRUE(person.shown.empty());  // nothing to lose in Network 1, so no question
    ExpectIdentitiesCleared(true);
}

TEST_F(NetworkSlotsTest, ThreeRpWordIsMadePositiveUnderOtherSchemes) {
    struct Case {
        std::uint16_t before;
        std::uint16_t scheme;
        std::uint16_t after;
        bool changed;
    };
    const Case cases[] = {{0xFFFE, kSchemeMpt1343, 2, true},
                          {0x8000, kSchemeAnn, 0x8000, true},
                          {0xFFFE, kScheme3Rp, 0xFFFE, false},
                          {0x7FFF, kSchemeCpsx, 0x7FFF, false},
                          {0, kSchemeMpt1343, 0, false}};
    for (const auto& c : cases) {
        image = std::make_unique<TrunkJobImage>();
        image->SetU16(kThreeRpSignedWord, c.before);
        const NetworkChange change = LoadNetwork1(*image, MakeNetwork(kBandTk, c.scheme), person);
        EXPECT_EQ(image->U16(kThreeRpSignedWord), c.after) << c.before;
        EXPECT_EQ(change.userInterfaceChanged, c.changed) << c.before;
    }
}

TEST_F(NetworkSlotsTest, Network2MustMatchNetwork1) {
    ASSERT_TRUE(LoadNetwork1(*image, MakeNetwork(kBandTk, kSchemeMpt1343), person).done);
    const auto before = *image;
    // Another band is refused even when the scheme matches.
    EXPECT_FALSE(LoadNetwork2(*image, MakeNetwork(kBandX8, kSchemeMpt1343), person).done);
    EXPECT_FALSE(LoadNetwork2(*image, MakeNetwork(kBandTk, kScheme3Rp), person).done);
    ASSERT_EQ(person.shown.size(), 2u);
    EXPECT_EQ(person.shown[0].text, kNetwork2BandError);
    EXPECT_EQ(person.shown[0].kind, BoxKind::Error);
    EXPECT_EQ(person.shown[1].text, kNetwork2SchemeWarning);
    EXPECT_EQ(person.shown[1].kind, BoxKind::Warning);
    EXPECT_TRUE(*image == before);
    EXPECT_TRUE(LoadNetwork2(*image, MakeNetwork(kBandTk, kSchemeMpt1343), person).done);
    EXPECT_TRUE(NetworkPresent(*image, 1));
}

TEST_F(NetworkSlotsTest, Network2NeedsNetwork1) {
    image->SetU16(trunk::kBandCode, kBandTk);  // a stale header band without Network 1
    EXPECT_FALSE(LoadNetwork2(*image, MakeNetwork(kBandTk, 0), person).done);
    EXPECT_EQ(person.Texts(), std::vector<std::string>{std::string(kNetwork2BandError)});
}

TEST_F(NetworkSlotsTest, DeletingFollowsTheOrderAndTheAnswers) {
    LoadBoth(kSchemeMpt1343);
    EXPECT_FALSE(DeleteNetwork1(*image, person).done);
    EXPECT_EQ(person.Texts(), std::vector<std::string>{std::string(kDeleteOrderError)});

    person.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(DeleteNetwork2(*image, person).done);
    EXPECT_TRUE(NetworkPresent(*image, 1));
    EXPECT_TRUE(DeleteNetwork2(*image, person).done);
    EXPECT_FALSE(NetworkPresent(*image, 1));

    person.shown.clear();
    person.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(DeleteNetwork1(*image, person).done);
    EXPECT_TRUE(NetworkPresent(*image, 0));
    EXPECT_TRUE(DeleteNetwork1(*image, person).done);
    EXPECT_EQ(person.Texts(), std::vector<std::string>(2, std::string(kDeleteNetwork1Question)));
    EXPECT_FALSE(NetworkPresent(*image, 0));
    EXPECT_EQ(image->U16(trunk::kBandCode), 0);

    // With nothing loaded there is nothing to ask.
    person.shown.clear();
    EXPECT_TRUE(DeleteNetwork1(*image, person).done);
    EXPECT_TRUE(DeleteNetwork2(*image, person).done);
    EXPECT_TRUE(person.shown.empty());
}

}  // namespace
}  // namespace km
