// The pages of the Channel Options form that hold the radio-wide settings: every page edited,
// stored, saved and reopened; the power lists of the radio type; the power-on group and the
// channel checks; the visibility by radio type; the data page of an old job.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "ShellFixtures.h"
#include "config/RadioTypeChange.h"
#include "core/Files.h"
#include "forms/pmr/ChnForm.h"
#include "forms/pmr/OptionPages.h"
#include "forms/pmr/ZoneEditor.h"
#include "pmr/ChannelOptions.h"
#include "tables/Tables.h"

namespace km {
namespace {

namespace orows = pmr::options_rows;
using fields::FieldRow;
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

void Screenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOTS");
    if (!folder.isEmpty()) {
        widget.grab().save(QDir(folder).filePath(name + ".png"));
    }
}

struct Desk {
    explicit Desk(int radioTypeMask = 16) {
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = radioTypeMask;
        state.UserLevelMask = 8;
        tables::FillTemplateDefaults(fields::ImageId::Pmr, workspace->pmr.Bytes());
        workspace->pmr.SetU16(14, 5860);
        pmr::ChannelTable table;
        for (int n = 0; n < 3; ++n) {
            pmr::ChannelEntry entry = pmr::DefaultEntry(450000000 + 12500LL * n);
            entry.SetNumber(n);
            table.Add(entry);
        }
        testing::ScriptedPerson quiet;
        pmr::StoreChannelTable(table, {.radioTypeMask = 16}, workspace->pmr, quiet);
    }
    std::unique_ptr<TCHN_Form_Channels> MakeForm() {
        auto form = std::make_unique<TCHN_Form_Channels>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->resize(900, 600);
        return form;
    }
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    NullShell shell;
};

template <typename T>
T& ControlOf(TCHN_Form_Channels& form, std::string_view name) {
    auto* control = qobject_cast<T*>(form.Options->Control(name));
    EXPECT_NE(control, nullptr) << name;
    return *control;
}

// What a control shows, as text.
QString Shown(QWidget* control) {
    if (auto* check = qobject_cast<QCheckBox*>(control)) {
        return check->isChecked() ? "ticked" : "clear";
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        return combo->currentText();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        return edit->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        for (auto* button : group->findChildren<QRadioButton*>()) {
            if (button->isChecked()) {
                return button->text();
            }
        }
    }
    return {};
}

// A value of every field other than its default: boxes turned over, the last entry of every
// list, the top of every range, channel 2.
void EditEveryField(TCHN_Form_Channels& form) {
    for (const FieldRow& row : orows::kRows) {
        QWidget* control = row.control.empty() ? nullptr : form.Options->Control(row.control);
        if (control == nullptr || &row == &orows::kPowerOnMode || &row == &orows::kPowerOnZone) {
            continue;
        }
        if (auto* check = qobject_cast<QCheckBox*>(control)) {
            check->setChecked(!check->isChecked());
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            combo->setCurrentIndex(combo->count() - 1);
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            if (row.encoding == fields::Encoding::PackedDial) {
                edit->setText(row.id == "options.dtmf1" ? "12*#-0" : "9876543210*#-123");
            } else if (row.max == orows::kHighestChannel) {
                edit->setText("2");
            } else {
                edit->setText(QString::number(row.max));
            }
        }
    }
    // Power-on at the defined channel 2.
    ControlOf<QGroupBox>(form, "COP_RadioGrp_PowerOn")
        .findChildren<QRadioButton*>()
        .front()
        ->setChecked(true);
}

// The page that holds a control.
QWidget* PageOf(TCHN_Form_Channels& form, const QWidget* control) {
    for (const auto& [page, caption] : form.Options->Pages()) {
        if (page->isAncestorOf(control)) {
            return page;
        }
    }
    return nullptr;
}

std::map<std::string, QString> EveryShownValue(TCHN_Form_Channels& form) {
    std::map<std::string, QString> shown;
    for (const FieldRow& row : orows::kRows) {
        if (QWidget* control = row.control.empty() ? nullptr : form.Options->Control(row.control)) {
            shown[std::string(row.control)] = Shown(control);
        }
    }
    return shown;
}

TEST(ChannelOptionsPagesTest, EveryPageEditedStoredSavedAndReopenedShowsTheSameValues) {
    Desk desk;
    auto form = desk.MakeForm();
    form->LoadPass();
    form->show();
    EditEveryField(*form);
    const auto edited = EveryShownValue(*form);
    form->StorePass();
    EXPECT_TRUE(desk.person.shown.empty()) << desk.person.shown.front().text;
    EXPECT_EQ(desk.workspace->pmr.U16(0x1D18), 0);
    EXPECT_EQ(desk.workspace->pmr.U16(0x1D16), 2);
    EXPECT_EQ(desk.workspace->pmr.U16(0x1D28), 100) << "10000 ms in 100 ms units";
    EXPECT_EQ(desk.workspace->pmr.U8(0x1D0E) & 0x0F, 0) << "the medium level's low bits";
    // Every channel record takes the high and low power levels of the lists.
    EXPECT_EQ(desk.workspace->pmr.U8(0x3D2C + 10) >> 4, 10);
    EXPECT_EQ(desk.workspace->pmr.U8(0x3D2C + 24) >> 4, 4);

    const QTemporaryDir folder;
    const auto file = std::filesystem::path(folder.path().toStdString()) / "options.pmr";
    ASSERT_TRUE(WriteFileAtomically(file, desk.workspace->pmr.Bytes()));
    form.reset();
    Desk reopened;
    const auto bytes = ReadFileBytes(file, PmrJobImage::kSize);
    ASSERT_TRUE(bytes);
    reopened.workspace->pmr.Write(0, *bytes);
    auto again = reopened.MakeForm();
    again->LoadPass();
    EXPECT_EQ(EveryShownValue(*again), edited);

    // A load and store of the unchanged job leaves every byte as it was.
    again->StorePass();
    EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(), reopened.workspace->pmr.Bytes().begin()));

    again->show();
    for (int page = 0; page < again->Page_CHN_Channels.count(); ++page) {
        again->Page_CHN_Channels.setCurrentIndex(page);
        Screenshot(*again, "channel_options_page_" + QString::number(page));
    }
}

TEST(ChannelOptionsPagesTest, TheTemplateLoadedAndStoredUnchangedKeepsEveryByte) {
    Desk desk;
    const auto templ = ReadFileBytes(std::filesystem::path(KM_SOURCE_DIR) / "data" / "default.cct",
                                     PmrJobImage::kSize);
    ASSERT_TRUE(templ);
    desk.workspace->pmr.Write(0, *templ);
    auto form = desk.MakeForm();
    form->LoadPass();
    EXPECT_EQ(ControlOf<QLineEdit>(*form, "DTMF_Edit_EconAwake").text(), "70");
    EXPECT_EQ(ControlOf<QLineEdit>(*form, "COP_Edit_GotoA").text(), "");
    form->StorePass();
    const auto bytes = desk.workspace->pmr.Bytes();
    EXPECT_TRUE(std::equal(templ->begin(), templ->end(), bytes.begin()));
}

TEST(ChannelOptionsPagesTest, PowerListsFollowTheRadioTypeAndKeepALevelTheyDoNotHold) {
    Desk mobile(16);
    auto form = mobile.MakeForm();
    form->LoadPass();
    EXPECT_EQ(ControlOf<QComboBox>(*form, "COP_Combo_TxHighPwr").count(), 11);
    EXPECT_EQ(ControlOf<QComboBox>(*form, "COP_Combo_TxLowPwr").count(), 5);
    EXPECT_EQ(ControlOf<QComboBox>(*form, "COP_Combo_TxHighPwr").itemText(10), "25 W");

    Desk portable(512);
    portable.workspace->pmr.SetU16(0x1D2E, 7);  // a mobile's 10 W
    portable.workspace->pmr.SetU8(0x1D0E, 0x20);
    auto kp8 = portable.MakeForm();
    kp8->LoadPass();
    auto& high = ControlOf<QComboBox>(*kp8, "COP_Combo_TxHighPwr");
    EXPECT_EQ(high.count(), 7) << "six portable levels and the stored one";
    EXPECT_EQ(high.itemText(0), "0.5 W");
    EXPECT_EQ(high.currentText(), "? 7");
    EXPECT_EQ(ControlOf<QComboBox>(*kp8, "COP_Combo_TxMediumPwr").currentText(), "2 W");
    EXPECT_EQ(ControlOf<QComboBox>(*kp8, "COP_Combo_TxLowPwr").count(), 6);
    kp8->StorePass();
    EXPECT_EQ(portable.workspace->pmr.U16(0x1D2E), 7);
}

TEST(ChannelOptionsPagesTest, AMobileChangedToAPortableShowsThePortableListsAndLimitedLevels) {
    Desk desk(16);
    auto form = desk.MakeForm();
    form->LoadPass();
    auto& high = ControlOf<QComboBox>(*form, "COP_Combo_TxHighPwr");
    high.setCurrentIndex(9);  // "20 W", chosen but not yet stored
    ASSERT_EQ(high.currentText(), "20 W");
    RadioTypeListener::ChangeRadioType({6, 9, true, true}, [&] {
        desk.state.RadioTypeMask = 512;
        ApplyRadioTypeChange(desk.workspace->pmr, 6, 9);
    });
    EXPECT_EQ(high.count(), 6);
    EXPECT_EQ(high.currentText(), "5 W");
    EXPECT_EQ(desk.workspace->pmr.U16(0x1D2E), 5);
    EXPECT_TRUE(form->Options->Control("SCN_Edit_ScanSkipTime")
                    ->isVisibleTo(PageOf(*form, form->Options->Control("SCN_Edit_ScanSkipTime"))));
}

TEST(ChannelOptionsPagesTest, ChannelFieldsRefuseChannelsTheTableDoesNotHold) {
    Desk desk;
    auto form = desk.MakeForm();
    form->LoadPass();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    struct Case {
        const char* control;
        const char* typed;
        bool passes;
        std::vector<std::string> messages;
    };
    const std::string notDefined = "Channel has not been defined in the channel table.";
    const Case cases[] = {
        // A Goto naming a channel the table does not hold is warned about and kept.
        {"COP_Edit_GotoB", "7", true, {notDefined}},
        {"COP_Edit_GotoB", "2", true, {}},
        {"SCN_Edit_DWChannel", "9", false, {notDefined}},
        {"SCN_Edit_DWChannel", "1", true, {std::string(pmr::kDualWatchActiveText)}},
        {"COP_Edit_Defined", "999", false, {notDefined}},
        {"VMX_Edit_MuteLevel", "16", false, {"Value out of range.  Must be between 1 and 15"}},
        {"DATA_Edit_GrpDataAddr",
         "65500",
         false,
         {"Value out of range.  Must be between 65501 and 65516"}},
    };
    for (const Case& c : cases) {
        auto& edit = ControlOf<QLineEdit>(*form, c.control);
        form->Page_CHN_Channels.setCurrentWidget(PageOf(*form, &edit));
        edit.setFocus();
        ASSERT_EQ(QApplication::focusWidget(), &edit) << c.control;
        edit.setText(c.typed);
        desk.person.shown.clear();
        EXPECT_EQ(form->CheckFocusedField(), c.passes) << c.control << " " << c.typed;
        EXPECT_EQ(desk.person.Texts(), c.messages) << c.control << " " << c.typed;
        edit.clear();  // an empty field passes when the next case takes the focus
    }
}

TEST(ChannelOptionsPagesTest, EnterMovesTheFocusToTheNextControl) {
    Desk desk;
    auto form = desk.MakeForm();
    form->LoadPass();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto& gotoA = ControlOf<QLineEdit>(*form, "COP_Edit_GotoA");
    form->Page_CHN_Channels.setCurrentWidget(PageOf(*form, &gotoA));
    gotoA.setFocus();
    QTest::keyClick(&gotoA, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form->Options->Control("COP_Edit_GotoB"));
}

TEST(ChannelOptionsPagesTest, TheSwitchChoiceNeedsASelectingSwitchAndHidesTheDefinedFields) {
    Desk desk(1024);
    desk.state.PortableGeneration = 2;
    auto form = desk.MakeForm();
    form->LoadPass();
    form->show();
    form->Page_CHN_Channels.setCurrentWidget(form->Options->Pages().front().first);
    const auto buttons =
        ControlOf<QGroupBox>(*form, "COP_RadioGrp_PowerOn").findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_EQ(buttons[2]->text(), "Zone/Channel Switch");
    EXPECT_TRUE(buttons[2]->isVisible());

    buttons[0]->click();
    EXPECT_TRUE(ControlOf<QLineEdit>(*form, "COP_Edit_Defined").isVisible());
    EXPECT_TRUE(ControlOf<QLineEdit>(*form, "COP_Edit_DefinedZone").isVisible());
    EXPECT_FALSE(ControlOf<QLineEdit>(*form, "COP_Edit_DefinedZone").isEnabled()) << "no zone mode";

    buttons[2]->click();
    EXPECT_TRUE(desk.person.Showed(pmr::kSwitchNeedsSelectText));
    EXPECT_TRUE(buttons[1]->isChecked()) << "put back to Last Zone/Channel";
    EXPECT_FALSE(ControlOf<QLineEdit>(*form, "COP_Edit_Defined").isVisible());

    // A continuous rotation select switch takes the switch choice away.
    desk.workspace->pmr.SetU16(0x0138, 3);
    form->LoadPass();
    EXPECT_FALSE(buttons[2]->isVisible());
}

TEST(ChannelOptionsPagesTest, ControlsShowForTheRadioTypesThatHaveThem) {
    struct Case {
        int mask;
        std::vector<const char*> shown;
        std::vector<const char*> hidden;
    };
    const Case cases[] = {
        {1,
         {"SCN_Edit_OutOfCradleAlert", "MIC_GrpBox_MicInCradle", "DATA_CBox_IgnitionSense"},
         {"COP_Edit_GotoA", "SCN_Edit_ScanSkipTime", "DTMF_GrpBox_Economiser"}},
        {256,
         {"SCN_Edit_ScanSkipTime", "DTMF_GrpBox_Economiser"},
         {"COP_Edit_GotoA", "VMX_CBox_DisplayVoteIndex", "MIC_GrpBox_MicOutOfCradle"}},
        {512,
         {"COP_Edit_GotoD", "COP_Combo_RepeaterDefeat", "VMX_CBox_DisplayVoteIndex"},
         {"SCN_Edit_OutOfCradleAlert", "COP_Edit_PagerChannel", "DATA_Edit_DistanceBased"}},
    };
    for (const Case& c : cases) {
        Desk desk(c.mask);
        auto form = desk.MakeForm();
        form->LoadPass();
        const auto shown = [&](const char* name) {
            QWidget* control = form->Options->Control(name);
            return control->isVisibleTo(PageOf(*form, control));
        };
        for (const char* name : c.shown) {
            EXPECT_TRUE(shown(name)) << c.mask << " " << name;
        }
        for (const char* name : c.hidden) {
            EXPECT_FALSE(shown(name)) << c.mask << " " << name;
        }
    }
    Desk noMode;
    noMode.state.RadioModeMask = 0;
    auto form = noMode.MakeForm();
    form->LoadPass();
    for (const auto& [page, caption] : form->Options->Pages()) {
        EXPECT_FALSE(form->Page_CHN_Channels.isTabVisible(form->Page_CHN_Channels.indexOf(page)))
            << caption.toStdString();
    }
}

TEST(ChannelOptionsPagesTest, AnOldJobShowsTheDataDefaultsAndStoresThem) {
    Desk desk;
    desk.workspace->pmr.SetU16(14, 300);
    desk.workspace->pmr.SetU16(0x1E56, 0);
    desk.workspace->pmr.SetU8(0x1E62, 0xFF);
    desk.workspace->pmr.SetU16(0x1E58, 7);
    auto form = desk.MakeForm();
    form->LoadPass();
    EXPECT_EQ(ControlOf<QLineEdit>(*form, "DATA_Edit_OwnDataAddr").text(), "1");
    EXPECT_EQ(ControlOf<QLineEdit>(*form, "DATA_Edit_GrpDataAddr").text(), "65501");
    EXPECT_TRUE(ControlOf<QCheckBox>(*form, "DATA_CBox_MuteRx").isChecked());
    EXPECT_FALSE(ControlOf<QCheckBox>(*form, "DATA_CBox_GPSReport").isChecked());
    EXPECT_EQ(ControlOf<QComboBox>(*form, "DATA_Combo_FFSKMsgQue").currentText(), "None");
    form->StorePass();
    EXPECT_EQ(desk.workspace->pmr.U8(0x1E62), 0x08);
    EXPECT_EQ(desk.workspace->pmr.U16(0x1E58), 65501);
}

TEST(ChannelOptionsPagesTest, EmptiedNumberFieldsStoreZeroOrTheirEmptyValue) {
    Desk desk;
    desk.workspace->pmr.SetU16(0x1D26, 30);
    desk.workspace->pmr.SetU16(0x1D28, 5);
    desk.workspace->pmr.SetU8(0x1D55, 255);
    auto form = desk.MakeForm();
    form->LoadPass();
    EXPECT_EQ(ControlOf<QLineEdit>(*form, "MIC_Edit_PON_PreANI").text(), "") << "255: no encode";
    ControlOf<QLineEdit>(*form, "SCN_MEdit_RestartTime").clear();
    ControlOf<QLineEdit>(*form, "SCN_Edit_PriorityInterval").clear();
    form->StorePass();
    EXPECT_EQ(desk.workspace->pmr.U16(0x1D26), 0);
    EXPECT_EQ(desk.workspace->pmr.U16(0x1D28), 0xFFFF);
    EXPECT_EQ(desk.workspace->pmr.U8(0x1D55), 0);
}

}  // namespace
}  // namespace km
