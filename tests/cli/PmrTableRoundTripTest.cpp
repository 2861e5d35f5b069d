// A PMR job's channel table, groups and zones, made with the channel table's own store, programmed
// into km700sim with km700rcp-cli program and read back with km700rcp-cli read: the table, the
// member lists of both group areas and the zones come back as they were; so do the selcall
// settings, phone book, status list, encodes and decodes, and the radio-wide channel options.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "ProgramFixtures.h"
#include "ScriptedPerson.h"
#include "SimProcess.h"
#include "core/Files.h"
#include "pmr/ChannelOptions.h"
#include "pmr/ChannelTable.h"
#include "pmr/Scl2Map.h"
#include "pmr/SclMap.h"
#include "pmr/Zones.h"
#include "tables/JobDump.h"

namespace km {
namespace {

namespace fs = std::filesystem;
namespace cr = pmr::channel_rows;

class PmrTableRoundTripTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(workdir_);
        fs::create_directories(workdir_);
        ASSERT_TRUE(WriteFileAtomically(workdir_ / "aligncfg.bin", sim::AlignConfigContents()));
    }
    void TearDown() override { fs::remove_all(workdir_); }

    // The radio commands work in the test's folder; the file commands take no folder.
    enum class Folder { Work, None };
    int Cli(QStringList args, Folder folder = Folder::Work) {
        if (folder == Folder::Work) {
            args << "--workdir" << QString::fromStdString(workdir_.string());
        }
        QProcess process;
        process.start(QString::fromUtf8(KM_CLI_PROGRAM), args);
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        err_ = process.readAllStandardError().toStdString();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    }
    QString File(const char* name) const {
        return QString::fromStdString((workdir_ / name).string());
    }

    fs::path workdir_ = testing::TestFolder("km_pmr_round_trip_");
    testing::SimProcess sim_{workdir_};
    std::string err_;
};

// 700 channels and 136 groups (4 user scan groups, 132 others: the last eight lists land in the
// second group area), and three zones.
std::unique_ptr<PmrJobImage> Job() {
    auto job = std::make_unique<PmrJobImage>(
        testing::PatternPmrJob(testing::kHeadHmF, testing::kModeMultiJob, 0, 0, true));
    const auto templ = ReadFileBytes(fs::path(KM_SOURCE_DIR) / "data" / "default.cct", 1 << 20);
    job->Write(15660, std::span(*templ).subspan(15660));
    pmr::ChannelTable table;
    for (int n = 0; n < 700; ++n) {
        pmr::ChannelEntry entry = pmr::DefaultEntry(440000000 + 12500LL * n);
        entry.txHz = n % 10 == 0 ? 0 : entry.rxHz + 5000000;
        entry.SetNumber(n);
        entry.SetName("Ch " + std::to_string(n));
        entry.Set(cr::kRxCode, static_cast<std::uint8_t>(n % 52));
        entry.SetFlag(cr::kHidden, n % 7 == 0);
        pmr::SetPower(entry, static_cast<pmr::Power>(n % 3));
        EXPECT_TRUE(table.Add(entry));
    }
    for (int g = 0; g < 136; ++g) {
        pmr::ChannelEntry group;
        group.SetFlag(cr::kIsGroup, true);
        const auto type = g < 4 ? pmr::GroupType::UserScan : static_cast<pmr::GroupType>(1 + g % 3);
        pmr::SetGroupType(group, type);
        group.SetFlag(cr::kShowAsChannel, pmr::MemberCapacity(type) == 16);
        group.SetNumber(700 + g);
        group.members[0] = static_cast<std::uint16_t>(g);
        group.members[1] = static_cast<std::uint16_t>(g + 300);
        group.scanPriority = pmr::MemberCapacity(type) == 15 ? 699 : pmr::kNoMember;
        EXPECT_TRUE(table.Add(group));
    }
    testing::ScriptedPerson person;
    pmr::StoreChannelTable(table, {.radioTypeMask = 16}, *job, person);
    EXPECT_TRUE(person.shown.empty());
    pmr::ZoneGrids grids;
    grids.names = {"North", "South", "East"};
    grids.channels[0] = "1";
    grids.channels[200] = "835";
    grids.zoneMode = true;
    pmr::StoreZones(grids, {}, *job);
    return job;
}

TEST_F(PmrTableRoundTripTest, TheTableGroupsAndZonesComeBack) {
    ASSERT_TRUE(sim_.Start("type = 8\npmr_code.software_code = 14510\ntrunk_job = yes\n"));
    const auto job = Job();
    ASSERT_TRUE(WriteFileAtomically(workdir_ / "job.pmr", job->Bytes()));
    ASSERT_EQ(Cli({"program", "--port", "COM1", File("job.pmr")}), 0) << err_;
    ASSERT_EQ(Cli({"read", "--port", "COM1", "--pmr", "-o", File("back.pmr")}), 0) << err_;
    const auto back = ReadFileBytes(workdir_ / "back.pmr", 1 << 20);
    ASSERT_TRUE(back && back->size() == PmrJobImage::kSize);
    auto read = std::make_unique<PmrJobImage>();
    read->Write(0, *back);

    pmr::ChannelTable sent;
    pmr::ChannelTable received;
    pmr::LoadChannelTable(*job, sent);
    pmr::LoadChannelTable(*read, received);
    ASSERT_EQ(received.Size(), 836u);
    for (std::size_t i = 0; i < sent.Size(); ++i) {
        ASSERT_EQ(pmr::ListLine(received.At(i)), pmr::ListLine(sent.At(i))) << i;
        ASSERT_EQ(received.At(i).members, sent.At(i).members) << i;
        ASSERT_EQ(received.At(i).scanPriority, sent.At(i).scanPriority) << i;
    }
    pmr::ZoneGrids before;
    pmr::ZoneGrids after;
    pmr::LoadZones(*job, before);
    pmr::LoadZones(*read, after);
    EXPECT_EQ(after.names, before.names);
    EXPECT_EQ(after.channels, before.channels);
    EXPECT_TRUE(after.zoneMode);
}

// A job whose selcall settings, phone book, status list, encodes and decodes are all in use.
std::unique_ptr<PmrJobImage> SelcallJob() {
    auto job = std::make_unique<PmrJobImage>(
        testing::PatternPmrJob(testing::kHeadHmF, testing::kModeMultiJob, 0, 0, false));
    const auto templ = ReadFileBytes(fs::path(KM_SOURCE_DIR) / "data" / "default.cct", 1 << 20);
    job->Write(0x0578, std::span(*templ).subspan(0x0578, 0x29E4 + 256 - 0x0578));
    job->Write(15660, std::span(*templ).subspan(15660));
    pmr::ChannelTable table;  // a radio is programmed with channels only
    for (int n = 0; n < 3; ++n) {
        pmr::ChannelEntry entry = pmr::DefaultEntry(440000000 + 12500LL * n);
        entry.SetNumber(n);
        entry.Set(cr::kEncode, 7);
        EXPECT_TRUE(table.Add(entry));
    }
    testing::ScriptedPerson person;
    pmr::StoreChannelTable(table, {.radioTypeMask = 16}, *job, person);
    std::vector<pmr::SelcallPhonebookEntry> book(250);
    std::vector<pmr::StatusEntry> list(100);
    for (std::size_t e = 0; e < book.size(); e += 7) {
        book[e] = {"Name " + std::to_string(e), std::to_string(1000 + e) + "F"};
    }
    for (std::size_t e = 0; e < list.size(); e += 3) {
        list[e] = {"Message " + std::to_string(e), std::to_string(e)};
    }
    pmr::StoreSelcallPhonebook(job->Bytes(), book);
    pmr::StoreStatusList(job->Bytes(), list);
    job->SetU16(0x1E86, pmr::kUserDefinedToneset);
    pmr::UserTones tones;
    tones.fill("1500");
    pmr::StoreToneTables(*job, tones);
    std::vector<pmr::EncodeEntry> encodes;
    for (int number : {1, 7, 250}) {
        pmr::EncodeEntry entry{number, {}};
        pmr::SetTones(entry.record, {"12#-I*K", "0123012", "1212121"}, pmr::SequenceKind::Encode);
        pmr::SetColumn(entry.record, pmr::sequence_rows::kLinkEstablishTime, 120);
        encodes.push_back(entry);
    }
    pmr::StoreEncodes(encodes, *job);
    std::vector<pmr::DecodeEntry> decodes = pmr::LoadDecodes(*job);
    decodes[4].name = "Depot";
    pmr::SetTones(decodes[4].record, {"9876I-#", "3210321", ""}, pmr::SequenceKind::Decode);
    pmr::SetColumn(decodes[4].record, pmr::sequence_rows::kDecodeThirdToneReset, 1);
    pmr::StoreDecodes(decodes, *job);
    return job;
}

std::vector<std::string> LinesOf(std::span<const std::uint8_t> job, std::string_view table) {
    std::vector<std::string> lines;
    for (const tables::DumpLine& line : tables::DumpImage(fields::ImageId::Pmr, job)) {
        if (line.id.starts_with(table)) {
            lines.push_back(line.id + " = " + line.value);
        }
    }
    return lines;
}

TEST_F(PmrTableRoundTripTest, TheSelcallSettingsListsAndSequencesComeBack) {
    ASSERT_TRUE(sim_.Start("type = 8\npmr_code.software_code = 14510\ntrunk_job = yes\n"));
    const auto job = SelcallJob();
    ASSERT_TRUE(WriteFileAtomically(workdir_ / "job.pmr", job->Bytes()));
    // The virtual radio has no code file for this job's software: it keeps its own (--yes).
    ASSERT_EQ(Cli({"program", "--port", "COM1", File("job.pmr"), "--yes"}), 0) << err_;
    ASSERT_EQ(Cli({"read", "--port", "COM1", "--pmr", "-o", File("back.pmr")}), 0) << err_;
    const auto back = ReadFileBytes(workdir_ / "back.pmr", 1 << 20);
    ASSERT_TRUE(back && back->size() == PmrJobImage::kSize);
    const std::vector<std::string> sent = LinesOf(job->Bytes(), "selcall");
    const std::vector<std::string> received = LinesOf(*back, "selcall");
    ASSERT_EQ(received.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(received[i], sent[i]);
    }
    auto read = std::make_unique<PmrJobImage>();
    read->Write(0, *back);
    ASSERT_EQ(pmr::LoadEncodes(*read).size(), 3u);
    EXPECT_EQ(pmr::EncodeLine(pmr::LoadEncodes(*read)[2]),
              pmr::EncodeLine(pmr::LoadEncodes(*job)[2]));
    EXPECT_EQ(pmr::LoadDecodes(*read)[4].name, "Depot");
}

// A job whose every channel option holds a value other than its default: boxes turned over, the
// last entry of every list, the top of every range, channel 2 wherever a channel is named.
std::unique_ptr<PmrJobImage> OptionsJob() {
    auto job = std::make_unique<PmrJobImage>(
        testing::PatternPmrJob(testing::kHeadHmF, testing::kModeMultiJob, 0, 0, false));
    const auto templ = ReadFileBytes(fs::path(KM_SOURCE_DIR) / "data" / "default.cct", 1 << 20);
    job->Write(0x0578, std::span(*templ).subspan(0x0578, 0x29E4 + 256 - 0x0578));
    job->Write(15660, std::span(*templ).subspan(15660));
    pmr::ChannelTable table;
    for (int n = 0; n < 3; ++n) {
        pmr::ChannelEntry entry = pmr::DefaultEntry(440000000 + 12500LL * n);
        entry.SetNumber(n);
        EXPECT_TRUE(table.Add(entry));
    }
    testing::ScriptedPerson person;
    pmr::StoreChannelTable(table, {.radioTypeMask = 16}, *job, person);
    for (const fields::FieldRow& row : pmr::options_rows::kRows) {
        if (row.derived) {
            continue;
        }
        fields::FieldValue value = std::int64_t{row.max};
        if (!row.choices.empty()) {
            value = row.choices.back().code;
        } else if (row.max == pmr::options_rows::kHighestChannel) {
            value = std::int64_t{2};
        } else if (row.min == 0 && row.max == 0) {
            value = 1 - row.defaultValue;  // a box
        }
        fields::WriteField(row, job->Bytes(), static_cast<std::size_t>(row.at.pmr), value);
    }
    pmr::StoreDtmfSequence(job->Bytes(), pmr::options_rows::kDtmf1, "12*#");
    pmr::StoreDtmfSequence(job->Bytes(), pmr::options_rows::kDtmf2, "0987654321-*#000");
    return job;
}

TEST_F(PmrTableRoundTripTest, TheChannelOptionsComeBack) {
    ASSERT_TRUE(sim_.Start("type = 8\npmr_code.software_code = 14510\ntrunk_job = yes\n"));
    const auto job = OptionsJob();
    ASSERT_TRUE(WriteFileAtomically(workdir_ / "job.pmr", job->Bytes()));
    ASSERT_EQ(Cli({"program", "--port", "COM1", File("job.pmr"), "--yes"}), 0) << err_;
    ASSERT_EQ(Cli({"read", "--port", "COM1", "--pmr", "-o", File("back.pmr")}), 0) << err_;
    const auto back = ReadFileBytes(workdir_ / "back.pmr", 1 << 20);
    ASSERT_TRUE(back && back->size() == PmrJobImage::kSize);
    const std::vector<std::string> sent = LinesOf(job->Bytes(), "options");
    const std::vector<std::string> received = LinesOf(*back, "options");
    ASSERT_FALSE(sent.empty());
    ASSERT_EQ(received.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(received[i], sent[i]);
    }
    EXPECT_EQ(pmr::DtmfSequenceOf(*back, pmr::options_rows::kDtmf2), "0987654321-*#000");
}

// The demo radio holds a PMR job file: a read gives that job back, field for field, and the
// whole-job check finds nothing in it, so Program Radio takes a job read from the demo radio as
// it is.
TEST_F(PmrTableRoundTripTest, TheDemoRadiosJobReadsBackAsItsFileAndPassesTheCheck) {
    const fs::path demo = fs::path(KM_SOURCE_DIR) / "sim" / "data" / "demo.pmr";
    ASSERT_TRUE(sim_.Start("type = 4\nband = TK\npmr_job_file = " + demo.string() + "\n"));
    ASSERT_EQ(Cli({"read", "--port", "COM1", "--pmr", "-o", File("back.pmr")}), 0) << err_;
    EXPECT_EQ(Cli({"diff", QString::fromStdString(demo.string()), File("back.pmr")}, Folder::None),
              0)
        << err_;
    EXPECT_EQ(Cli({"verify", File("back.pmr")}, Folder::None), 0) << err_;

    const auto back = ReadFileBytes(workdir_ / "back.pmr", 1 << 20);
    ASSERT_TRUE(back);
    auto read = std::make_unique<PmrJobImage>();
    read->Write(0, *back);
    pmr::ChannelTable table;
    pmr::LoadChannelTable(*read, table);
    ASSERT_EQ(table.Size(), 24u);
    EXPECT_EQ(table.At(0).Name(), "DEMO CH 1");
    EXPECT_EQ(table.At(23).rxHz, 440575000);
}

}  // namespace
}  // namespace km
