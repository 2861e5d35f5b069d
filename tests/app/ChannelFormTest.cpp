// The Channel Options form's channel page, the Channel Editor and the Group Editor, against a
// scripted person and scripted modal dialogs.

#include <gtest/gtest.h>

#include <QScrollBar>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "ShellFixtures.h"
#include "forms/pmr/ChannelEditor.h"
#include "forms/pmr/ChnForm.h"
#include "forms/pmr/GroupEditor.h"
#include "forms/pmr/ZoneEditor.h"
#include "tables/Tables.h"

namespace km {
namespace {

namespace cr = pmr::channel_rows;
using testing::ScriptedDialogs;
using testing::ShellPerson;

class NullShell : public Shell {
  public:
    void ShowFormButtons() override {}
    void ShowNetworkLabel() override {}
    bool StoreNetworkForms() override { return true; }
    void SelectNetwork(int) override {}
    void ShowForm(FormId id) override { shown.push_back(id); }
    void ReloadForm(FormId) override {}
    std::vector<FormId> shown;
};

constexpr int kBandUwEntry = 12;  // "UW   440-500 MHz"

// Saves a picture of a widget when KM_SCREENSHOTS names a folder, for looking at the layout.
void Screenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOTS");
    if (!folder.isEmpty()) {
        widget.grab().save(QDir(folder).filePath(name + ".png"));
    }
}

struct Desk {
    Desk() {
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        state.BandSelected = kBandUwEntry;
        state.UserLevelMask = 8;
        tables::FillTemplateDefaults(fields::ImageId::Pmr, workspace->pmr.Bytes());
        workspace->pmr.SetU16(pmr::kBandCode, 0x5557);
        workspace->pmr.SetU16(14, 5860);
        // As the template holds them: no power-on, Goto or dual watch channel.
        for (std::size_t word : {0x1D16, 0x1D1A, 0x1D1C, 0x1D1E, 0x1D20, 0x1D32}) {
            workspace->pmr.SetU16(word, 0xFFFF);
        }
    }
    std::unique_ptr<TCHN_Form_Channels> MakeForm() {
        auto form = std::make_unique<TCHN_Form_Channels>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->resize(900, 560);
        return form;
    }
    // The next modal dialog is the Channel Editor; `edit` fills it, then OK is pressed.
    void ScriptChannelEditor(std::function<void(TCEDT_Form&)> edit) {
        dialogs.modal.push_back([edit](QDialog& dialog) {
            auto& editor = dynamic_cast<TCEDT_Form&>(dialog);
            edit(editor);
            editor.CEDT_BitBtn_OKClick();
            return editor.result();
        });
    }
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    NullShell shell;
};

// A stored table of `count` channels numbered from 0, 450 MHz up in 12.5 kHz steps.
void StoreChannels(Desk& desk, int count) {
    pmr::ChannelTable table;
    for (int n = 0; n < count; ++n) {
        pmr::ChannelEntry entry = pmr::DefaultEntry(450000000 + 12500LL * n);
        entry.SetNumber(n);
        entry.SetName("Ch " + std::to_string(n));
        table.Add(entry);
    }
    testing::ScriptedPerson quiet;
    pmr::StoreChannelTable(table, {.radioTypeMask = 16}, desk.workspace->pmr, quiet);
}

TEST(ChannelFormTest, AThousandChannelsAreListedAsTheirLinesUnderTheTitle) {
    Desk desk;
    StoreChannels(desk, 1000);
    auto form = desk.MakeForm();
    form->LoadPass();
    QAbstractItemModel& model = *form->CHN_LBox_Channels.model();
    ASSERT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString().toStdString(),
              "Chn  Name         RxFrequency RXL CTCSS  TxFrequency TXL CTCSS PWR SC CR SP H");
    EXPECT_EQ(model.data(model.index(999, 0)).toString().toStdString(),
              "999 Ch 999        462.48750MHz No        462.48750MHz No        Lo  SC    12    ");
    EXPECT_EQ(form->Selected(), 0u);
    form->show();
    Screenshot(*form, "channel_options_channels");
}

TEST(ChannelFormTest, AnAddedChannelIsEditedAndSelectedAndSurvivesAStoreAndLoad) {
    Desk desk;
    StoreChannels(desk, 3);
    auto form = desk.MakeForm();
    form->LoadPass();
    desk.ScriptChannelEditor([](TCEDT_Form& editor) {
        EXPECT_EQ(editor.CEDT_Edit_ChanNumber.text(), "3") << "the last number + 1";
        EXPECT_EQ(editor.windowTitle(), "Channel Editor");
        editor.CEDT_Edit_ChanName.setText("Depot");
        editor.CEDT_Edit_Rx_Frequency.setText("451.0125");
        editor.CEDT_Edit_Tx_Frequency.setText("456.0125");
        editor.CEDT_Combo_Tx_Power.setCurrentIndex(2);
        editor.CEDT_CBox_Decodes[6].setChecked(false);
        editor.CEDT_Edit_PttOffEncode.setText("17");
    });
    form->CHN_Btn_AddChannelClick();
    ASSERT_EQ(form->Table().Size(), 4u);
    EXPECT_EQ(form->Selected(), 3u);
    const pmr::ChannelEntry added = form->Table().At(3);
    EXPECT_EQ(added.Name(), "Depot");
    EXPECT_EQ(added.rxHz, 451012500);
    EXPECT_EQ(added.txHz, 456012500);
    EXPECT_EQ(pmr::PowerOf(added), pmr::Power::High);
    EXPECT_FALSE(added.Flag(*cr::kDecodes[6]));
    EXPECT_EQ(added.Get(cr::kPttOffEncode), 17);

    const std::string line = pmr::ListLine(added);
    form->StorePass();
    auto reopened = desk.MakeForm();
    reopened->LoadPass();
    ASSERT_EQ(reopened->Table().Size(), 4u);
    EXPECT_EQ(pmr::ListLine(reopened->Table().At(3)), line);
    EXPECT_FALSE(reopened->Table().At(3).Flag(*cr::kDecodes[6]));
    EXPECT_EQ(desk.dialogs.unexpectedDialogs, 0);
}

TEST(ChannelFormTest, ADuplicateNumberKeepsTheEditorOpenAndCancelLeavesTheTable) {
    Desk desk;
    StoreChannels(desk, 3);
    auto form = desk.MakeForm();
    form->LoadPass();
    desk.dialogs.modal.push_back([&](QDialog& dialog) {
        auto& editor = dynamic_cast<TCEDT_Form&>(dialog);
        editor.CEDT_Edit_ChanNumber.setText("1");
        editor.CEDT_BitBtn_OKClick();
        EXPECT_EQ(editor.result(), QDialog::Rejected) << "still open";
        EXPECT_TRUE(desk.person.Showed("Duplicate Channel Numbers are not allowed."));
        Screenshot(editor, "channel_editor_ch_options");
        editor.CEDT_PageControl.setCurrentIndex(1);
        Screenshot(editor, "channel_editor_selcall");
        return static_cast<int>(QDialog::Rejected);
    });
    form->CHN_Btn_AddChannelClick();
    EXPECT_EQ(form->Table().Size(), 3u);
}

TEST(ChannelFormTest, DeleteAndTheDotKeyRefuseAChannelAGroupLists) {
    Desk desk;
    StoreChannels(desk, 2);
    auto form = desk.MakeForm();
    form->LoadPass();
    desk.dialogs.modal.push_back([](QDialog& dialog) {
        auto& editor = dynamic_cast<TGEDT_Form&>(dialog);
        EXPECT_EQ(editor.windowTitle(), "Group Editor");
        // A new group's selcall scanning is off, though a new channel's Selcall Enabled is on.
        EXPECT_FALSE(editor.GEDT_CBox_SelcallEnabled.isChecked());
        editor.GEDT_Edit_ChanName.setText("Trucks");
        editor.GEDT_Radio_GroupTypes[2].click();  // Vote
        EXPECT_TRUE(editor.GEDT_CBox_ShowAsChannel.isChecked());
        editor.GEDT_StrGrid_ChanGroup.item(0, 1)->setText("1");
        editor.show();
        Screenshot(editor, "group_editor");
        // Both columns of the member grid are shown whole, beside the scroll bar.
        QTableWidget& grid = editor.GEDT_StrGrid_ChanGroup;
        EXPECT_EQ(grid.horizontalScrollBar()->maximum(), 0);
        EXPECT_GE(grid.columnWidth(1), grid.fontMetrics().horizontalAdvance("Channel"));
        EXPECT_GE(grid.columnWidth(0), grid.fontMetrics().horizontalAdvance("16"));
        editor.GEDT_BitBtn_OKClick();
        return editor.result();
    });
    form->CHN_Btn_AddGroupClick();
    ASSERT_EQ(form->Table().Size(), 3u);
    EXPECT_TRUE(form->Table().At(2).IsGroup());
    EXPECT_EQ(form->Table().At(2).members[0], 1);

    form->Select(1);
    form->CHN_Btn_DeleteChannelClick();
    QKeyEvent dot(QEvent::KeyPress, Qt::Key_Period, Qt::NoModifier, ".");
    QApplication::sendEvent(&form->CHN_LBox_Channels, &dot);
    EXPECT_EQ(form->Table().Size(), 3u);
    EXPECT_EQ(desk.person.shown.size(), 2u);
    EXPECT_EQ(desk.person.shown[0].text,
              "Cannot delete channel.                               \n"
              "Channel is used in a Scan or Vote group.");

    form->Select(0);
    QApplication::sendEvent(&form->CHN_LBox_Channels, &dot);
    EXPECT_EQ(form->Table().Size(), 2u);
    EXPECT_EQ(form->Selected(), 0u);
}

TEST(ChannelFormTest, TheEditorShowsWhatTheHeadLevelAndZoneModeAllow) {
    Desk desk;
    pmr::ChannelTable table;
    const pmr::ChannelEditContext context{table, std::nullopt, {}, 0, 16};
    TCEDT_Form mobile(context, {.userLevelMask = 1, .zoneMode = true}, desk.person);
    mobile.show();
    EXPECT_FALSE(mobile.CEDT_CBox_Economiser.isVisible());
    EXPECT_FALSE(mobile.CEDT_CBox_OverrideXtal.isVisible());
    EXPECT_FALSE(mobile.CEDT_CBox_Hidden.isVisible());
    EXPECT_FALSE(mobile.CEDT_RadioGrp_DCS.isVisible());
    const pmr::ChannelEditContext portableContext{table, std::nullopt, {}, 0, 512};
    TCEDT_Form portable(portableContext, {.userLevelMask = 8, .zoneMode = false}, desk.person);
    portable.show();
    EXPECT_TRUE(portable.CEDT_CBox_Economiser.isVisible());
    EXPECT_TRUE(portable.CEDT_CBox_OverrideXtal.isVisible());
    EXPECT_TRUE(portable.CEDT_CBox_Hidden.isVisible());
    EXPECT_EQ(portable.CEDT_Combo_Rx_CTCSSTone.count(), 156);
    EXPECT_EQ(portable.CEDT_Combo_Rx_CTCSSTone.itemText(39).toStdString(), "   150.0 Hz");
}

TEST(ChannelFormTest, ZonesKeepTheirChannelsAcrossSelectionsStoreAndLoad) {
    Desk desk;
    StoreChannels(desk, 5);
    auto form = desk.MakeForm();
    form->LoadPass();
    TZEDT_Form& zones = *form->Tab_CHN_Zones;
    zones.ZONE_StrGrid_Zones.item(0, 1)->setText("North");
    zones.ZONE_StrGrid_Zones.item(1, 1)->setText("South");
    zones.ZONE_StrGrid_Channels.item(0, 1)->setText("3");
    EXPECT_TRUE(zones.ZONE_StrGrid_ChannelsCellExit(0));
    EXPECT_EQ(zones.ZONE_StrGrid_Channels.item(0, 2)->text(), "Ch 3");
    zones.ZONE_StrGrid_Channels.item(1, 1)->setText("7");
    EXPECT_FALSE(zones.ZONE_StrGrid_ChannelsCellExit(1)) << "channel 7 is not in the table";
    EXPECT_TRUE(desk.person.Showed("Channel has not been defined in the channel table."));
    zones.ZONE_StrGrid_Channels.item(1, 1)->setText("");
    zones.ZONE_StrGrid_Zones.setCurrentCell(1, 1);
    EXPECT_EQ(zones.ZONE_StrGrid_Channels.item(0, 1)->text(), "");
    zones.ZONE_StrGrid_Channels.item(4, 1)->setText("2");
    form->Page_CHN_Channels.setCurrentWidget(form->Tab_CHN_Zones.get());
    form->show();
    Screenshot(*form, "channel_options_zones");

    // The first zone lists channel 3: deleting it asks, and No keeps it.
    form->Page_CHN_Channels.setCurrentWidget(&form->Tab_CHN_Channels);
    form->Select(3);
    desk.person.answers = {Answer::No};
    form->CHN_Btn_DeleteChannelClick();
    EXPECT_EQ(form->Table().Size(), 5u);
    EXPECT_TRUE(desk.person.Showed(
        "Channel 3 is used in a zone or as the power-on, a Goto or the dual watch channel.\n"
        "Do you want to delete it?"));

    form->StorePass();
    EXPECT_EQ(desk.workspace->pmr.U16(0x007A), 2);
    auto reopened = desk.MakeForm();
    reopened->LoadPass();
    TZEDT_Form& again = *reopened->Tab_CHN_Zones;
    EXPECT_EQ(again.ZONE_StrGrid_Zones.item(1, 1)->text(), "South");
    EXPECT_EQ(again.ZONE_StrGrid_Channels.item(0, 1)->text(), "3");
    EXPECT_EQ(again.ZONE_StrGrid_Channels.item(0, 2)->text(), "Ch 3");
    again.ZONE_StrGrid_Zones.setCurrentCell(1, 1);
    EXPECT_EQ(again.ZONE_StrGrid_Channels.item(4, 1)->text(), "2");
}

TEST(ChannelFormTest, AZoneCellBeingTypedIsCheckedBeforeTheStore) {
    Desk desk;
    StoreChannels(desk, 2);
    auto form = desk.MakeForm();
    form->LoadPass();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TZEDT_Form& zones = *form->Tab_CHN_Zones;
    form->Page_CHN_Channels.setCurrentWidget(form->Tab_CHN_Zones.get());
    zones.ZONE_StrGrid_Channels.setFocus();
    zones.ZONE_StrGrid_Channels.setCurrentCell(0, 1);
    zones.ZONE_StrGrid_Channels.item(0, 1)->setText("9");
    EXPECT_FALSE(form->CheckFocusedField());
    EXPECT_TRUE(desk.person.Showed("Channel has not been defined in the channel table."));
    zones.ZONE_StrGrid_Channels.item(0, 1)->setText("1");
    EXPECT_TRUE(form->CheckFocusedField());
}

// A number typed into a zone's channel cell is checked whichever way the user leaves it: for the
// zone names (the click that takes the focus does not choose another zone) or another page.
TEST(ChannelFormTest, AZoneChannelTheTableDoesNotHoldIsRefusedWhenTheCellEditorIsLeft) {
    Desk desk;
    StoreChannels(desk, 3);
    auto form = desk.MakeForm();
    form->LoadPass();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TZEDT_Form& zones = *form->Tab_CHN_Zones;
    form->Page_CHN_Channels.setCurrentWidget(form->Tab_CHN_Zones.get());
    zones.ZONE_StrGrid_Zones.item(0, 1)->setText("North");
    // Channel 2 is deleted (its zone question answered Yes only when a zone lists it).
    form->Select(2);
    form->CHN_Btn_DeleteChannelClick();
    ASSERT_EQ(form->Table().Size(), 2u);

    for (const bool toZoneNames : {true, false}) {
        desk.person.shown.clear();
        QTableWidget& channels = zones.ZONE_StrGrid_Channels;
        channels.setFocus();
        channels.setCurrentCell(0, 1);
        channels.editItem(channels.item(0, 1));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "2");
        if (toZoneNames) {
            const QRect cell =
                zones.ZONE_StrGrid_Zones.visualItemRect(zones.ZONE_StrGrid_Zones.item(1, 1));
            QTest::mouseClick(zones.ZONE_StrGrid_Zones.viewport(), Qt::LeftButton, {},
                              cell.center());
        } else {
            form->CHN_Btn_AddChannel.setFocus();
        }
        QApplication::processEvents();
        EXPECT_EQ(desk.person.Texts(),
                  std::vector<std::string>{std::string(pmr::kChannelNotDefinedText)})
            << toZoneNames;
        EXPECT_EQ(zones.ZONE_StrGrid_Zones.currentRow(), 0) << "the zone stays chosen";
        EXPECT_TRUE(channels.hasFocus() || channels.isAncestorOf(QApplication::focusWidget()));
        channels.item(0, 1)->setText("");
    }
    // A channel of the table is taken.
    desk.person.shown.clear();
    zones.ZONE_StrGrid_Channels.item(0, 1)->setText("1");
    form->CHN_Btn_AddChannel.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(desk.person.Texts(), std::vector<std::string>{});
}

// A channel name too wide for the HM-F display is asked about once: the user keeps it or has it
// shortened to the characters that fit, and leaves the field either way.
TEST(ChannelFormTest, AChannelNameTooWideForTheDisplayIsKeptOrShortenedOnce) {
    Desk desk;
    StoreChannels(desk, 1);
    auto form = desk.MakeForm();
    form->LoadPass();
    std::vector<std::string> asked;
    desk.dialogs.modal.push_back([&](QDialog& dialog) {
        auto& editor = dynamic_cast<TCEDT_Form&>(dialog);
        editor.show();
        editor.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&editor));
        editor.CEDT_Edit_Rx_Frequency.setText("451.0125");
        editor.CEDT_Edit_Tx_Frequency.setText("451.0125");
        QLineEdit& name = editor.CEDT_Edit_ChanName;
        const auto leaveName = [&] {
            name.setFocus();
            QApplication::processEvents();
            editor.CEDT_Edit_Rx_Frequency.setFocus();
            QApplication::processEvents();
        };
        // Cancel goes back to the name as typed.
        name.setText("WWWWWWWWWWWW");
        desk.person.answers = {Answer::Cancel};
        leaveName();
        EXPECT_EQ(name.text(), "WWWWWWWWWWWW");
        EXPECT_TRUE(name.hasFocus());
        // Yes keeps it, and it is not asked about again.
        desk.person.answers = {Answer::Yes};
        leaveName();
        leaveName();
        EXPECT_EQ(name.text(), "WWWWWWWWWWWW");
        EXPECT_TRUE(editor.CEDT_Edit_Rx_Frequency.hasFocus());
        // Another name too wide: No shortens it to what fits.
        name.setText("Harbour Mast");
        desk.person.answers = {Answer::No};
        leaveName();
        EXPECT_EQ(name.text(), "Harbour Ma");
        asked = desk.person.Texts();
        editor.CEDT_BitBtn_OKClick();
        return editor.result();
    });
    form->CHN_Btn_AddChannelClick();
    ASSERT_EQ(asked.size(), 3u) << ::testing::PrintToString(asked);
    EXPECT_EQ(asked[0].rfind("The Message is too long to fit on the display,", 0), 0u);
    EXPECT_NE(asked[0].find("No shortens it"), std::string::npos);
    ASSERT_EQ(form->Table().Size(), 2u);
    EXPECT_EQ(form->Table().At(1).Name(), "Harbour Ma");
}

TEST(ChannelFormTest, TheZonesPageIsOfferedForHeadsWithZones) {
    Desk desk;
    auto form = desk.MakeForm();
    const int page = form->Page_CHN_Channels.indexOf(form->Tab_CHN_Zones.get());
    for (auto [mask, shown] : {std::pair{16, true}, {4, false}, {512, true}, {2, false}}) {
        desk.state.RadioTypeMask = mask;
        form->RefreshVisibility();
        EXPECT_EQ(form->Page_CHN_Channels.isTabVisible(page), shown) << mask;
    }
}

TEST(ChannelFormTest, NextFormShowsTheSelcallForm) {
    Desk desk;
    auto form = desk.MakeForm();
    form->LoadPass();
    form->Page_CHN_Channels.setCurrentWidget(&form->Tab_CHN_Next);
    EXPECT_EQ(desk.shell.shown, std::vector<FormId>{FormId::Selcall});
    EXPECT_EQ(form->Page_CHN_Channels.currentWidget(), &form->Tab_CHN_Channels);
}

}  // namespace
}  // namespace km
