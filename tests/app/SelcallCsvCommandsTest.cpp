// The File menu's phone book and status list CSV items in the PMR view: they read and fill the
// Selcall form's grids, against a scripted person and scripted file dialogs.

#include <gtest/gtest.h>

#include <memory>

#include "CsvCommands.h"
#include "ShellFixtures.h"
#include "core/Files.h"
#include "forms/pmr/SclForm.h"
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

std::string Text(const QString& path) {
    const auto bytes = ReadFileBytes(path.toStdString(), 1 << 20);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

void Write(const QString& path, std::string_view text) {
    ASSERT_TRUE(WriteFileAtomically(
        path.toStdString(),
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
}

class SelcallCsvCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        state.CurrentJobFileName = "Fleet.pmr";
        tables::FillTemplateDefaults(fields::ImageId::Pmr, workspace->pmr.Bytes());
        form = MakeForm();
    }
    std::unique_ptr<TSCL_Form_Selcall> MakeForm() {
        auto made = std::make_unique<TSCL_Form_Selcall>(
            FormContext{*workspace, state, person, dialogs, shell});
        made->LoadPass();
        return made;
    }
    QString File(const char* name) const { return work.File(name); }
    QTableWidget& Book() { return form->SCL_SGrid_PhoneBook; }
    QTableWidget& Status() { return form->STA_StrGrid_Status; }

    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    NullShell shell;
    testing::WorkDir work;
    std::unique_ptr<TSCL_Form_Selcall> form;
    CsvCommands csv{
        *workspace,  state,
        person,      dialogs,
        work.Path(), [this](FormId id) {
                        return id == FormId::Selcall ? form.get() : nullptr; }};
};

TEST_F(SelcallCsvCommandsTest, ThePhoneBookGridGoesOutAsShownAndComesBackIntoAnotherJob) {
    // Typed into the grid, not yet stored.
    Book().item(0, 1)->setText("Base, north");
    Book().item(0, 2)->setText("12345678901234567890");
    Book().item(249, 1)->setText("Last");
    Book().item(249, 2)->setText("F");
    dialogs.saveAnswers.push_back(File("book.csv"));
    csv.CSVExportPhonebookClick();
    EXPECT_EQ(person.Texts(), std::vector<std::string>{"RCP Job configuration file must be saved,"
                                                       "                  \n"
                                                       "before saving phonebook to a CSV file."});
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Save As - CSV File");
    const std::string text = Text(File("book.csv"));
    EXPECT_TRUE(
        text.starts_with("PMR,Phonebook\r\nIndex, Name, Number,\r\n"
                         "0,Base  north,12345678901234567890\r\n1,,\r\n"))
        << text.substr(0, 80);
    EXPECT_TRUE(text.ends_with("249,Last,F\r\n"));

    // Another job: the import fills the grid, and the store writes it.
    workspace = std::make_unique<Workspace>();
    tables::FillTemplateDefaults(fields::ImageId::Pmr, workspace->pmr.Bytes());
    form = MakeForm();
    dialogs.openAnswers.push_back(File("book.csv"));
    csv.CSVImportPhonebookClick();
    EXPECT_EQ(dialogs.requests.back().title, "Open - Phonebook CSV File");
    EXPECT_EQ(Book().item(0, 1)->text(), "Base  north");
    EXPECT_EQ(Book().item(249, 2)->text(), "F");
    EXPECT_TRUE(state.CurrentJobFileName.empty());
    form->StorePass();
    EXPECT_EQ(pmr::LoadSelcallPhonebook(workspace->pmr.Bytes())[0],
              (pmr::SelcallPhonebookEntry{"Base  north", "12345678901234567890"}));
}

TEST_F(SelcallCsvCommandsTest, AWrongFileLeavesTheGridAndRowsBeyondTheListAreCounted) {
    Status().item(0, 1)->setText("Kept");
    Write(File("trunk.csv"), "TRUNK,Phonebook\r\nIndex, Number, Name,\r\n0,123,Base\r\n");
    dialogs.openAnswers.push_back(File("trunk.csv"));
    csv.CSVImportStatusClick();
    EXPECT_TRUE(person.Showed("File does not contain a valid Status Message List."));
    EXPECT_EQ(Status().item(0, 1)->text(), "Kept");
    dialogs.openAnswers.push_back(File("trunk.csv"));
    csv.CSVImportPhonebookClick();
    EXPECT_TRUE(person.Showed("File does not contain a valid Phonebook."));
    EXPECT_EQ(state.CurrentJobFileName, "Fleet.pmr");

    std::string file = "PMR,StatusList\r\nIndex, Message, Status Number,\r\n";
    for (int i = 1; i <= 103; ++i) {
        file += std::to_string(i) + ",Row " + std::to_string(i) + "," + std::to_string(i) + "\n";
    }
    Write(File("status.csv"), file);
    dialogs.openAnswers.push_back(File("status.csv"));
    csv.CSVImportStatusClick();
    EXPECT_EQ(dialogs.requests.back().title, "Open - Status List CSV File");
    EXPECT_EQ(Status().item(0, 1)->text(), "Row 1");
    EXPECT_EQ(Status().item(99, 2)->text(), "100");
    EXPECT_TRUE(
        person.Showed("3 rows of the file were not imported:\nthe list holds 100 entries."));
    EXPECT_EQ(state.CurrentJobFileName, "Fleet.pmr");  // only a phone book import forgets it
}

TEST_F(SelcallCsvCommandsTest, TheStatusListCommandsAreRefusedOutsideAPmrJob) {
    state.ImageKind = kImageTrunk;
    state.TrunkJobLoaded = true;
    csv.CSVImportStatusClick();
    csv.CsvExportStatusClick();
    state.ImageKind = kImageNone;
    csv.CsvExportStatusClick();
    csv.CSVExportPhonebookClick();
    EXPECT_EQ(person.Texts(),
              (std::vector<std::string>{"This option does not apply to the trunk status table.",
                                        "This option does not apply to trunk configurations.",
                                        "Please load a valid job configuration first.",
                                        "Please load a valid job configuration first."}));
    EXPECT_TRUE(dialogs.requests.empty());
    state.ImageKind = kImagePmr;
    dialogs.saveAnswers.push_back(File("status.csv"));
    csv.CsvExportStatusClick();
    EXPECT_EQ(person.Texts().back(),
              "RCP Job configuration file must be saved,                  \n"
              "before saving Status Message List to a CSV file.");
    EXPECT_TRUE(Text(File("status.csv"))
                    .starts_with("PMR,StatusList\r\nIndex, Message, Status Number,\r\n1,,\r\n"));
}

}  // namespace
}  // namespace km
