#include <gtest/gtest.h>

#include <memory>

#include "ImageFixtures.h"
#include "image/PmrFormat.h"

namespace km {
namespace {

using testing::FillPattern;
using testing::PatternBytes;

constexpr std::size_t kNames = 15164;  // CTCSS tone names in the current layout
constexpr std::size_t kNamesSize = 480;

std::vector<std::uint8_t> PmrFile(std::uint16_t version, std::size_t size) {
    auto bytes = PatternBytes(size, 0x11);
    if (size >= 114) {
        bytes[112] = static_cast<std::uint8_t>(version & 0xFF);
        bytes[113] = static_cast<std::uint8_t>(version >> 8);
    }
    return bytes;
}

class PmrFormatTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FillPattern(*templ_, 0x40);
        FillPattern(*out_, 0x99);
    }
    std::unique_ptr<PmrJobImage> templ_ = std::make_unique<PmrJobImage>();
    std::unique_ptr<PmrJobImage> out_ = std::make_unique<PmrJobImage>();
};

struct StatusCase {
    const char* what;
    std::vector<std::uint8_t> file;
    bool withTemplate;
    PmrFormatStatus expected;
};

TEST_F(PmrFormatTest, VersionAndLengthDecideWhetherTheFileCanBeRead) {
    auto radioOrder202 = PmrFile(202, PmrJobImage::kSize);
    radioOrder202[112] = 0x00;  // 0x00 0xCA: 202 high byte first, as a radio holds it
    radioOrder202[113] = 0xCA;
    const StatusCase cases[] = {
        {"current", PmrFile(202, PmrJobImage::kSize), false, PmrFormatStatus::Current},
        {"current, longer file", PmrFile(202, 80000), false, PmrFormatStatus::Current},
        {"current, one byte short", PmrFile(202, PmrJobImage::kSize - 1), true,
         PmrFormatStatus::TooShort},
        {"later program", PmrFile(203, PmrJobImage::kSize), true, PmrFormatStatus::Unsupported},
        {"older than 200", PmrFile(199, PmrJobImage::kSize), true, PmrFormatStatus::Unsupported},
        {"radio byte order", radioOrder202, true, PmrFormatStatus::Unsupported},
        {"201 without template", PmrFile(201, 55180), false, PmrFormatStatus::TemplateMissing},
        {"201 one byte short", PmrFile(201, 55179), true, PmrFormatStatus::TooShort},
        {"200 one byte short", PmrFile(200, 62117), true, PmrFormatStatus::TooShort},
        {"no version word", PmrFile(202, 113), true, PmrFormatStatus::TooShort},
        {"empty", {}, true, PmrFormatStatus::TooShort},
    };
    for (const StatusCase& c : cases) {
        FillPattern(*out_, 0x99);
        const PmrJobImage before = *out_;
        const auto status = ConvertPmrFile(c.file, c.withTemplate ? templ_.get() : nullptr, *out_);
        EXPECT_EQ(status, c.expected) << c.what;
        if (status == PmrFormatStatus::Current) {
            EXPECT_TRUE(std::equal(out_->Bytes().begin(), out_->Bytes().end(), c.file.begin()))
                << c.what;
        } else {
            EXPECT_EQ(*out_, before) << c.what << ": a refused file must leave the image alone";
        }
    }
}

TEST_F(PmrFormatTest, Format201GainsTheTemplatesToneNamesAt15164) {
    const auto file = PmrFile(201, 55180);
    ASSERT_EQ(ConvertPmrFile(file, templ_.get(), *out_), PmrFormatStatus::Converted);
    for (std::size_t i = 0; i < PmrJobImage::kSize; ++i) {
        std::uint8_t expected;
        if (i < kNames) {
            expected = file[i];
        } else if (i < kNames + kNamesSize) {
            expected = templ_->U8(i);
        } else if (i < 55660) {
            expected = file[i - kNamesSize];
        } else {
            expected = templ_->U8(i);
        }
        ASSERT_EQ(out_->U8(i), expected) << "offset " << i;
    }
}

// Where a byte of the current layout comes from after converting a format-200 file: the file
// offset, or npos for the template.
std::size_t SourceOf200(std::size_t offset202) {
    constexpr std::size_t npos = static_cast<std::size_t>(-1);
    if (offset202 >= kNames && offset202 < kNames + kNamesSize) {
        return npos;
    }
    if (offset202 >= 55660) {
        return npos;
    }
    const std::size_t offset201 = offset202 < kNames ? offset202 : offset202 - kNamesSize;
    if (offset201 < 7982) {
        return offset201;
    }
    if (offset201 < 10582) {  // 100 records widened from 14 to 26 bytes
        const std::size_t record = (offset201 - 7982) / 26;
        const std::size_t byte = (offset201 - 7982) % 26;
        return byte < 14 ? 7982 + 14 * record + byte : npos;
    }
    if (offset201 >= 10682) {
        return 9382 + (offset201 - 10682);
    }
    return npos;
}

TEST_F(PmrFormatTest, Format200IsWidenedThenShiftedOnFreshBuffers) {
    const auto file = PmrFile(200, 62118);
    ASSERT_EQ(ConvertPmrFile(file, templ_.get(), *out_), PmrFormatStatus::Converted);
    for (std::size_t i = 0; i < PmrJobImage::kSize; ++i) {
        const std::size_t source = SourceOf200(i);
        const std::uint8_t expected =
            source == static_cast<std::size_t>(-1) ? templ_->U8(i) : file[source];
        ASSERT_EQ(out_->U8(i), expected) << "offset " << i;
    }
    EXPECT_EQ(out_->U16(pmr::kFormatVersion), 200) << "the word keeps the file's value";
}

class PmrUnpackTest : public PmrFormatTest {
  protected:
    void SetUp() override {
        PmrFormatTest::SetUp();
        FillPattern(*scratch_, 0x23);
        FillPattern(*image_, 0x77);
    }
    void SetRadioVersion(std::uint16_t version) {
        scratch_->SetU16BE(pmr::kFormatVersion, version);
        before_ = std::make_unique<ScratchBuffer>(*scratch_);
    }
    std::unique_ptr<ScratchBuffer> scratch_ = std::make_unique<ScratchBuffer>();
    std::unique_ptr<ScratchBuffer> before_;
    std::unique_ptr<PmrJobImage> image_ = std::make_unique<PmrJobImage>();
};

TEST_F(PmrUnpackTest, CurrentRadioMemoryIsUnpackedWithoutConversion) {
    scratch_->SetU8(112, 0x00);
    scratch_->SetU8(113, 0xCA);
    before_ = std::make_unique<ScratchBuffer>(*scratch_);
    const PmrJobImage previous = *image_;
    ASSERT_EQ(UnpackPmrRead(*scratch_, nullptr, *image_), PmrFormatStatus::Current);

    EXPECT_EQ(image_->U16(pmr::kFormatVersion), 202);
    EXPECT_EQ(image_->U16(4), before_->U16BE(4));               // header word
    EXPECT_EQ(image_->U8(36), before_->U8(36));                 // description: no swap
    EXPECT_EQ(image_->U8(kNames), before_->U8(kNames));         // tone names: no swap
    EXPECT_EQ(image_->U8(15660 + 5), before_->U8(0x4000 + 5));  // channel records 0..511
    EXPECT_EQ(image_->U8(32044 + 5), before_->U8(0x8000 + 5));  // channel records 512..999
    for (std::size_t record : {0u, 249u}) {
        const std::size_t image = 47660 + 32 * record;
        const std::size_t radio = 0xC000 + 32 * record;
        EXPECT_EQ(image_->U16(image + 10), before_->U16BE(radio + 10));  // 6th word: swapped
        EXPECT_EQ(image_->U16(image + 12), before_->U16(radio + 12));    // 7th: as it was
    }
    EXPECT_EQ(image_->U16(55852 + 30), before_->U16BE(0xE000 + 30));  // group area 2: swapped
    EXPECT_EQ(image_->U16(55852 + 4094), before_->U16BE(0xE000 + 4094));
    EXPECT_EQ(image_->U8(59948 + 15999), before_->U8(0xF000 + 15999));  // zones
    EXPECT_TRUE(std::equal(image_->Bytes().begin() + 55660, image_->Bytes().begin() + 55852,
                           previous.Bytes().begin() + 55660))
        << "the 192 bytes not read from the radio keep their content";
}

TEST_F(PmrUnpackTest, Format201TakesToneNamesGroupAreaAndZonesFromTheTemplate) {
    SetRadioVersion(201);
    ASSERT_EQ(UnpackPmrRead(*scratch_, templ_.get(), *image_), PmrFormatStatus::Converted);
    EXPECT_EQ(image_->U16(pmr::kFormatVersion), 201);
    EXPECT_EQ(image_->U16(4), before_->U16BE(4));
    EXPECT_EQ(image_->U16(11068), before_->U16BE(11068));  // group area 1 from the radio
    EXPECT_EQ(image_->U8(36), before_->U8(36));
    // The template's bytes keep their own (image) order and place.
    EXPECT_TRUE(std::equal(image_->Bytes().begin() + kNames, image_->Bytes().begin() + 15660,
                           templ_->Bytes().begin() + kNames));
    EXPECT_EQ(image_->U8(15660), before_->U8(0x4000));
    EXPECT_EQ(image_->U8(47660 + 20), before_->U8(0xC000 + 20));
    for (std::size_t at : {55852u, 59948u, 75947u}) {
        EXPECT_EQ(image_->U8(at), templ_->U8(at)) << at;
    }
    EXPECT_TRUE(std::equal(image_->Bytes().begin() + 55852, image_->Bytes().end(),
                           templ_->Bytes().begin() + 55852));
}

TEST_F(PmrUnpackTest, Format200RecordsAreWidenedInTheRadiosOrder) {
    SetRadioVersion(200);
    ASSERT_EQ(UnpackPmrRead(*scratch_, templ_.get(), *image_), PmrFormatStatus::Converted);
    EXPECT_EQ(image_->U16(pmr::kFormatVersion), 200);
    for (std::size_t record : {0u, 57u, 99u}) {
        for (std::size_t byte : {0u, 13u}) {
            EXPECT_EQ(image_->U8(7982 + 26 * record + byte),
                      before_->U8(7982 + 14 * record + byte));
        }
        for (std::size_t byte : {14u, 25u}) {
            EXPECT_EQ(image_->U8(7982 + 26 * record + byte), templ_->U8(7982 + 26 * record + byte));
        }
    }
    EXPECT_EQ(image_->U8(11060), before_->U8(9382 + (11060 - 10682)));      // tail, not a word
    EXPECT_EQ(image_->U16(15000), before_->U16BE(9382 + (15000 - 10682)));  // tail, a word
    EXPECT_EQ(image_->U8(kNames), templ_->U8(kNames));
}

TEST_F(PmrUnpackTest, UnreadableRadioMemoryLeavesTheJobAlone) {
    const struct {
        std::uint16_t version;
        bool withTemplate;
        PmrFormatStatus expected;
    } cases[] = {
        {203, true, PmrFormatStatus::Unsupported},
        {199, true, PmrFormatStatus::Unsupported},
        {0xCA00, true, PmrFormatStatus::Unsupported},
        {201, false, PmrFormatStatus::TemplateMissing},
        {200, false, PmrFormatStatus::TemplateMissing},
    };
    for (const auto& c : cases) {
        SetRadioVersion(c.version);
        const PmrJobImage previous = *image_;
        EXPECT_EQ(UnpackPmrRead(*scratch_, c.withTemplate ? templ_.get() : nullptr, *image_),
                  c.expected)
            << c.version;
        EXPECT_EQ(*image_, previous) << c.version;
    }
}

TEST(TrunkUnpack, RadioWordsBecomeImageWordsAndAllBytesArrive) {
    auto scratch = std::make_unique<ScratchBuffer>();
    FillPattern(*scratch, 0x31);
    const auto before = std::make_unique<ScratchBuffer>(*scratch);
    TrunkJobImage trunk;
    UnpackTrunkRead(*scratch, trunk);
    EXPECT_EQ(trunk.U16(0x0004), before->U16BE(0x8004));
    EXPECT_EQ(trunk.U8(0x0024), before->U8(0x8024));
    EXPECT_EQ(trunk.U16(0x2E5E + 3072), before->U16BE(0x8000 + 0x2E5E + 3072));
    EXPECT_EQ(trunk.U8(0x3FFF), before->U8(0xBFFF));
    EXPECT_EQ(trunk.U8(0x2800 + 0x2E4), before->U8(0x8000 + 0x2800 + 0x2E4));
}

}  // namespace
}  // namespace km
