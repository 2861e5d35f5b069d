// Values set by field id through their rows, one change list taken whole or not at all, and the
// JSON list of changes in the shape the dump prints.

#include <gtest/gtest.h>

#include <filesystem>
#include <variant>

#include "tables/JobDump.h"
#include "tables/SetValues.h"

namespace km::tables {
namespace {

const std::filesystem::path kData = std::filesystem::path(KM_SOURCE_DIR) / "data";

JobBytes Read(const std::filesystem::path& path) {
    auto read = ReadJobBytes(path);
    if (auto* error = std::get_if<std::string>(&read)) {
        ADD_FAILURE() << *error;
        return {};
    }
    return std::get<JobBytes>(std::move(read));
}

std::string Shown(const JobBytes& job, const std::string& id) {
    for (const DumpLine& line : DumpImage(job.image, job.bytes)) {
        if (line.id == id) {
            return line.value;
        }
    }
    return "<no such field>";
}

TEST(SetValuesTest, EachValueGoesThroughItsRowsParseAndCheck) {
    struct Case {
        const char* file;
        std::string id;
        std::string value;
        std::string refusal;  // empty: taken
        std::string shown;    // what the dump shows afterwards, when taken
    };
    const Case cases[] = {
        {"default.tct", "header.description", "Van 12", "", "Van 12"},
        {"default.tct", "n1.identities.own.prefix", "127", "", "127"},
        {"default.tct", "n2.identities.own.prefix", "128",
         "Value out of range.  Must be between 0 and 127", ""},
        {"default.tct", "n1.identities.own.prefix", "twelve", std::string(kNotAValueMessage), ""},
        {"default.tct", "header.accessory", "OEM Mic", "", "OEM Mic"},
        {"default.tct", "header.accessory", "Nothing", "Value is not one of the list's entries",
         ""},
        {"default.tct", "header.description", std::string(61, 'x'),
         "Text too long.  At most 60 characters", ""},
        {"default.tct", "header.description", "Line one\\nLine two", "", "Line one\\nLine two"},
        {"default.tct", "header.no_such_field", "1", std::string(kUnknownFieldMessage), ""},
        {"default.tct", "header.version", "1", std::string(kDerivedFieldMessage), ""},
        // A value the job already holds is no change, even for a derived field.
        {"default.tct", "header.version", "5860", "", "5860"},
        {"Networks/Demo.nwk", "network.system.description", "Depot north", "", "Depot north"},
        {"default.cct", "header.description", "PMR fleet", "", "PMR fleet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id + "=" + c.value);
        JobBytes job = Read(kData / c.file);
        const JobBytes before = job;
        const FieldChange change{c.id, c.value};
        const auto refusal = ApplyChanges(job.image, job.bytes, std::span(&change, 1));
        if (c.refusal.empty()) {
            EXPECT_FALSE(refusal) << refusal->message;
            EXPECT_EQ(Shown(job, c.id), c.shown);
        } else {
            ASSERT_TRUE(refusal);
            EXPECT_EQ(refusal->id, c.id);
            EXPECT_EQ(refusal->message, c.refusal);
            EXPECT_EQ(job.bytes, before.bytes);
        }
    }
}

TEST(SetValuesTest, ARefusedChangeLeavesTheWholeListUnwritten) {
    JobBytes job = Read(kData / "default.tct");
    const JobBytes before = job;
    const std::vector<FieldChange> changes = {
        {"header.description", "Taken first"},
        {"n1.identities.own.ident", "42"},
        {"n1.identities.own.prefix", "500"},
    };
    const auto refusal = ApplyChanges(job.image, job.bytes, changes);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->id, "n1.identities.own.prefix");
    EXPECT_EQ(job.bytes, before.bytes);
}

TEST(SetValuesTest, ADumpAppliesBackUnchangedAndAnEditedDumpChangesOnlyItsEdits) {
    const std::pair<const char*, const char*> kFiles[] = {
        {"default.tct", "header.description"},
        {"default.cct", "header.description"},
        {"Networks/Demo.nwk", "network.system.description"},
    };
    for (const auto& [file, edited] : kFiles) {
        SCOPED_TRACE(file);
        JobBytes job = Read(kData / file);
        const JobBytes before = job;
        const auto parsed = ParseChangesJson(DumpAsJson(DumpImage(job.image, job.bytes)));
        ASSERT_TRUE(std::holds_alternative<std::vector<FieldChange>>(parsed));
        auto changes = std::get<std::vector<FieldChange>>(parsed);
        ASSERT_FALSE(changes.empty());
        EXPECT_FALSE(ApplyChanges(job.image, job.bytes, changes));
        EXPECT_EQ(job.bytes, before.bytes);

        for (FieldChange& change : changes) {
            if (change.id == edited) {
                change.value = "Edited \"here\"";
            }
        }
        EXPECT_FALSE(ApplyChanges(job.image, job.bytes, changes));
        const auto difference = DiffImages(job.image, before.bytes, job.bytes);
        ASSERT_EQ(difference.fields.size(), 1u);
        EXPECT_EQ(difference.fields[0].after.substr(0, 14), "Edited \"here\"");
    }
}

TEST(SetValuesTest, ChangesJsonIsReadStrictly) {
    const auto taken = ParseChangesJson(
        " [ {\"id\": \"a.b\", \"caption\": \"ignored\", \"value\": \"x\\u00e9\\\"\\n\"},"
        "{\"value\": 12.5, \"id\": \"c[2].d\"} ] ");
    ASSERT_TRUE(std::holds_alternative<std::vector<FieldChange>>(taken));
    const auto& changes = std::get<std::vector<FieldChange>>(taken);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].id, "a.b");
    EXPECT_EQ(changes[0].value, "x\xC3\xA9\"\n");
    EXPECT_EQ(changes[1].id, "c[2].d");
    EXPECT_EQ(changes[1].value, "12.5");
    EXPECT_TRUE(std::get<std::vector<FieldChange>>(ParseChangesJson("[]")).empty());

    for (const char* bad :
         {"", "{}", "[", "[{\"id\": \"a\"}]", "[{\"id\": \"a\", \"value\": true}]",
          "[{\"id\": \"a\", \"value\": \"x\"}] tail", "[{\"id\": \"a\" \"value\": 1}]",
          "[{\"id\": \"a\", \"value\": \"\\ud800\"}]", "[{\"id\": \"a\", \"value\": \"open"}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(std::holds_alternative<std::string>(ParseChangesJson(bad)));
    }
}

}  // namespace
}  // namespace km::tables
