#include "forms/network/HntForm.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "config/BandTable.h"
#include "config/CtcssDcsTable.h"

namespace km {
namespace {

using namespace hunt_rows;
using Col = SubBandTable::Column;

constexpr const char* kFormCaption = "Hunt Channels";

constexpr int kChannelTyped = 4;
constexpr int kHuntTyped = 4;

QStringList TextsOf(std::span<const fields::Choice> choices) {
    QStringList texts;
    for (const fields::Choice& choice : choices) {
        texts << ToQString(choice.text);
    }
    return texts;
}

}  // namespace

TForm_NWHNT_Hunt::TForm_NWHNT_Hunt(const FormContext& context, QWidget* parent)
    : NetworkFileForm(context, parent), checks_(*this, context.person) {
    setWindowTitle(kFormCaption);
    setObjectName("TForm_NWHNT_Hunt");
    BuildLayout();
    binder_.emplace(*this, kRows);
    BuildChannelGrid();
    BuildHuntGrids();
    WatchEdits();
}

void TForm_NWHNT_Hunt::BuildLayout() {
    // Channels: the sub-band grid beside the channel options.
    RadioGrp_CHN_ChanSpacing.setTitle(Caption(kRows[6]));
    CBox_CHN_XtalSwitch.setText(Caption(kRows[7]));
    auto* power = new QFormLayout;
    power->addRow(Caption(kRows[9]), &ComboBox_CHN_TxLowPwr);
    power->addRow(Caption(kRows[10]), &ComboBox_CHN_TxHighPwr);
    auto* options = new QVBoxLayout;
    options->addWidget(&RadioGrp_CHN_ChanSpacing);
    options->addWidget(&CBox_CHN_XtalSwitch);
    options->addLayout(power);
    options->addStretch(1);
    auto* channels = new QHBoxLayout(&Tab_CHN_Channels);
    channels->addWidget(&StrGrid_CHN_ChannelTable);
    channels->addLayout(options);
    channels->addStretch(1);

    auto* normal = new QHBoxLayout(&Tab_NHNT_NormalHunt);
    normal->addWidget(&StrGrid_NHNT_NormalHunt);
    normal->addStretch(1);

    CBox_CHNT_EnableComprHunt.setText(Caption(kRows[4]));
    auto* range = new QFormLayout;
    range->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    for (QLineEdit* edit : {&Edit_CHNT_HighestChan, &Edit_CHNT_LowestChan}) {
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance("000000") + 12);
    }
    range->addRow(Caption(kComprehensiveHighest), &Edit_CHNT_HighestChan);
    range->addRow(Caption(kComprehensiveLowest), &Edit_CHNT_LowestChan);
    auto* left = new QVBoxLayout;
    left->addWidget(&CBox_CHNT_EnableComprHunt);
    left->addLayout(range);
    left->addStretch(1);
    auto* comprehensive = new QHBoxLayout(&Tab_CHNT_ComprehensiveHunt);
    comprehensive->addLayout(left);
    comprehensive->addWidget(&StrGrid_CHNT_WithdrawnChn);
    comprehensive->addStretch(1);

    Page_HNT_Hunt.addTab(&Tab_CHN_Channels, "Channels");
    Page_HNT_Hunt.addTab(&Tab_NHNT_NormalHunt, "Normal Hunt");
    Page_HNT_Hunt.addTab(&Tab_CHNT_ComprehensiveHunt, "Comprehensive Hunt");
    auto* page = new QVBoxLayout(this);
    page->addWidget(&Page_HNT_Hunt);
}

void TForm_NWHNT_Hunt::BuildChannelGrid() {
    channels_.emplace(StrGrid_CHN_ChannelTable, person());
    const FieldGrid::Column columns[] = {{"", 30},           {"Min Ch", 50},    {"Max Ch", 50},
                                         {"TxMin MHz", 75},  {"RxMin MHz", 75}, {"Power", 60},
                                         {"Separation", 60}, {"Tx CTCSS", 80}};
    channels_->SetUp(kSubBands, columns);
    const FieldGrid::Editor channel{FieldGrid::Editor::Kind::Digits, kChannelTyped, {}};
    const FieldGrid::Editor megahertz{FieldGrid::Editor::Kind::Megahertz, 0, {}};
    channels_->SetEditor(Col::kMinChannel, channel);
    channels_->SetEditor(Col::kMaxChannel, channel);
    channels_->SetEditor(Col::kTxMin, megahertz);
    channels_->SetEditor(Col::kRxMin, megahertz);
    channels_->SetEditor(Col::kPower,
                         {FieldGrid::Editor::Kind::List, 0, TextsOf(kSubBandPowerChoices)});
    channels_->SetEditor(Col::kSeparation,
                         {FieldGrid::Editor::Kind::List, 0, TextsOf(kSeparationList)});
    channels_->SetEditor(Col::kTxCtcss,
                         {FieldGrid::Editor::Kind::List, 0, TextsOf(kTxCtcssChoices)});
    channels_->extraCheck = [this](int line, int column, FieldGrid::Moment moment) {
        return ChannelCellMessage(line, column, moment);
    };
    channels_->lineCheck = [this](int line) {
        TakeChannelTexts();
        return subBands_.CheckLine(line, Band());
    };
}

void TForm_NWHNT_Hunt::BuildHuntGrids() {
    normalHunt_.emplace(StrGrid_NHNT_NormalHunt, person());
    const FieldGrid::Column huntColumns[] = {{"Entry", 50}, {"Channel", 50}, {"Type C/T", 80}};
    normalHunt_->SetUp(kNormalHuntEntries, huntColumns);
    normalHunt_->SetEditor(1, {FieldGrid::Editor::Kind::Digits, kHuntTyped, {}});
    normalHunt_->SetEditor(2, {FieldGrid::Editor::Kind::List, 0, TextsOf(kHuntTypeChoices)});
    for (int entry = 0; entry < kNormalHuntEntries; ++entry) {
        for (int column : {1, 2}) {
            const fields::FieldRow& row = kNormalHunt.columns[static_cast<std::size_t>(column - 1)];
            normalHunt_->BindRecord(entry, column, kNormalHunt, entry, row);
        }
    }
    normalHunt_->extraCheck = [this](int line, int column,
                                     FieldGrid::Moment) -> std::optional<std::string> {
        if (column != 1) {
            return std::nullopt;
        }
        std::vector<std::string> channels;
        for (int entry = 0; entry < kNormalHuntEntries; ++entry) {
            channels.push_back(normalHunt_->Text(entry, 1).toStdString());
        }
        if (DuplicateHuntChannel(channels, line)) {
            return std::string(kDuplicateHuntMessage);
        }
        return std::nullopt;
    };

    withdrawn_.emplace(StrGrid_CHNT_WithdrawnChn, person());
    const FieldGrid::Column withdrawnColumns[] = {{"", 50}, {"Withdrawn", 80}};
    withdrawn_->SetUp(kWithdrawnChannels, withdrawnColumns);
    withdrawn_->SetEditor(1, {FieldGrid::Editor::Kind::Digits, kHuntTyped, {}});
    const fields::FieldRow& channel = kWithdrawn.columns[0];
    for (int entry = 0; entry < kWithdrawnChannels; ++entry) {
        withdrawn_->BindRecord(entry, 1, kWithdrawn, entry, channel);
    }
}

void TForm_NWHNT_Hunt::WatchEdits() {
    const std::pair<QLineEdit*, bool> edits[] = {{&Edit_CHNT_HighestChan, true},
                                                 {&Edit_CHNT_LowestChan, false}};
    for (const auto& watched : edits) {
        QLineEdit* edit = watched.first;
        const bool highest = watched.second;
        checks_.Watch(*edit, EditChecks::Keys::Digits, [this, edit, highest] {
            if (!binder_->CheckControl(edit, person())) {
                return false;
            }
            const auto message =
                CheckComprehensiveRange(Edit_CHNT_HighestChan.text().toStdString(),
                                        Edit_CHNT_LowestChan.text().toStdString(), highest);
            if (message) {
                person().Error(*message);
            }
            return !message;
        });
    }
}

const BandEntry* TForm_NWHNT_Hunt::Band() const {
    const int entry = state().BandSelected;
    if (entry < 1 || entry > kBandCount) {
        return nullptr;
    }
    return &BandTable(state().CountryCode)[static_cast<std::size_t>(entry - 1)];
}

void TForm_NWHNT_Hunt::TakeChannelTexts() {
    for (int line = 0; line < kSubBands; ++line) {
        for (int column = Col::kMinChannel; column < Col::kColumnCount; ++column) {
            subBands_.SetText(line, column, channels_->Text(line, column).toStdString());
        }
    }
}

std::optional<std::string> TForm_NWHNT_Hunt::ChannelCellMessage(int line, int column,
                                                                FieldGrid::Moment moment) {
    TakeChannelTexts();
    return subBands_.Check(
        line, column, moment == FieldGrid::Moment::Enter ? CellMoment::Enter : CellMoment::Move,
        Band());
}

// ---- Passes ----------------------------------------------------------------------------------

void TForm_NWHNT_Hunt::LoadPass() {
    binder_->Load(kOffsets, Bytes(), Area());
    subBands_.Load(Bytes(), Area());
    for (int line = 0; line < kSubBands; ++line) {
        for (int column = Col::kMinChannel; column < Col::kColumnCount; ++column) {
            channels_->ShowLoaded(line, column, ToQString(subBands_.Text(line, column)));
        }
    }
    normalHunt_->Load(kOffsets, Bytes(), Area());
    withdrawn_->Load(kOffsets, Bytes(), Area());
}

void TForm_NWHNT_Hunt::StorePass() {
    TakeChannelTexts();
    subBands_.Store(Bytes(), Area());
    binder_->Store(kOffsets, Bytes(), Area());
    normalHunt_->Store(kOffsets, Bytes(), Area());
    withdrawn_->Store(kOffsets, Bytes(), Area());
    StoreHuntSummary(Bytes(), Area());
}

void TForm_NWHNT_Hunt::ShowFirstPage() {
    const QSignalBlocker blocker(Page_HNT_Hunt);
    Page_HNT_Hunt.setCurrentWidget(&Tab_CHN_Channels);
}

bool TForm_NWHNT_Hunt::CheckFocusedField() {
    for (FieldGrid* grid : {&*channels_, &*normalHunt_, &*withdrawn_}) {
        if (grid->HasFocus() && !grid->CheckCurrentCell(FieldGrid::Moment::Move)) {
            return false;
        }
    }
    return checks_.CheckFocused();
}

KM_REGISTER_FORM(FormId::HuntChannels, TForm_NWHNT_Hunt);

}  // namespace km
