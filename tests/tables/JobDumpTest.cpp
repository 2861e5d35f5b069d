// The dump of the shipped files by field, and the comparison of two jobs.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "tables/JobDump.h"
#include "tables/Verify.h"

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

std::map<std::string, std::string> DumpOf(const std::filesystem::path& path) {
    const JobBytes job = Read(path);
    std::map<std::string, std::string> values;
    for (const DumpLine& line : DumpImage(job.image, job.bytes)) {
        EXPECT_TRUE(values.emplace(line.id, line.value).second) << "twice: " << line.id;
    }
    return values;
}

TEST(JobDumpTest, TemplatesDumpTheirHeaderAsTheFormShowsIt) {
    const auto trunk = DumpOf(kData / "default.tct");
    EXPECT_EQ(trunk.at("header.version"), "5860");
    EXPECT_EQ(trunk.at("header.format"), "100");
    EXPECT_EQ(trunk.at("header.band"), "Undefined");
    const auto pmr = DumpOf(kData / "default.cct");
    EXPECT_EQ(pmr.at("header.format"), "202");
    EXPECT_EQ(pmr.count("setup.country"), 0u);
}

TEST(JobDumpTest, DiffNamesExactlyTheFieldsThatDiffer) {
    JobBytes a = Read(kData / "default.tct");
    JobBytes b = a;
    b.bytes[107] = 2;      // radio mode: Multi Mode Radio
    b.bytes[114] = 3;      // accessory: OEM Mic
    b.bytes[36] = 'Q';     // description
    b.bytes[0x3378] ^= 1;  // a byte no row names: Network 1 file, offset 1400
    const ImageDifference difference = DiffImages(a.image, a.bytes, b.bytes);
    ASSERT_EQ(difference.fields.size(), 3u);
    std::map<std::string, FieldDifference> byId;
    for (const auto& field : difference.fields) {
        byId[field.id] = field;
    }
    EXPECT_EQ(byId.at("header.radio_mode").after, "Multi Mode Radio");
    EXPECT_EQ(byId.at("header.accessory").after, "OEM Mic");
    EXPECT_EQ(byId.at("header.description").after.substr(0, 1), "Q");
    ASSERT_EQ(difference.unnamedBytes.size(), 1u);
    EXPECT_EQ(difference.unnamedBytes[0].begin, 0x3378u);
    EXPECT_EQ(difference.unnamedBytes[0].end, 0x3379u);
    EXPECT_TRUE(DiffImages(a.image, a.bytes, a.bytes).Empty());
}

TEST(JobDumpTest, AValueNoChoiceHasAndControlBytesAreShownSafely) {
    JobBytes job = Read(kData / "default.tct");
    job.bytes[107] = 37;
    job.bytes[36] = 0x07;
    std::map<std::string, std::string> values;
    for (const DumpLine& line : DumpImage(job.image, job.bytes)) {
        values[line.id] = line.value;
    }
    EXPECT_EQ(values.at("header.radio_mode"), "? 37");
    EXPECT_EQ(values.at("header.description").substr(0, 4), "\\x07");
}

TEST(JobDumpTest, FilesOfTheWrongKindOrSizeAreRefusedInOneLine) {
    const auto dir = std::filesystem::temp_directory_path() / "km_dump_test";
    std::filesystem::create_directories(dir);
    const auto shortJob = dir / "short.tnk";
    std::ofstream(shortJob, std::ios::binary) << "abc";
    const auto other = dir / "notes.txt";
    std::ofstream(other) << "x";
    for (const auto& path : {shortJob, other, dir / "missing.pmr"}) {
        const auto read = ReadJobBytes(path);
        ASSERT_TRUE(std::holds_alternative<std::string>(read)) << path;
        EXPECT_EQ(std::get<std::string>(read).find('\n'), std::string::npos);
    }
    std::filesystem::remove_all(dir);
}

TEST(JobDumpTest, JsonEscapesQuotesBackslashesAndControlBytes) {
    const std::string json = DumpAsJson({{"a.b", "Cap \"x\"", "1\\2\x01"}});
    EXPECT_NE(json.find(R"("caption": "Cap \"x\"")"), std::string::npos);
    EXPECT_NE(json.find(R"("value": "1\\2\u0001")"), std::string::npos);
}

TEST(JobDumpTest, ValuesStoredInAnotherFormShowAsTheFormShowsThemAndPassVerify) {
    struct Case {
        const char* file;
        std::size_t at;
        std::vector<std::uint8_t> stored;    // as a radio or a stored job keeps the value
        std::vector<std::uint8_t> standard;  // as this program writes it
        const char* id;
        const char* shown;
    };
    const Case cases[] = {
        // Code bytes in their short form: 0x34..0x7F are DCS codes, 0x80 the last tone.
        {"default.cct", 0x3D2C + 9, {0x34}, {0x81}, "pmr.channels[0].rx_code", "DCS 023"},
        {"default.cct", 0x3D2C + 8, {0x80}, {0x33}, "pmr.channels[0].tx_code", "   254.1 Hz"},
        // Roaming words with bit 14 or 15 set.
        {"Networks/Demo.nwk",
         1244,
         {0x80, 0x40},
         {0x80, 0x00},
         "network.system.roaming[0].opid",
         "1"},
        // Step patterns the reading rule names.
        {"Networks/Demo.nwk",
         740 + 8,
         {0x02, 0x00},
         {0x06, 0x00},
         "network.hunt.sub_bands[0].separation",
         "15kHz"},
        {"Networks/Demo.nwk",
         740 + 8,
         {0x40, 0x00},
         {0xC0, 0x00},
         "network.hunt.sub_bands[0].separation",
         "10kHz"},
    };
    for (const Case& c : cases) {
        JobBytes job = Read(kData / c.file);
        if (job.image == fields::ImageId::Pmr) {
            job.bytes[0x006E] = 1;  // the channel count: record 0 is in use
            job.bytes[0x006F] = 0;
        }
        JobBytes standard = job;
        std::copy(c.stored.begin(), c.stored.end(), job.bytes.begin() + c.at);
        std::copy(c.standard.begin(), c.standard.end(), standard.bytes.begin() + c.at);
        std::map<std::string, std::string> values;
        for (const DumpLine& line : DumpImage(job.image, job.bytes)) {
            values[line.id] = line.value;
        }
        EXPECT_EQ(values.at(c.id), c.shown) << c.id;
        for (const Finding& finding : VerifyImage(job.image, job.bytes)) {
            EXPECT_NE(finding.id, c.id) << FindingLine(finding);
        }
        // The jobs differ all the same: the diff shows both stored forms.
        const ImageDifference difference = DiffImages(job.image, job.bytes, standard.bytes);
        ASSERT_EQ(difference.fields.size(), 1u) << c.id;
        EXPECT_EQ(difference.fields[0].id, c.id);
        EXPECT_EQ(difference.fields[0].before.substr(0, std::string(c.shown).size() + 9),
                  std::string(c.shown) + " (stored ");
        EXPECT_NE(difference.fields[0].before, difference.fields[0].after);
    }
}

TEST(JobDumpTest, EachFieldSaysWhereTheFormShowsIt) {
    const JobBytes job = Read(kData / "default.tct");
    std::map<std::string, DumpLine> lines;
    for (const DumpLine& line : DumpImage(job.image, job.bytes)) {
        lines[line.id] = line;
    }
    const DumpLine& alphabetical = lines.at("identities.alphabetical_order");
    EXPECT_EQ(alphabetical.form, "Identities");
    EXPECT_EQ(alphabetical.page, "Phone Book");
    EXPECT_EQ(alphabetical.control, "CBox_PBK_PhbkAlphaOrder");
    EXPECT_FALSE(alphabetical.record.has_value());
    const DumpLine& name = lines.at("identities.phonebook.names[3].name");
    EXPECT_EQ(name.control, "");
    EXPECT_EQ(name.grid, "StrGrid_PBK_Phonebook");
    EXPECT_EQ(name.record, 3u);
    EXPECT_EQ(name.column, "Name/Message");

    const std::string json = DumpAsJson({alphabetical, name});
    EXPECT_NE(json.find(R"({"id": "identities.alphabetical_order", "caption": )"
                        R"("Display in Alphabetical Order", "value": )"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("form": "Identities", "page": "Phone Book", )"
                        R"("control": "CBox_PBK_PhbkAlphaOrder"})"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("form": "Identities", "page": "Phone Book", "record": 3, )"
                        R"("grid": "StrGrid_PBK_Phonebook", "column": "Name/Message"})"),
              std::string::npos)
        << json;
}

}  // namespace
}  // namespace km::tables
