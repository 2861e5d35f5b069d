// km700rcp-cli dump and diff on the shipped files and on jobs changed by hand.

#include <gtest/gtest.h>

#include <map>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "JobCommand.h"
#include "core/Files.h"

namespace km::cli {
namespace {

const std::filesystem::path kData = std::filesystem::path(KM_SOURCE_DIR) / "data";

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunJob(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = JobMain(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(JobCommandTest, DumpPrintsEveryFieldOfTheShippedFiles) {
    for (const char* file : {"default.tct", "default.cct", "Networks/Demo.nwk"}) {
        const Result r = RunJob({"dump", (kData / file).string()});
        EXPECT_EQ(r.code, 0) << file << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
    const Result trunk = RunJob({"dump", (kData / "default.tct").string()});
    EXPECT_NE(trunk.out.find("header.format"), std::string::npos);
    EXPECT_NE(trunk.out.find("Radio Mode"), std::string::npos);
}

TEST(JobCommandTest, DumpJsonParsesAsAnArrayOfFields) {
    const Result r = RunJob({"dump", (kData / "default.cct").string(), "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_TRUE(document.isArray());
    bool found = false;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject field = value.toObject();
        EXPECT_TRUE(field.contains("caption"));
        if (field["id"].toString() == "header.format") {
            EXPECT_EQ(field["value"].toString(), "202");
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST(JobCommandTest, DumpJsonSaysWhereTheFormShowsEachField) {
    const Result r = RunJob({"dump", (kData / "default.tct").string(), "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const QJsonArray fields = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).array();
    std::map<QString, QJsonObject> byId;
    for (const QJsonValue& value : fields) {
        EXPECT_TRUE(value.toObject().contains("form"));
        byId[value.toObject()["id"].toString()] = value.toObject();
    }
    const QJsonObject row = byId.at("identities.alphabetical_order");
    EXPECT_EQ(row["form"].toString(), "Identities");
    EXPECT_EQ(row["page"].toString(), "Phone Book");
    EXPECT_EQ(row["control"].toString(), "CBox_PBK_PhbkAlphaOrder");
    EXPECT_FALSE(row.contains("record"));
    const QJsonObject cell = byId.at("identities.phonebook.numbers[249].number");
    EXPECT_EQ(cell["grid"].toString(), "StrGrid_PBK_Phonebook");
    EXPECT_EQ(cell["record"].toInt(), 249);
    EXPECT_EQ(cell["column"].toString(), "Dial String");
    EXPECT_FALSE(cell.contains("control"));
}

TEST(JobCommandTest, DiffPrintsExactlyTheFieldsThatDifferAndExitsOne) {
    QTemporaryDir dir;
    auto bytes = *ReadFileBytes(kData / "default.tct", 1 << 20);
    const std::filesystem::path a = dir.filePath("a.tnk").toStdString();
    const std::filesystem::path b = dir.filePath("b.tnk").toStdString();
    ASSERT_TRUE(WriteFileAtomically(a, bytes));
    bytes[107] = 2;   // radio mode
    bytes[114] = 1;   // accessory
    bytes[36] = 'Z';  // description
    ASSERT_TRUE(WriteFileAtomically(b, bytes));
    const Result r = RunJob({"diff", a.string(), b.string()});
    EXPECT_EQ(r.code, 1);
    std::istringstream lines(r.out);
    std::vector<std::string> ids;
    for (std::string line; std::getline(lines, line);) {
        ids.push_back(line.substr(0, line.find(':')));
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"header.description", "header.radio_mode",
                                             "header.accessory"}));
    EXPECT_NE(r.out.find("header.accessory: None -> ACC1  (ACC2, ACC3)"), std::string::npos);
    EXPECT_EQ(RunJob({"diff", a.string(), a.string()}).code, 0);
}

TEST(JobCommandTest, WrongFilesAndArgumentsGiveOneLineAndExitTwo) {
    QTemporaryDir dir;
    const std::filesystem::path shortJob = dir.filePath("short.pmr").toStdString();
    std::ofstream(shortJob, std::ios::binary) << "xyz";
    const std::string trunk = (kData / "default.tct").string();
    const std::vector<std::vector<std::string>> cases = {
        {"dump", shortJob.string()},
        {"dump", (kData / "Contact.txt").string()},
        {"dump"},
        {"dump", trunk, "--bogus"},
        {"diff", trunk},
        {"diff", trunk, (kData / "default.cct").string()},
    };
    for (const auto& args : cases) {
        const Result r = RunJob(args);
        EXPECT_EQ(r.code, 2) << args.back();
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
    const Result help = RunJob({"diff", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out, kDiffUsageText);
}

TEST(JobCommandTest, VerifyFindsNothingInTheTemplatesAndNamesABrokenField) {
    for (const char* file : {"default.tct", "default.cct", "Networks/Demo.nwk"}) {
        const Result r = RunJob({"verify", (kData / file).string()});
        EXPECT_EQ(r.code, 0) << file << "\n" << r.out;
        EXPECT_TRUE(r.out.empty());
    }
    QTemporaryDir dir;
    auto bytes = *ReadFileBytes(kData / "default.cct", 1 << 20);
    bytes[118] = 9;  // accessory: no list entry has 9
    const std::filesystem::path job = dir.filePath("broken.pmr").toStdString();
    ASSERT_TRUE(WriteFileAtomically(job, bytes));
    const Result r = RunJob({"verify", job.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out,
              "warning: Radio Type > Accessory (header.accessory): Value is not one of the "
              "list's entries\n");
}

TEST(JobCommandTest, AFileThatIsNoJobOfThisProgramIsSaidToBeOne) {
    QTemporaryDir dir;
    // A trunk job whose radio mode and format mark are none the program writes, and a network
    // file without its marker.
    auto trunk = *ReadFileBytes(kData / "default.tct", 1 << 20);
    trunk[107] = 200;
    trunk[112] = 0xC8;
    trunk[113] = 0xB2;
    auto network = *ReadFileBytes(kData / "Networks/Demo.nwk", 1 << 20);
    network[0] = 'x';
    const std::filesystem::path tnk = dir.filePath("noise.tnk").toStdString();
    const std::filesystem::path nwk = dir.filePath("noise.nwk").toStdString();
    ASSERT_TRUE(WriteFileAtomically(tnk, trunk));
    ASSERT_TRUE(WriteFileAtomically(nwk, network));
    const struct {
        std::filesystem::path file;
        std::string line;
    } cases[] = {
        {tnk,
         "warning: noise.tnk does not look like a trunk job made by this program: radio mode 200 "
         "(this program writes 0, 1 or 2); format mark 45768 (this program writes 100)"},
        {nwk,
         "warning: noise.nwk does not look like a network file made by this program: network "
         "marker \"x-NETWORK FILE--\" (this program writes \"--NETWORK FILE--\")"},
    };
    for (const auto& c : cases) {
        const Result verify = RunJob({"verify", c.file.string()});
        EXPECT_EQ(verify.code, 1);
        EXPECT_EQ(verify.out.substr(0, verify.out.find('\n')), c.line);
        const Result dump = RunJob({"dump", c.file.string()});
        EXPECT_EQ(dump.code, 0);
        EXPECT_EQ(dump.err, "km700rcp-cli: " + c.line + "\n");
        EXPECT_FALSE(dump.out.empty());
    }
}

}  // namespace
}  // namespace km::cli
