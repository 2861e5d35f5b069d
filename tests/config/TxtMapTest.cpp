// The radio's texts in the trunk and PMR jobs: where each grid is stored, the edit-function
// records, the default texts per control head and what a change of radio type refills.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DataFiles.h"
#include "config/TxtMap.h"

namespace km {
namespace {

using fields::ImageId;

// A job image full of 0xEE, so that every byte a store writes shows.
struct Jobs {
    std::unique_ptr<TrunkJobImage> trunk = std::make_unique<TrunkJobImage>();
    std::unique_ptr<PmrJobImage> pmr = std::make_unique<PmrJobImage>();
    Jobs() {
        std::fill(trunk->Bytes().begin(), trunk->Bytes().end(), 0xEE);
        std::fill(pmr->Bytes().begin(), pmr->Bytes().end(), 0xEE);
    }
    std::span<std::uint8_t> Bytes(ImageId image) {
        return image == ImageId::Trunk ? trunk->Bytes() : pmr->Bytes();
    }
};

std::vector<std::uint8_t> BytesAt(std::span<const std::uint8_t> image, std::size_t offset,
                                  std::size_t count) {
    return {image.begin() + static_cast<std::ptrdiff_t>(offset),
            image.begin() + static_cast<std::ptrdiff_t>(offset + count)};
}

std::vector<std::uint8_t> TextBytes(std::string_view text, std::size_t width) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.resize(width, 0);
    return bytes;
}

TEST(TxtMap, TwelveCharacterTextsFillTheirFieldAndEmptyOnesAreTwelveNuls) {
    struct Case {
        TextGrid grid;
        ImageId image;
        std::size_t base;
    };
    const Case cases[] = {
        {TextGrid::Messages, ImageId::Trunk, 0x014C}, {TextGrid::Messages, ImageId::Pmr, 0x014C},
        {TextGrid::Menus, ImageId::Trunk, 0x03C4},    {TextGrid::Menus, ImageId::Pmr, 0x03C4},
        {TextGrid::CtcssNames, ImageId::Pmr, 0x3B3C},
    };
    for (const Case& c : cases) {
        Jobs jobs;
        const std::vector<std::string> texts = {"", "Unobtainable", "Busy"};
        StoreTexts(c.grid, c.image, jobs.Bytes(c.image), texts);
        auto bytes = jobs.Bytes(c.image);
        EXPECT_EQ(BytesAt(bytes, c.base, 12), std::vector<std::uint8_t>(12, 0));
        EXPECT_EQ(BytesAt(bytes, c.base + 12, 12), TextBytes("Unobtainable", 12));
        EXPECT_EQ(BytesAt(bytes, c.base + 24, 12), TextBytes("Busy", 12));
        EXPECT_EQ(bytes[c.base + 36], 0xEE) << "a record no text was given for";
        const auto loaded = LoadTexts(c.grid, c.image, bytes);
        EXPECT_EQ(std::vector<std::string>(loaded.begin(), loaded.begin() + 3), texts);
    }
}

TEST(TxtMap, EditFunctionRecordsCountTheirCharactersAndCarryTheirDisplayRow) {
    Jobs jobs;
    const std::vector<std::string> texts = {"", "Add", "DELETE", "OK", "x", "Skip", "Prty"};
    for (ImageId image : {ImageId::Trunk, ImageId::Pmr}) {
        StoreTexts(TextGrid::EditFunctions, image, jobs.Bytes(image), texts);
        WriteEditDisplayRows(image, jobs.Bytes(image));
    }
    const auto trunk = jobs.trunk->Bytes();
    const auto pmr = jobs.pmr->Bytes();
    const std::vector<std::uint8_t> empty = {101, 5, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(BytesAt(trunk, 0x04B4, 8), empty);
    EXPECT_EQ(BytesAt(pmr, 0x04B4, 8), empty);
    const std::vector<std::uint8_t> add = {80, 2, 'A', 'd', 'd', 0, 0, 0};
    EXPECT_EQ(BytesAt(trunk, 0x04BC, 8), add);
    EXPECT_EQ(BytesAt(pmr, 0x04BC, 8), add);
    EXPECT_EQ(BytesAt(trunk, 0x04C4, 8),
              (std::vector<std::uint8_t>{59, 0, 'D', 'E', 'L', 'E', 'T', 'E'}));
    // Records 5 and 6: display rows 5 and 7 in a PMR job, 0 in a trunk job.
    EXPECT_EQ(trunk[0x04DC + 1], 0);
    EXPECT_EQ(trunk[0x04E4 + 1], 0);
    EXPECT_EQ(pmr[0x04DC + 1], 5);
    EXPECT_EQ(pmr[0x04E4 + 1], 7);
    // Trunk records 2-9 all have display row 0; PMR records 7-15 too.
    for (std::size_t r = 2; r < 10; ++r) {
        EXPECT_EQ(trunk[0x04B4 + 8 * r + 1], 0) << r;
    }
    for (std::size_t r = 7; r < 16; ++r) {
        EXPECT_EQ(pmr[0x04B4 + 8 * r + 1], 0) << r;
    }
    EXPECT_EQ(LoadTexts(TextGrid::EditFunctions, ImageId::Pmr, pmr)[2], "DELETE");
}

TEST(TxtMap, ATextLongerThanItsFieldIsStoredCut) {
    Jobs jobs;
    const std::vector<std::string> messages = {"Unobtainable!"};
    const std::vector<std::string> edits = {"Priority"};
    StoreTexts(TextGrid::Messages, ImageId::Pmr, jobs.pmr->Bytes(), messages);
    StoreTexts(TextGrid::EditFunctions, ImageId::Pmr, jobs.pmr->Bytes(), edits);
    EXPECT_EQ(BytesAt(jobs.pmr->Bytes(), 0x014C, 13),
              (std::vector<std::uint8_t>{'U', 'n', 'o', 'b', 't', 'a', 'i', 'n', 'a', 'b', 'l', 'e',
                                         0xEE}));
    EXPECT_EQ(jobs.pmr->U8(0x04B4), 59);  // six characters stored
    EXPECT_EQ(BytesAt(jobs.pmr->Bytes(), 0x04B6, 6), TextBytes("Priori", 6));
}

TEST(TxtMap, TheTrunkStoreWritesOnlyItsTablesAndNeverPast0x0503) {
    Jobs jobs;
    const std::vector<std::string> full(48, "ABCDEFGHIJKL");
    for (TextGrid grid : kTextGrids) {
        StoreTexts(grid, ImageId::Trunk, jobs.trunk->Bytes(), full);
    }
    WriteEditDisplayRows(ImageId::Trunk, jobs.trunk->Bytes());
    const auto bytes = jobs.trunk->Bytes();
    const auto inside = [](std::size_t i) {
        return (i >= 0x014C && i <= 0x038B) || (i >= 0x03C4 && i <= 0x049B) ||
               (i >= 0x04B4 && i <= 0x0503);
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!inside(i)) {
            ASSERT_EQ(bytes[i], 0xEE) << "byte " << i;
        }
    }
    EXPECT_EQ(BytesAt(bytes, 0x04FC, 8),
              (std::vector<std::uint8_t>{59, 0, 'A', 'B', 'C', 'D', 'E', 'F'}));
    EXPECT_EQ(LoadTexts(TextGrid::CtcssNames, ImageId::Trunk, bytes).size(), 0u);
    EXPECT_EQ(LoadTexts(TextGrid::EditFunctions, ImageId::Trunk, bytes).size(), 10u);
}

TEST(TxtMap, LabelsNameEachRowOfTheView) {
    const auto trunkMessages = TextLabels(TextGrid::Messages, ImageId::Trunk);
    ASSERT_EQ(trunkMessages.size(), 48u);
    EXPECT_EQ(trunkMessages[0], "All Units");
    EXPECT_EQ(trunkMessages[46], "Call 8180");
    const auto pmrMessages = TextLabels(TextGrid::Messages, ImageId::Pmr);
    ASSERT_EQ(pmrMessages.size(), 48u);
    EXPECT_EQ(pmrMessages[8], "Select to Edit");
    EXPECT_EQ(pmrMessages[43], "Out Of Area");
    EXPECT_EQ(pmrMessages[44], " ");
    EXPECT_EQ(pmrMessages[47], " ");
    const auto trunkEdit = TextLabels(TextGrid::EditFunctions, ImageId::Trunk);
    ASSERT_EQ(trunkEdit.size(), 16u);
    EXPECT_EQ(trunkEdit[9], "Done");
    EXPECT_EQ(trunkEdit[10], "");
    EXPECT_EQ(TextLabels(TextGrid::EditFunctions, ImageId::Pmr)[6], "Priority");
    EXPECT_EQ(TextLabels(TextGrid::Menus, ImageId::Trunk)[17], "--- MENU ---");
    EXPECT_EQ(TextLabels(TextGrid::Menus, ImageId::Pmr)[15], "");
    const auto tones = TextLabels(TextGrid::CtcssNames, ImageId::Pmr);
    ASSERT_EQ(tones.size(), 40u);
    EXPECT_EQ(tones[0], "Undefined");
    EXPECT_EQ(tones[12], "B, 100 Hz");
    EXPECT_EQ(tones[38], "#, 250.3 Hz");
    EXPECT_EQ(tones[39], "Ch Default");
    EXPECT_TRUE(TextLabels(TextGrid::CtcssNames, ImageId::Trunk).empty());
}

struct DefaultsCase {
    const char* name;
    TextGrid grid;
    ImageId image;
    int mask;
    DefaultsCause cause;
    std::size_t rows;  // 0: the head keeps every text
    std::vector<std::pair<std::size_t, std::string_view>> expected;
};

constexpr auto kButton = DefaultsCause::Button;
constexpr auto kChange = DefaultsCause::RadioTypeChange;

const DefaultsCase kDefaultsCases[] = {
    {"trunk messages HM-F leave row 44 empty",
     TextGrid::Messages,
     ImageId::Trunk,
     16,
     kButton,
     48,
     {{0, "All Units"}, {44, ""}, {45, "Network 2"}, {46, "Emergency"}}},
    {"trunk messages HM-C",
     TextGrid::Messages,
     ImageId::Trunk,
     4,
     kButton,
     48,
     {{0, "ALL"}, {36, "NotFnd"}, {44, ""}, {45, "NWK2"}}},
    {"trunk messages HM-D",
     TextGrid::Messages,
     ImageId::Trunk,
     32,
     kButton,
     48,
     {{44, "InService 1"}}},
    {"trunk messages KP8B use HM-E",
     TextGrid::Messages,
     ImageId::Trunk,
     1024,
     kButton,
     48,
     {{0, "AllUnits"}, {44, "Network 1"}}},
    {"messages HM-A keep their texts", TextGrid::Messages, ImageId::Trunk, 1, kButton, 0, {}},
    {"messages HM-B keep their texts", TextGrid::Messages, ImageId::Pmr, 2, kButton, 0, {}},
    {"messages of the earlier portable keep their texts on Defaults",
     TextGrid::Messages,
     ImageId::Trunk,
     256,
     kButton,
     0,
     {}},
    {"messages of the earlier portable take HM-E on a change",
     TextGrid::Messages,
     ImageId::Trunk,
     256,
     kChange,
     48,
     {{0, "AllUnits"}}},
    {"PMR messages fill rows 0-43 only",
     TextGrid::Messages,
     ImageId::Pmr,
     32,
     kButton,
     44,
     {{5, "RPTR"}, {28, "SCAN"}, {37, "0Del 1Ad 2Pr"}}},
    {"PMR messages HM-F",
     TextGrid::Messages,
     ImageId::Pmr,
     16,
     kButton,
     44,
     {{8, "SEL to Edit"}, {37, ""}}},
    {"trunk menus HM-D take the first column",
     TextGrid::Menus,
     ImageId::Trunk,
     32,
     kButton,
     18,
     {{8, "Ph Book Edit"}, {17, "--- MENU ---"}}},
    {"trunk menus HM-C leave rows 13-15 and 17 empty",
     TextGrid::Menus,
     ImageId::Trunk,
     4,
     kButton,
     18,
     {{0, "PH-BK"}, {13, ""}, {14, ""}, {15, ""}, {16, "SNDMSG"}, {17, ""}}},
    {"trunk menus HM-E", TextGrid::Menus, ImageId::Trunk, 8, kButton, 18, {{2, "StoredCalls"}}},
    {"menus of the earlier portable keep their texts on Defaults",
     TextGrid::Menus,
     ImageId::Trunk,
     256,
     kButton,
     0,
     {}},
    {"PMR menus HM-D take the second column",
     TextGrid::Menus,
     ImageId::Pmr,
     32,
     kButton,
     18,
     {{0, "--- MENU ---"}, {17, "Zone"}}},
    {"PMR menus HM-F", TextGrid::Menus, ImageId::Pmr, 16, kButton, 18, {{0, "Menu"}}},
    {"PMR menus keep the zone menu on a change",
     TextGrid::Menus,
     ImageId::Pmr,
     4,
     kChange,
     17,
     {{0, "MENU"}, {14, "LONE_W"}}},
    {"trunk menus refill all 18 on a change",
     TextGrid::Menus,
     ImageId::Trunk,
     4,
     kChange,
     18,
     {{17, ""}}},
    {"edit functions HM-A take the default column",
     TextGrid::EditFunctions,
     ImageId::Trunk,
     1,
     kButton,
     16,
     {{1, "Del"}, {10, ""}}},
    {"edit functions of the earlier portable take the default column",
     TextGrid::EditFunctions,
     ImageId::Pmr,
     256,
     kButton,
     16,
     {{6, "Prty"}, {15, "Key-4"}}},
    {"edit functions HM-D",
     TextGrid::EditFunctions,
     ImageId::Pmr,
     32,
     kButton,
     16,
     {{1, "DELETE"}, {14, "KEY-3"}}},
    {"trunk edit functions stay on a change",
     TextGrid::EditFunctions,
     ImageId::Trunk,
     32,
     kChange,
     0,
     {}},
    {"PMR edit functions take the default column on a change to HM-C",
     TextGrid::EditFunctions,
     ImageId::Pmr,
     4,
     kChange,
     16,
     {{0, "Add"}, {4, "Done"}}},
    {"PMR edit functions take HM-D on a change to HM-D",
     TextGrid::EditFunctions,
     ImageId::Pmr,
     32,
     kChange,
     16,
     {{0, "ADD"}}},
    {"PMR edit functions take the default column on a change to HM-A",
     TextGrid::EditFunctions,
     ImageId::Pmr,
     1,
     kChange,
     16,
     {{0, "Add"}}},
    {"CTCSS names are the tones",
     TextGrid::CtcssNames,
     ImageId::Pmr,
     1,
     kButton,
     40,
     {{0, "Undefined"}, {1, "Q, 67.0 Hz"}, {39, "Ch Default"}}},
    {"CTCSS names stay on a change", TextGrid::CtcssNames, ImageId::Pmr, 16, kChange, 0, {}},
    {"no CTCSS names in a trunk job", TextGrid::CtcssNames, ImageId::Trunk, 16, kButton, 0, {}},
};

void PrintTo(const DefaultsCase& c, std::ostream* os) {
    *os << c.name;
}

class DefaultsTest : public testing::TestWithParam<DefaultsCase> {};

TEST_P(DefaultsTest, HeadChoosesTheColumnAndTheRows) {
    const DefaultsCase& c = GetParam();
    const auto texts = DefaultTexts(c.grid, c.image, c.mask, c.cause);
    ASSERT_EQ(texts.size(), c.rows);
    for (const auto& [row, text] : c.expected) {
        EXPECT_EQ(texts[row], text) << "row " << row;
    }
}

INSTANTIATE_TEST_SUITE_P(Heads, DefaultsTest, testing::ValuesIn(kDefaultsCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             }
                             return name;
                         });

TEST(TxtMap, EveryDefaultFitsItsField) {
    EXPECT_EQ(TextLimit(TextGrid::Messages), 12u);
    EXPECT_EQ(TextLimit(TextGrid::Menus), 12u);
    EXPECT_EQ(TextLimit(TextGrid::EditFunctions), 6u);
    EXPECT_EQ(TextLimit(TextGrid::CtcssNames), 12u);
    for (ImageId image : {ImageId::Trunk, ImageId::Pmr}) {
        for (int mask : {4, 8, 16, 32}) {
            for (TextGrid grid : kTextGrids) {
                const std::size_t limit = grid == TextGrid::EditFunctions ? 6 : 12;
                for (std::string_view text : DefaultTexts(grid, image, mask, kButton)) {
                    EXPECT_LE(text.size(), limit) << text;
                }
            }
        }
    }
}

TEST(TxtMap, ARadioTypeChangeRefillsTheGridsTheViewRefills) {
    Jobs jobs;
    const std::vector<std::string> typed(48, "typed");
    for (ImageId image : {ImageId::Trunk, ImageId::Pmr}) {
        for (TextGrid grid : kTextGrids) {
            StoreTexts(grid, image, jobs.Bytes(image), typed);
        }
        RefillTextsForHead(image, jobs.Bytes(image), 4);
    }
    const auto trunk = jobs.trunk->Bytes();
    EXPECT_EQ(BytesAt(trunk, 0x014C, 12), TextBytes("ALL", 12));
    EXPECT_EQ(BytesAt(trunk, 0x014C + 12 * 47, 12), TextBytes("LOCK", 12));
    EXPECT_EQ(BytesAt(trunk, 0x03C4 + 12 * 17, 12), TextBytes("", 12));
    EXPECT_EQ(BytesAt(trunk, 0x04B6, 6), TextBytes("typed", 6)) << "trunk edit functions stay";

    const auto pmr = jobs.pmr->Bytes();
    EXPECT_EQ(BytesAt(pmr, 0x014C, 12), TextBytes("ADDED", 12));
    EXPECT_EQ(BytesAt(pmr, 0x014C + 12 * 43, 12), TextBytes("XAREA", 12));
    EXPECT_EQ(BytesAt(pmr, 0x014C + 12 * 44, 12), TextBytes("typed", 12)) << "rows 44-47 stay";
    EXPECT_EQ(BytesAt(pmr, 0x03C4 + 12 * 16, 12), TextBytes("SNDMSG", 12));
    EXPECT_EQ(BytesAt(pmr, 0x03C4 + 12 * 17, 12), TextBytes("typed", 12)) << "the zone menu stays";
    EXPECT_EQ(BytesAt(pmr, 0x04B4 + 8 * 6, 8),
              (std::vector<std::uint8_t>{73, 0xEE, 'P', 'r', 't', 'y', 0, 0}));
    EXPECT_EQ(BytesAt(pmr, 0x3B3C, 12), TextBytes("typed", 12)) << "tone names stay";

    // HM-A has no text display of its own: only the PMR edit functions change.
    Jobs hmA;
    for (ImageId image : {ImageId::Trunk, ImageId::Pmr}) {
        StoreTexts(TextGrid::Messages, image, hmA.Bytes(image), typed);
        RefillTextsForHead(image, hmA.Bytes(image), 1);
        EXPECT_EQ(BytesAt(hmA.Bytes(image), 0x014C, 12), TextBytes("typed", 12));
    }
    EXPECT_EQ(BytesAt(hmA.pmr->Bytes(), 0x04B6, 6), TextBytes("Add", 6));
    EXPECT_EQ(hmA.trunk->U8(0x04B4), 0xEE);
}

// The templates carry the HM-F head with its default texts and the records' display rows.
TEST(TxtMap, TemplatesHoldTheHmFDefaults) {
    const auto trunk = std::make_unique<TrunkJobImage>(datagen::TrunkTemplate());
    const auto pmr = std::make_unique<PmrJobImage>(datagen::PmrTemplate());
    for (ImageId image : {ImageId::Trunk, ImageId::Pmr}) {
        const auto bytes = image == ImageId::Trunk ? trunk->Bytes() : pmr->Bytes();
        for (TextGrid grid : kTextGrids) {
            const auto stored = LoadTexts(grid, image, bytes);
            const auto defaults = DefaultTexts(grid, image, 16, kButton);
            for (std::size_t r = 0; r < stored.size(); ++r) {
                EXPECT_EQ(stored[r], r < defaults.size() ? defaults[r] : "")
                    << static_cast<int>(grid) << " row " << r;
            }
        }
        const std::size_t records = image == ImageId::Trunk ? 10 : 16;
        for (std::size_t r = 0; r < records; ++r) {
            EXPECT_EQ(bytes[0x04B4 + 8 * r + 1], EditDisplayRow(image, r)) << r;
        }
    }
}

}  // namespace
}  // namespace km
