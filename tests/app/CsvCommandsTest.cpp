// The File menu's channel and zone CSV items against the Channel Options form, a scripted person
// and scripted file dialogs.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <memory>

#include "CsvCommands.h"
#include "ShellFixtures.h"
#include "core/Files.h"
#include "forms/pmr/ChnForm.h"
#include "forms/pmr/ZoneEditor.h"
#include "tables/Tables.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;

class NullShell : public Shell {
  public:
    void ShowFormButtons() override {}
    void ShowNetworkLabel() override {}
    bool StoreNetworkForms() override { return true; }
    void SelectNetwork(int) override {}
    void ShowForm(FormId) override {}
    void ReloadForm(FormId) override {}
};

constexpr std::string_view kSaveChannelsFirst =
    "RCP Job configuration file must be saved,                  \n"
    "before saving Channel Table to a CSV file.";

class CsvCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        tables::FillTemplateDefaults(fields::ImageId::Pmr, workspace->pmr.Bytes());
        workspace->pmr.SetU16(14, 5860);
        pmr::ChannelTable table;
        for (int n = 0; n < 1000; ++n) {
            pmr::ChannelEntry entry = pmr::DefaultEntry(450000000 + 6250LL * n);
            entry.SetNumber(n);
            entry.SetName("Ch" + std::to_string(n));
            table.Add(entry);
        }
        testing::ScriptedPerson quiet;
        pmr::StoreChannelTable(table, {.radioTypeMask = 16}, workspace->pmr, quiet);
        pmr::ZoneGrids grids;
        grids.names[0] = "North";
        grids.names[2] = "West";
        grids.channels[3] = "17";
        pmr::StoreZones(grids, {}, workspace->pmr);
        form = std::make_unique<TCHN_Form_Channels>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->LoadPass();
    }
    QString File(const char* name) const { return work.File(name); }

    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    NullShell shell;
    testing::WorkDir work;
    std::unique_ptr<TCHN_Form_Channels> form;
    CsvCommands csv{
        *workspace,  state,
        person,      dialogs,
        work.Path(), [this](FormId id) { return id == FormId::Channels ? form.get() : nullptr; }};
};

TEST_F(CsvCommandsTest, AThousandChannelsGoOutAndComeBackThroughTheDesktop) {
    std::vector<std::string> lines;
    for (const pmr::ChannelEntry& entry : form->Table().Entries()) {
        lines.push_back(pmr::ListLine(entry));
    }
    dialogs.saveAnswers.push_back(File("Jobs/channels.csv"));
    csv.CSVExportPMRChannelsClick();
    ASSERT_EQ(person.shown.size(), 1u);
    EXPECT_EQ(person.shown[0].text, kSaveChannelsFirst);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Save As - CSV File");
    EXPECT_EQ(dialogs.requests[0].filterIndex, 4);

    form->ReplaceTable({});
    dialogs.openAnswers.push_back(File("Jobs/channels.csv"));
    csv.CSVImportPMRChannelsClick();
    EXPECT_EQ(dialogs.requests[1].title, "Open - PMR Channel or Phonebook CSV File");
    EXPECT_EQ(dialogs.requests[1].filterIndex, 5);
    ASSERT_EQ(form->Table().Size(), 1000u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(pmr::ListLine(form->Table().At(i)), lines[i]) << i;
    }
    EXPECT_EQ(form->Selected(), 0u);
    EXPECT_EQ(person.shown.size(), 1u) << "no further message";
    EXPECT_EQ(state.CsvFolder, QFileInfo(File("Jobs/channels.csv")).absolutePath().toStdString());
}

TEST_F(CsvCommandsTest, AWrongFileChangesNothing) {
    const std::string phonebook = "TRUNK,Phonebook\r\nIndex, Number, Name,\r\n0,,\r\n";
    WriteFileAtomically(
        File("Jobs/phonebook.csv").toStdString(),
        {reinterpret_cast<const std::uint8_t*>(phonebook.data()), phonebook.size()});
    dialogs.openAnswers.push_back(File("Jobs/phonebook.csv"));
    csv.CSVImportPMRChannelsClick();
    EXPECT_TRUE(person.Showed("File does not contain a valid Channel Table."));
    EXPECT_EQ(form->Table().Size(), 1000u);
    dialogs.openAnswers.push_back(File("Jobs/phonebook.csv"));
    csv.CsvImportZoneTableClick();
    EXPECT_TRUE(person.Showed("File does not contain a valid Zone Table."));
    EXPECT_EQ(form->Tab_CHN_Zones->ZONE_StrGrid_Zones.item(0, 1)->text(), "North");
}

TEST_F(CsvCommandsTest, ZonesGoOutAndComeBackIntoTheZonesPage) {
    dialogs.saveAnswers.push_back(File("Jobs/zones.csv"));
    csv.CsvExportZoneTableClick();
    EXPECT_TRUE(
        person.Showed("RCP Job configuration file must be saved,                  \n"
                      "before saving Zone Table to a CSV file."));
    TZEDT_Form& zones = *form->Tab_CHN_Zones;
    zones.ZONE_StrGrid_Zones.item(0, 1)->setText("");
    zones.ZONE_StrGrid_Channels.item(3, 1)->setText("");
    dialogs.openAnswers.push_back(File("Jobs/zones.csv"));
    csv.CsvImportZoneTableClick();
    EXPECT_EQ(dialogs.requests.back().title, "Open Zone Table CSV File");
    EXPECT_EQ(zones.ZONE_StrGrid_Zones.item(0, 1)->text(), "North");
    EXPECT_EQ(zones.ZONE_StrGrid_Zones.item(2, 1)->text(), "West");
    EXPECT_EQ(zones.ZONE_StrGrid_Channels.item(3, 1)->text(), "17");
    EXPECT_EQ(zones.ZONE_StrGrid_Channels.item(3, 2)->text(), "Ch17");
    form->StorePass();
    EXPECT_EQ(workspace->pmr.U16(0x007A), 3);
}

TEST_F(CsvCommandsTest, TheItemsRefuseTrunkJobsAndViewsWithoutAPmrJob) {
    state.ImageKind = kImageTrunk;
    csv.CSVExportPMRChannelsClick();
    csv.CsvImportZoneTableClick();
    state.ImageKind = kImagePmr;
    state.PmrJobLoaded = false;
    csv.CsvExportZoneTableClick();
    EXPECT_EQ(person.Texts(),
              (std::vector<std::string>{"This option does not apply to trunk configurations.",
                                        "This option does not apply to trunk configurations.",
                                        "Please load a valid job configuration first."}));
    state.PmrJobLoaded = true;
    state.CommsBusy = true;
    csv.CSVImportPMRChannelsClick();
    EXPECT_EQ(person.shown.size(), 3u);
    EXPECT_TRUE(dialogs.requests.empty());
}

}  // namespace
}  // namespace km
