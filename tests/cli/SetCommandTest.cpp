// km700rcp-cli set and apply: the job file after each, and what is printed and returned when a
// value is refused, an argument is wrong or the job cannot be written.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "JobCommand.h"
#include "SetCommand.h"
#include "core/Files.h"

namespace km::cli {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(KM_SOURCE_DIR) / "data";

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = args[0] == "dump" ? JobMain(args, out, err) : SetMain(args, out, err);
    return {code, out.str(), err.str()};
}

class SetCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("km_set_" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                   "_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Copy(const char* file, const char* as) {
        fs::copy_file(kData / file, folder_ / as);
        return (folder_ / as).string();
    }
    std::string Write(const char* name, const std::string& text) {
        WriteFileAtomically(
            folder_ / name,
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        return (folder_ / name).string();
    }
    static std::vector<std::uint8_t> Bytes(const std::string& file) {
        return ReadFileBytes(file, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }

    fs::path folder_;
};

TEST_F(SetCommandTest, SetWritesTheValuesOfTrunkPmrAndNetworkFiles) {
    const std::string trunk = Copy("default.tct", "fleet.tnk");
    const std::string pmr = Copy("default.cct", "fleet.pmr");
    const std::string network = Copy("Networks/Demo.nwk", "fleet.nwk");
    EXPECT_EQ(RunCli({"set", trunk, "header.description=Van 7", "n1.identities.own.ident=42",
                      "header.accessory=OEM Mic"})
                  .code,
              0);
    EXPECT_EQ(RunCli({"set", pmr, "header.description=Portable 3"}).code, 0);
    EXPECT_EQ(RunCli({"set", network, "network.system.description=North depot"}).code, 0);

    const std::string dump = RunCli({"dump", trunk}).out;
    EXPECT_NE(dump.find("Van 7"), std::string::npos);
    EXPECT_NE(dump.find("OEM Mic"), std::string::npos);
    EXPECT_NE(RunCli({"dump", pmr}).out.find("Portable 3"), std::string::npos);
    EXPECT_NE(RunCli({"dump", network}).out.find("North depot"), std::string::npos);
}

TEST_F(SetCommandTest, ARefusedValueOrUnknownIdChangesNothingAndExits2WithTheRowsMessage) {
    const std::string trunk = Copy("default.tct", "fleet.tnk");
    const auto before = Bytes(trunk);
    struct Case {
        std::string change;
        std::string message;
    };
    const Case cases[] = {
        {"n1.identities.own.prefix=128",
         "n1.identities.own.prefix: Value out of range.  Must be between 0 and 127"},
        {"header.radio_mode=Ham Radio",
         "header.radio_mode: Value is not one of the list's entries"},
        {"header.no_such=1", "header.no_such: No field has this id"},
        {"header.description=" + std::string(61, 'x'),
         "header.description: Text too long.  At most 60 characters"},
    };
    for (const Case& c : cases) {
        const Result r = RunCli({"set", trunk, "header.description=Taken first", c.change});
        EXPECT_EQ(r.code, 2) << c.change;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(Bytes(trunk), before);
    }
    EXPECT_EQ(RunCli({"set", trunk, "novalue"}).code, 2);
    EXPECT_EQ(RunCli({"set", trunk}).code, 2);
    EXPECT_EQ(RunCli({"set", (folder_ / "missing.tnk").string(), "header.description=x"}).code, 2);
    EXPECT_EQ(Bytes(trunk), before);
}

TEST_F(SetCommandTest, AnEditedDumpAppliesBack) {
    const std::string trunk = Copy("default.tct", "fleet.tnk");
    std::string json = RunCli({"dump", trunk, "--json"}).out;
    const std::string wanted =
        R"("id": "header.description", "caption": "Description", "value": "")";
    const auto at = json.find(wanted);
    ASSERT_NE(at, std::string::npos);
    json.replace(at, wanted.size(),
                 R"("id": "header.description", "caption": "Description", "value": "Car 9")");
    const std::string changes = Write("changes.json", json);
    EXPECT_EQ(RunCli({"apply", trunk, changes}).code, 0);
    EXPECT_NE(RunCli({"dump", trunk}).out.find("Car 9"), std::string::npos);

    const auto before = Bytes(trunk);
    const Result refused = RunCli(
        {"apply", trunk, Write("bad.json", R"([{"id": "header.accessory", "value": "Hat"}])")});
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err.find("header.accessory: Value is not one of the list's entries"),
              std::string::npos);
    const Result broken = RunCli({"apply", trunk, Write("broken.json", R"([{"id": )")});
    EXPECT_EQ(broken.code, 2);
    EXPECT_NE(broken.err.find("JSON at character"), std::string::npos) << broken.err;
    EXPECT_EQ(Bytes(trunk), before);
}

TEST_F(SetCommandTest, AJobThatCannotBeWrittenExits3) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "a folder without write permission does not stop root";
    }
    const std::string trunk = Copy("default.tct", "fleet.tnk");
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    const Result r = RunCli({"set", trunk, "header.description=x"});
    fs::permissions(folder_, fs::perms::owner_all);
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace km::cli
