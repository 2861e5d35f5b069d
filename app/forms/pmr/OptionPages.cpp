#include "forms/pmr/OptionPages.h"

#include <QApplication>
#include <QSignalBlocker>
#include <algorithm>

#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "forms/pmr/ZoneEditor.h"
#include "pmr/ChannelOptions.h"

namespace km {
namespace {

namespace orows = pmr::options_rows;
using fields::FieldRow;
using fields::FieldValue;

// How the pages lay their rows out: two columns of group boxes, each a list of row controls.
// The boxes whose rows belong to some heads only go with their rows; every other box shows with
// the radio mode.
bool HiddenWithItsRows(std::string_view box) {
    return box == "MIC_GrpBox_MicInCradle" || box == "MIC_GrpBox_MicOutOfCradle" ||
           box == "DTMF_GrpBox_Economiser";
}

const std::vector<PageLayout>& PageLayouts() {
    static const std::vector<PageLayout> kPages = {
        {orows::kOptionsTab,
         "Tab_COP_Options",
         {{"Power-On Channel",
           "COP_GrpBox_PowerOn",
           {"COP_RadioGrp_PowerOn", "COP_Edit_Defined", "COP_Edit_DefinedZone",
            "COP_Edit_PagerChannel"}},
          {"Goto Channels",
           "COP_GrpBox_Goto",
           {"COP_Edit_GotoA", "COP_Edit_GotoB", "COP_Edit_GotoC", "COP_Edit_GotoD"}},
          {"Channel Display",
           "COP_GrpBox_Channel",
           {"COP_CBox_DontDisplayChanNumber", "COP_CBox_Reversion", "COP_CBox_Redefinition",
            "COP_CBox_RTB"}}},
         {{"On Channel Change",
           "COP_GrpBox_ChannelChange",
           {"COP_CBox_MuteOpen", "COP_CBox_MuteCTCSS", "COP_CBox_MuteSelcall",
            "COP_CBox_ClearOnCall", "COP_CBox_TimedReset", "COP_CBox_RemoveQueuedSC"}},
          {"Repeater",
           "COP_GrpBox_Repeater",
           {"COP_Combo_RepeaterDefeat", "COP_Edit_RepeaterTail", "COP_CBox_DisableRptrDefeat"}},
          {"Tx Power",
           "COP_GrpBox_TxPower",
           {"COP_Combo_TxHighPwr", "COP_Combo_TxMediumPwr", "COP_Combo_TxLowPwr"}}}},
        {orows::kScanTab,
         "Tab_SCN_Scan",
         {{"Scanning",
           "SCN_GrpBox_Scan",
           {"SCN_MEdit_RestartTime", "SCN_Edit_PriorityInterval", "SCN_Edit_OutOfCradleAlert",
            "SCN_Edit_ScanSkipTime", "SCN_Combo_ScanThreshold", "SCN_Combo_ScanningTxChan",
            "SCN_CBox_TxChanOffHook"}}},
         {{"Dual-Watch",
           "SCN_GrpBox_DualWatch",
           {"SCN_Edit_DWChannel", "SCN_Edit_DWInterval", "SCN_Edit_DWPauseTime"}}}},
        {orows::kVoteTab,
         "Tab_VMX_Vote",
         {{"Voting",
           "VMX_GrpBox_Vote",
           {"VMX_CBox_VoteNoCTCSS", "VMX_CBox_DisplayVoteIndex", "VMX_CBox_StopVoteOffCradle",
            "VMX_Edit_LET", "VMX_Edit_MuteLevel", "VMX_Combo_FastVote"}}},
         {{"Revote",
           "VMX_GrpBox_Revote",
           {"VMX_Edit_RevoteDwell", "VMX_Combo_ForcedRevoteTime", "VMX_Edit_OutOfAreaAlarm"}}}},
        {orows::kMicrophoneTab,
         "Tab_MIC_Microphone",
         {{"Timers",
           "MIC_GrpBox_Timers",
           {"MIC_Edit_TxLimitTimer", "MIC_Edit_ReTxLimitTimer", "MIC_Edit_ConversationTimer",
            "MIC_Edit_ReConversationTimer", "MIC_CBox_TransmitInhibit", "MIC_CBox_TxLimitBeeps"}},
          {"PTT On",
           "MIC_GrpBox_PttOn",
           {"MIC_CBox_PON_GrantTone", "MIC_CBox_PON_UnMuteSelcall", "MIC_Edit_PON_PreANI",
            "MIC_Edit_PON_Holdoff"}},
          {"PTT Off", "MIC_GrpBox_PttOff", {"MIC_Edit_POF_PostANI", "MIC_Edit_POF_Holdoff"}}},
         {{"Mic In Cradle",
           "MIC_GrpBox_MicInCradle",
           {"MIC_CBox_MIC_MuteCTCSS", "MIC_CBox_MIC_MuteSelcall", "MIC_CBox_MIC_ClearOnCall",
            "MIC_CBox_MIC_EnableTimedRst", "MIC_Edit_MIC_SendANI"}},
          {"Mic Out of Cradle",
           "MIC_GrpBox_MicOutOfCradle",
           {"MIC_CBox_MOC_UnMuteCTCSS", "MIC_CBox_MOC_UnMuteSelcall", "MIC_CBox_MOC_SetOnCall",
            "MIC_CBox_MOC_MuteExternalSpkr", "MIC_Edit_MOC_SendANI"}}}},
        {orows::kDtmfTab,
         "Tab_DTMF_Dtmf",
         {{"DTMF",
           "DTMF_GrpBox_Dtmf",
           {"DTMF_CBox_SideTone", "DTMF_CBox_DtmfOn", "DTMF_Edit_TonePeriod",
            "DTMF_Edit_InterTonePeriod", "DTMF_Edit_LET", "DTMF_Edit_Holdover",
            "DTMF_Edit_Sequence1", "DTMF_Edit_Sequence2"}}},
         {{"Economiser",
           "DTMF_GrpBox_Economiser",
           {"DTMF_Edit_EconAwake", "DTMF_Edit_EconSleep", "DTMF_Edit_EconPause"}}}},
        {orows::kDataTab,
         "Tab_DATA_Data",
         {{"Addresses",
           "DATA_GrpBox_Addresses",
           {"DATA_Edit_OwnDataAddr", "DATA_Edit_GrpDataAddr", "DATA_Edit_BaseAddr",
            "DATA_Edit_DispatchAddr"}},
          {"GPS",
           "DATA_GrpBox_Gps",
           {"DATA_CBox_GPSReport", "DATA_Edit_TimeBased", "DATA_Edit_DistanceBased",
            "DATA_CBox_IgnitionSense"}}},
         {{"FFSK Data",
           "DATA_GrpBox_Ffsk",
           {"DATA_CBox_FFSKANI", "DATA_CBox_FfskAniLid", "DATA_CBox_FfskStatusMsg",
            "DATA_CBox_JobNumbering", "DATA_CBox_MuteRx", "DATA_CBox_DelJobAfterReply",
            "DATA_CBox_ImmediateMsgDsply", "DATA_Combo_FFSKMsgQue", "DATA_Combo_FFSKDataRate",
            "DATA_CBox_FfskRevsDuringLID", "DATA_Edit_FFSKLID", "DATA_Combo_RetryTime",
            "DATA_Edit_NumRetries", "DATA_Combo_DataCTCSS"}}}},
    };
    return kPages;
}

// The DTMF sequence records and the rows of their digits.
struct Sequence {
    int at;
    const FieldRow& digits;
};
constexpr Sequence kSequences[] = {{orows::kDtmf1, orows::kDtmf1Rows[2]},
                                   {orows::kDtmf2, orows::kDtmf2Rows[2]}};

// True for the edit of a DTMF sequence.
bool IsSequence(std::string_view control) {
    return std::any_of(std::begin(kSequences), std::end(kSequences),
                       [&](const Sequence& s) { return s.digits.control == control; });
}

// A DTMF sequence's edit takes the dial characters, as many as a sequence holds.
std::optional<EditShape> ShapeOfSequence(const FieldRow& row) {
    if (!IsSequence(row.control)) {
        return std::nullopt;
    }
    return EditShape{"[0-9*#-]*", orows::kDtmfDigits};
}

bool IsChannelControl(std::string_view control) {
    return control == orows::kGotoA.control || control == orows::kGotoB.control ||
           control == orows::kGotoC.control || control == orows::kGotoD.control;
}

}  // namespace

ChannelOptionPages::ChannelOptionPages(QWidget& owner, const pmr::ChannelTable& table,
                                       TZEDT_Form& zones, PmrJobImage& image,
                                       const MainState& state, Person& person)
    : table_(table),
      zones_(zones),
      person_(person),
      image_(image),
      state_(state),
      builder_(orows::kRows, ShapeOfSequence),
      exits_(std::make_unique<FieldExits>(owner)) {
    // Owned here, so that no check of these pages runs once they are gone.
    exits_->setParent(nullptr);
    Build(owner);
    binder_ = std::make_unique<FieldBinder>(owner, orows::kRows);
    WatchControls();
}

ChannelOptionPages::~ChannelOptionPages() = default;

std::vector<std::pair<QWidget*, QString>> ChannelOptionPages::Pages() const {
    return pages_;
}

QWidget* ChannelOptionPages::Control(std::string_view name) const {
    return builder_.Control(name);
}

QLineEdit& ChannelOptionPages::Edit(std::string_view name) const {
    return *qobject_cast<QLineEdit*>(Control(name));
}

// ---- Layout -----------------------------------------------------------------------------------

void ChannelOptionPages::Build(QWidget& owner) {
    for (const PageLayout& layout : PageLayouts()) {
        pages_.emplace_back(&builder_.Build(layout, owner), ToQString(layout.caption));
    }
}

void ChannelOptionPages::WatchControls() {
    for (QWidget* control : binder_->Controls()) {
        exits_->EnterMovesFocus(*control);
        auto* edit = qobject_cast<QLineEdit*>(control);
        if (edit == nullptr) {
            continue;
        }
        const std::string name = edit->objectName().toStdString();
        if (name == orows::kPowerOnChannel.control) {
            exits_->OnExit(*edit, [this] { return COP_Edit_DefinedExit(); });
        } else if (name == orows::kPowerOnZone.control) {
            exits_->OnExit(*edit, [this] { return COP_Edit_DefinedZoneExit(); });
        } else if (name == orows::kDualWatchChannel.control) {
            exits_->OnExit(*edit, [this] { return SCN_Edit_DWChannelExit(); });
        } else if (IsChannelControl(name)) {
            exits_->OnExit(*edit, [this, edit] {
                return pmr::GotoChannelLeft(edit->text().toStdString(), table_, person_);
            });
        } else if (!IsSequence(name)) {
            exits_->OnExit(*edit, [this, edit] { return binder_->CheckControl(edit, person_); });
        }
    }
    const QList<QRadioButton*> buttons = PowerOnButtons();
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        exits_->EnterMovesFocus(*buttons[i]);
        connect(buttons[i], &QRadioButton::clicked, this,
                [this, i] { COP_RadioGrp_PowerOnClick(static_cast<int>(i)); });
    }
}

QList<QRadioButton*> ChannelOptionPages::PowerOnButtons() const {
    return Control(orows::kPowerOnMode.control)
        ->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

// ---- Passes -----------------------------------------------------------------------------------

void ChannelOptionPages::Load() {
    binder_->Load(fields::ImageId::Pmr, image_.Bytes(), 0);
    ShowStoredAsShown();
    if (!pmr::DataSettingsStored(image_)) {
        for (const FieldRow& row : orows::kRows) {
            if (row.tab == orows::kDataTab && !row.derived) {
                binder_->Show(row, fields::DefaultValue(row));
            }
        }
    }
    for (const FieldRow* row : {&orows::kHighPower, &orows::kMediumPower, &orows::kLowPower}) {
        ShowPowerList(*row);
    }
    ShowPowerOn();
    RefreshVisibility();
}

// Values the image holds that the pages show otherwise, and the DTMF sequences with their count.
void ChannelOptionPages::ShowStoredAsShown() {
    for (const FieldRow& row : orows::kRows) {
        if (row.control.empty() || row.derived) {
            continue;
        }
        const FieldValue stored =
            fields::ReadField(row, image_.Bytes(), static_cast<std::size_t>(row.at.pmr));
        const FieldValue shown = pmr::ShownOnLoad(row, stored);
        if (shown != stored) {
            binder_->Show(row, shown);
        }
    }
    for (const Sequence& sequence : kSequences) {
        Edit(sequence.digits.control)
            .setText(ToQString(pmr::DtmfSequenceOf(image_.Bytes(), sequence.at)));
    }
}

void ChannelOptionPages::StoreFields() const {
    const std::span<std::uint8_t> bytes = image_.Bytes();
    binder_->Store(fields::ImageId::Pmr, bytes, 0);
    for (QWidget* control : binder_->Controls()) {
        const auto* edit = qobject_cast<const QLineEdit*>(control);
        const FieldRow* row = binder_->RowOf(control);
        if (edit == nullptr || row == nullptr || row->derived) {
            continue;
        }
        // An emptied number field stores 0 unless its row has a value for empty.
        if (edit->text().trimmed().isEmpty() && row->blankRaw == fields::kNoBlank &&
            !fields::IsTextEncoding(row->encoding)) {
            fields::WriteField(*row, bytes, static_cast<std::size_t>(row->at.pmr), std::int64_t{0});
        }
    }
    for (const Sequence& sequence : kSequences) {
        pmr::StoreDtmfSequence(bytes, sequence.at,
                               Edit(sequence.digits.control).text().toStdString());
    }
    // The bits beside the medium power level are written 0.
    for (const FieldRow* row : {&orows::kMediumPowerLowBits, &orows::kMediumPowerPad}) {
        fields::WriteField(*row, bytes, static_cast<std::size_t>(row->at.pmr), std::int64_t{0});
    }
}

void ChannelOptionPages::StorePowerOn() const {
    const auto number = [&](const FieldRow& row) -> std::optional<int> {
        const QString text = Edit(row.control).text().trimmed();
        return text.isEmpty() ? std::nullopt : std::optional(text.toInt());
    };
    const fields::FieldValue headVariant =
        fields::ReadField(header_rows::kHeadVariant, image_.Bytes(),
                          static_cast<std::size_t>(header_rows::kHeadVariant.at.pmr));
    const pmr::PowerOnChoice choice{
        .mode = PowerOnChoice(),
        .definedChannel = number(orows::kPowerOnChannel),
        .definedZone = number(orows::kPowerOnZone),
        .zoneMode = zones_.ZoneMode(),
        .switches = pmr::ZoneSwitchesOf(image_),
        .headVariant = static_cast<int>(std::get<std::int64_t>(headVariant))};
    pmr::StorePowerOn(choice, image_);
}

// ---- Power lists and power-on -----------------------------------------------------------------

void ChannelOptionPages::ShowPowerList(const FieldRow& row) {
    auto& combo = *qobject_cast<QComboBox*>(Control(row.control));
    const auto value = binder_->Value(&combo);
    const std::int64_t code = value ? std::get<std::int64_t>(*value) : 0;
    const QSignalBlocker blocker(combo);
    combo.clear();
    for (const fields::Choice& choice : pmr::PowerList(row, state_.RadioTypeMask)) {
        combo.addItem(ToQString(choice.text), QVariant::fromValue<qlonglong>(choice.code));
    }
    // A level this head's list does not hold shows as its number and is stored back as it was.
    SelectCode(combo, code, QString("? %1").arg(code));
}

int ChannelOptionPages::PowerOnChoice() const {
    const auto value = binder_->Value(Control(orows::kPowerOnMode.control));
    return value ? static_cast<int>(std::get<std::int64_t>(*value)) : orows::kPowerOnLast;
}

void ChannelOptionPages::ShowPowerOn() {
    const pmr::ZoneSwitches switches = pmr::ZoneSwitchesOf(image_);
    const QList<QRadioButton*> buttons = PowerOnButtons();
    if (buttons.size() > orows::kPowerOnSwitch) {
        buttons[orows::kPowerOnSwitch]->setVisible(
            pmr::SwitchChoiceOffered(state_.PortableGeneration, switches));
    }
    const pmr::PowerOnGroup group = pmr::PowerOnGroupOf(zones_.ZoneMode(), switches);
    if (group.forcedToSwitch) {
        binder_->Show(orows::kPowerOnMode, std::int64_t{orows::kPowerOnSwitch});
    }
    Control(orows::kPowerOnMode.control)->setEnabled(group.enabled);
    Edit(orows::kPowerOnZone.control).setEnabled(zones_.ZoneMode());
    ShowDefinedFields(PowerOnChoice());
}

void ChannelOptionPages::ShowDefinedFields(int mode) {
    const pmr::PowerOnFields shown = pmr::PowerOnFieldsShown(mode, state_.RadioTypeMask);
    const bool modeSet = state_.RadioModeMask == kModePmr || state_.RadioModeMask == kModeTrunk ||
                         state_.RadioModeMask == kModeMulti;
    SetShown(Edit(orows::kPowerOnChannel.control), modeSet && shown.channel);
    SetShown(Edit(orows::kPowerOnZone.control), modeSet && shown.zone);
}

void ChannelOptionPages::COP_RadioGrp_PowerOnClick(int choice) {
    const int kept = pmr::PowerOnChoiceClicked(choice, pmr::ZoneSwitchesOf(image_), person_);
    if (kept != choice) {
        binder_->Show(orows::kPowerOnMode, std::int64_t{kept});
    }
    ShowDefinedFields(kept);
}

// ---- Checks -----------------------------------------------------------------------------------

bool ChannelOptionPages::COP_Edit_DefinedExit() {
    QLineEdit& channel = Edit(orows::kPowerOnChannel.control);
    const pmr::ExitResult result = pmr::DefinedChannelLeft(
        channel.text().toStdString(), Edit(orows::kPowerOnZone.control).text().toStdString(),
        table_, zones_.Grids(), image_, person_);
    if (result == pmr::ExitResult::ClearChannel) {
        channel.clear();
    }
    return result != pmr::ExitResult::Refuse;
}

bool ChannelOptionPages::COP_Edit_DefinedZoneExit() {
    return pmr::DefinedZoneLeft(Edit(orows::kPowerOnZone.control).text().toStdString(),
                                zones_.Grids(), person_);
}

bool ChannelOptionPages::SCN_Edit_DWChannelExit() {
    return pmr::DualWatchChannelLeft(Edit(orows::kDualWatchChannel.control).text().toStdString(),
                                     table_, person_);
}

bool ChannelOptionPages::CheckFocusedField() {
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr || binder_->RowOf(focused) == nullptr) {
        return true;
    }
    const std::string name = focused->objectName().toStdString();
    if (name == orows::kPowerOnChannel.control) {
        return COP_Edit_DefinedExit();
    }
    if (name == orows::kPowerOnZone.control) {
        return COP_Edit_DefinedZoneExit();
    }
    if (name == orows::kDualWatchChannel.control) {
        return SCN_Edit_DWChannelExit();
    }
    if (IsChannelControl(name)) {
        return pmr::GotoChannelLeft(qobject_cast<QLineEdit*>(focused)->text().toStdString(), table_,
                                    person_);
    }
    return IsSequence(name) || binder_->CheckControl(focused, person_);
}

// ---- Visibility -------------------------------------------------------------------------------

void ChannelOptionPages::SetShown(QWidget& control, bool shown) {
    SetShownWithLabel(builder_, control, shown);
}

void ChannelOptionPages::RefreshVisibility() {
    const bool modeSet = state_.RadioModeMask == kModePmr || state_.RadioModeMask == kModeTrunk ||
                         state_.RadioModeMask == kModeMulti;
    const Head head = HeadOfMask(state_.RadioTypeMask);
    for (const PageLayout& layout : PageLayouts()) {
        for (const auto* side : {&layout.left, &layout.right}) {
            for (const PageGroup& group : *side) {
                bool anyShown = false;
                for (std::string_view name : group.controls) {
                    QWidget& control = *builder_.Control(name);
                    const FieldRow* row = binder_->RowOf(&control);
                    const bool shown =
                        row != nullptr ? pmr::OptionShown(*row, head, modeSet) : modeSet;
                    SetShown(control, shown);
                    anyShown = anyShown || shown;
                }
                SetShown(*builder_.Control(group.object),
                         HiddenWithItsRows(group.object) ? anyShown : modeSet);
            }
        }
    }
    ShowDefinedFields(PowerOnChoice());
}

}  // namespace km
