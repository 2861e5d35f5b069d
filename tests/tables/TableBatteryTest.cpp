// One battery over every row of every field table, run on the shipped templates and on random
// images: what a form's load and store passes built on the rows must never do.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "DataFiles.h"
#include "fields/FieldOps.h"
#include "image/Setup.h"
#include "tables/Tables.h"

namespace km::tables {
namespace {

using fields::FieldRow;
using fields::FieldTable;
using fields::FieldValue;
using fields::ImageId;

struct NamedImage {
    std::string name;
    ImageId image;
    std::vector<std::uint8_t> bytes;
};

template <std::size_t N>
std::vector<std::uint8_t> BytesOf(const ByteImage<N>& image) {
    return {image.Bytes().begin(), image.Bytes().end()};
}

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

std::vector<NamedImage> Images() {
    std::vector<NamedImage> images = {
        {"default.tct", ImageId::Trunk, BytesOf(datagen::TrunkTemplate())},
        {"default.cct", ImageId::Pmr,
         BytesOf(*std::make_unique<PmrJobImage>(datagen::PmrTemplate()))},
        {"Demo.nwk", ImageId::Network, BytesOf(datagen::DemoNetwork())},
        {"Setup.dat", ImageId::Setup, SerializeSetupRecord(SetupRecord{})},
    };
    for (unsigned seed = 1; seed <= 3; ++seed) {
        for (ImageId id : {ImageId::Trunk, ImageId::Pmr, ImageId::Network, ImageId::Setup}) {
            images.push_back(
                {"random " + std::to_string(seed), id,
                 RandomBytes(fields::kImageSizes[static_cast<std::size_t>(id)], seed)});
        }
    }
    return images;
}

// Rows, and the columns of the first two records and the last of every record table: where a
// wrong base or stride shows. Every record of a 1000-entry table would make the battery slow.
bool Sampled(const PlacedField& field) {
    return field.records == nullptr || field.record < 2 ||
           field.record + 1 == field.records->capacity;
}

std::vector<PlacedField> FieldsOf(const NamedImage& image) {
    std::vector<PlacedField> placed;
    ForEachField(image.image, image.bytes, Records::All, [&](const PlacedField& field) {
        if (Sampled(field)) {
            placed.push_back(field);
        }
    });
    return placed;
}

// Every row with its table, and every column with its record table (record tables may share
// their columns).
void ForEachRow(
    const std::function<void(const FieldTable&, std::string_view, const FieldRow&)>& visit) {
    for (const FieldTable* table : AllTables()) {
        for (const FieldRow& row : table->rows) {
            visit(*table, "", row);
        }
        for (const auto& records : table->records) {
            for (const FieldRow& column : records.columns) {
                visit(*table, records.id, column);
            }
        }
    }
}

// A value of the row other than `current`, valid for the row where the row allows one.
FieldValue OtherValue(const FieldRow& row, const FieldValue& current) {
    const auto* text = std::get_if<std::string>(&current);
    if (row.encoding == fields::Encoding::PackedDial ||
        row.encoding == fields::Encoding::SelcallDigits) {
        return *text == "1" ? std::string("2") : std::string("1");
    }
    if (fields::IsTextEncoding(row.encoding)) {
        return *text == "Z" ? std::string("Y") : std::string("Z");
    }
    // A number whose raw form is the row's blank reads back as the blank, not as itself.
    auto distinct = [&](std::int64_t candidate) {
        return (text != nullptr || candidate != std::get<std::int64_t>(current)) &&
               fields::RawOfValue(row, candidate) != row.blankRaw;
    };
    for (const auto& choice : row.choices) {
        if (distinct(choice.code)) {
            return choice.code;
        }
    }
    for (std::int64_t candidate : {row.min, row.max, row.defaultValue, std::int64_t{1}}) {
        if (distinct(candidate) && !fields::CheckField(row, candidate)) {
            return candidate;
        }
    }
    return current;
}

TEST(TableBattery, StoreAfterLoadGivesBackTheSameBytes) {
    for (NamedImage& image : Images()) {
        const std::vector<std::uint8_t> before = image.bytes;
        for (const PlacedField& field : FieldsOf(image)) {
            fields::WriteField(*field.row, image.bytes, field.offset,
                               fields::ReadField(*field.row, image.bytes, field.offset));
        }
        EXPECT_EQ(image.bytes, before) << image.name;
    }
}

TEST(TableBattery, AValueWrittenReadsBackAndBytesNoRowNamesAreNeverChanged) {
    for (const NamedImage& image : Images()) {
        for (const PlacedField& field : FieldsOf(image)) {
            std::vector<std::uint8_t> bytes = image.bytes;
            const FieldValue other =
                OtherValue(*field.row, fields::ReadField(*field.row, bytes, field.offset));
            fields::WriteField(*field.row, bytes, field.offset, other);
            EXPECT_EQ(fields::ReadField(*field.row, bytes, field.offset), other)
                << image.name << " " << field.row->id;
            const std::size_t end = field.offset + fields::ByteWidth(*field.row);
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (i < field.offset || i >= end) {
                    ASSERT_EQ(bytes[i], image.bytes[i])
                        << image.name << " " << field.row->id << " changed byte " << i;
                }
            }
        }
    }
}

TEST(TableBattery, EveryDefaultLiesInItsRange) {
    ForEachRow([](const FieldTable& table, std::string_view, const FieldRow& row) {
        if (!row.derived) {
            EXPECT_EQ(fields::CheckField(row, fields::DefaultValue(row)), std::nullopt)
                << table.id << " " << row.id;
        }
    });
}

TEST(TableBattery, ChoiceCodesAndTextsAreUniqueAndIdsBelongToTheirTable) {
    std::set<std::string> ids;
    ForEachRow([&](const FieldTable& table, std::string_view records, const FieldRow& row) {
        std::set<std::int64_t> codes;
        std::set<std::string_view> texts;
        for (const auto& choice : row.choices) {
            EXPECT_TRUE(codes.insert(choice.code).second) << row.id << " code " << choice.code;
            EXPECT_TRUE(texts.insert(choice.text).second) << row.id << " " << choice.text;
        }
        EXPECT_TRUE(ids.insert(std::string(table.id) + "/" + std::string(records) + "/" +
                               std::string(row.id))
                        .second)
            << row.id;
        EXPECT_FALSE(row.id.empty());
        EXPECT_FALSE(row.caption.empty()) << row.id;
    });
    for (const FieldTable* table : AllTables()) {
        for (const FieldRow& row : table->rows) {
            EXPECT_TRUE(row.id.starts_with(std::string(table->id) + ".")) << row.id;
        }
    }
}

TEST(TableBattery, EveryShownValueParsesBackToTheValue) {
    for (const NamedImage& image : Images()) {
        for (const PlacedField& field : FieldsOf(image)) {
            const FieldValue value = fields::ReadField(*field.row, image.bytes, field.offset);
            EXPECT_EQ(fields::ParseField(*field.row, fields::FormatField(*field.row, value)), value)
                << image.name << " " << field.row->id;
        }
    }
}

TEST(TableBattery, AStoredFormReadsAsAValueThatReadsAsItself) {
    ForEachRow([](const FieldTable& table, std::string_view, const FieldRow& row) {
        if (row.readsAs == nullptr) {
            return;
        }
        for (std::int64_t raw = 0; raw <= 0xFFFF; ++raw) {
            const std::int64_t read = row.readsAs(raw);
            ASSERT_EQ(row.readsAs(read), read) << table.id << " " << row.id << " " << raw;
        }
        for (const auto& choice : row.choices) {
            EXPECT_EQ(row.readsAs(fields::RawOfValue(row, choice.code)),
                      fields::RawOfValue(row, choice.code))
                << row.id << " " << choice.text;
        }
    });
}

}  // namespace
}  // namespace km::tables
