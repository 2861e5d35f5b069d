#include "forms/pmr/Scl2Form.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "config/FormVisibility.h"
#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "forms/FieldBinder.h"
#include "forms/pmr/SclForm.h"
#include "forms/pmr/SequenceEditors.h"

namespace km {
namespace {

constexpr const char* kNextPage = "Next Form -->";
constexpr const char* kEncodesHint = "Selcall encode masks. (Up to 250)";
constexpr const char* kDecodesHint = "Selcall Decode Masks.  (Up to 8 masks can be defined)";
// The head whose display the decode names must fit.

QFont FixedPitchFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void SetUpList(QListWidget& list, QLabel& heading, std::string_view headingText, const char* hint) {
    list.setFont(FixedPitchFont());
    list.setToolTip(hint);
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    heading.setFont(FixedPitchFont());
    heading.setText(ToQString(headingText));
    list.setMinimumWidth(QFontMetrics(FixedPitchFont()).horizontalAdvance(ToQString(headingText)) +
                         40);
}

}  // namespace

TSCL2_Form_Selcall::TSCL2_Form_Selcall(const FormContext& context, QWidget* parent)
    : ConfigForm(context, parent) {
    setWindowTitle(ToQString(pmr::kEncodeDecodeFormCaption));
    setObjectName("TSCL2_Form_Selcall");
    BuildLayout();
    Connect();
    // Several encodes may be chosen, to copy them.
    ENC_LBox_Encodes.setSelectionMode(QAbstractItemView::ExtendedSelection);
    encodeRows_ = std::make_unique<EncodeRowsClipboard>(
        ENC_LBox_Encodes, *this, encodes_, person(),
        [this](const std::vector<std::size_t>& positions) { ShowEncodesSelecting(positions); });
}

void TSCL2_Form_Selcall::BuildLayout() {
    SetUpList(DEC_LBox_Decodes, DEC_Lbl_Heading, pmr::kDecodeHeading, kDecodesHint);
    SetUpList(ENC_LBox_Encodes, ENC_Lbl_Heading, pmr::kEncodeHeading, kEncodesHint);
    DEC_Btn_Edit.setText("Edit");
    ENC_Btn_Add.setText("Add");
    ENC_Btn_Edit.setText("Edit");
    ENC_Btn_Delete.setText("Delete");

    auto page = [](QWidget& tab, QLabel& heading, QListWidget& list,
                   std::initializer_list<QPushButton*> buttons) {
        auto* row = new QHBoxLayout;
        for (QPushButton* button : buttons) {
            button->setAutoDefault(false);
            row->addWidget(button);
        }
        row->addStretch(1);
        auto* layout = new QVBoxLayout(&tab);
        layout->addWidget(&heading);
        layout->addWidget(&list, 1);
        layout->addLayout(row);
    };
    page(DCO_Tab_Decode, DEC_Lbl_Heading, DEC_LBox_Decodes, {&DEC_Btn_Edit});
    page(ENC_Tab_Encode, ENC_Lbl_Heading, ENC_LBox_Encodes,
         {&ENC_Btn_Add, &ENC_Btn_Edit, &ENC_Btn_Delete});

    SCL2_Page_Selcall.addTab(&DCO_Tab_Decode, ToQString(pmr::kDecodesTab));
    SCL2_Page_Selcall.addTab(&ENC_Tab_Encode, ToQString(pmr::kEncodesTab));
    SCL2_Page_Selcall.addTab(&SCL2_Tab_Next, kNextPage);
    auto* form = new QVBoxLayout(this);
    form->addWidget(&SCL2_Page_Selcall);
}

void TSCL2_Form_Selcall::Connect() {
    connect(&ENC_Btn_Add, &QPushButton::clicked, this, [this] { ENC_Btn_AddClick(); });
    connect(&ENC_Btn_Edit, &QPushButton::clicked, this, [this] { ENC_Btn_EditClick(); });
    connect(&ENC_Btn_Delete, &QPushButton::clicked, this, [this] { ENC_Btn_DeleteClick(); });
    connect(&DEC_Btn_Edit, &QPushButton::clicked, this, [this] { DEC_Btn_EditClick(); });
    connect(&ENC_LBox_Encodes, &QListWidget::itemDoubleClicked, this,
            [this] { ENC_Btn_EditClick(); });
    connect(&DEC_LBox_Decodes, &QListWidget::itemDoubleClicked, this,
            [this] { DEC_Btn_EditClick(); });
    connect(&SCL2_Page_Selcall, &QTabWidget::currentChanged, this, [this](int page) {
        if (SCL2_Page_Selcall.widget(page) == &SCL2_Tab_Next) {
            SCL2_Tab_NextShow();
        }
    });
}

// ---- Passes ----------------------------------------------------------------------------------

void TSCL2_Form_Selcall::LoadPass() {
    encodes_ = pmr::LoadEncodes(workspace().pmr);
    decodes_ = pmr::LoadDecodes(workspace().pmr);
    ShowEncodes(encodes_.empty() ? std::nullopt : std::optional<std::size_t>(0));
    ShowDecodes(0);
}

void TSCL2_Form_Selcall::StorePass() {
    pmr::StoreEncodes(encodes_, workspace().pmr);
    pmr::StoreDecodes(decodes_, workspace().pmr);
}

void TSCL2_Form_Selcall::ShowFirstPage() {
    const QSignalBlocker blocker(SCL2_Page_Selcall);
    SCL2_Page_Selcall.setCurrentWidget(&DCO_Tab_Decode);
}

void TSCL2_Form_Selcall::keyPressEvent(QKeyEvent* event) {
    if (!MoveOnAtEnter(*event)) {
        ConfigForm::keyPressEvent(event);
    }
}

// ---- Lists -----------------------------------------------------------------------------------

pmr::SelcallSettings TSCL2_Form_Selcall::Settings() const {
    if (const auto* selcall =
            dynamic_cast<const TSCL_Form_Selcall*>(shell().Form(FormId::Selcall))) {
        return selcall->CurrentSettings();
    }
    return pmr::SelcallSettingsOf(workspace().pmr);
}

std::optional<std::size_t> TSCL2_Form_Selcall::Selected(const QListWidget& list) const {
    const int row = list.currentRow();
    return row < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row));
}

void TSCL2_Form_Selcall::ShowEncodes(std::optional<std::size_t> select) {
    ENC_LBox_Encodes.clear();
    for (const pmr::EncodeEntry& entry : encodes_) {
        ENC_LBox_Encodes.addItem(ToQString(pmr::EncodeLine(entry)));
    }
    ENC_LBox_Encodes.setCurrentRow(select ? static_cast<int>(*select) : -1);
}

void TSCL2_Form_Selcall::ShowDecodes(std::optional<std::size_t> select) {
    DEC_LBox_Decodes.clear();
    for (const pmr::DecodeEntry& entry : decodes_) {
        DEC_LBox_Decodes.addItem(ToQString(pmr::DecodeLine(entry)));
    }
    DEC_LBox_Decodes.setCurrentRow(select ? static_cast<int>(*select) : -1);
}

std::size_t TSCL2_Form_Selcall::InsertEncode(const pmr::EncodeEntry& entry) {
    const auto at = std::upper_bound(
        encodes_.begin(), encodes_.end(), entry.number,
        [](int number, const pmr::EncodeEntry& other) { return number < other.number; });
    const auto inserted = encodes_.insert(at, entry);  // may move the entries
    return static_cast<std::size_t>(inserted - encodes_.begin());
}

void TSCL2_Form_Selcall::ShowEncodesSelecting(const std::vector<std::size_t>& positions) {
    const int current = ENC_LBox_Encodes.currentRow();
    ShowEncodes(std::nullopt);
    if (positions.empty()) {
        if (!encodes_.empty()) {
            ENC_LBox_Encodes.setCurrentRow(
                std::clamp(current, 0, static_cast<int>(encodes_.size()) - 1));
        }
        return;
    }
    ENC_LBox_Encodes.setCurrentRow(static_cast<int>(positions.front()));
    for (std::size_t position : positions) {
        ENC_LBox_Encodes.item(static_cast<int>(position))->setSelected(true);
    }
}

void TSCL2_Form_Selcall::ShowRestoredEncodes() {
    ShowEncodesSelecting({});
}

void TSCL2_Form_Selcall::ShowRestoredDecodes() {
    const int current = DEC_LBox_Decodes.currentRow();
    ShowDecodes(current < 0 ? std::nullopt : std::optional<std::size_t>(current));
}

bool TSCL2_Form_Selcall::RunEncodeDialog(pmr::EncodeEntry& entry,
                                         std::optional<std::size_t> editing) {
    TEDIT_ENC_Form dialog(Settings(), encodes_, editing, person(), this);
    dialog.FillFromEntry(entry);
    if (dialogs().Exec(dialog) != QDialog::Accepted) {
        return false;
    }
    dialog.ReadBack(entry);
    return true;
}

// ---- Handlers --------------------------------------------------------------------------------

void TSCL2_Form_Selcall::ENC_Btn_AddClick() {
    const auto selected = Selected(ENC_LBox_Encodes);
    pmr::EncodeEntry entry = selected ? encodes_.at(*selected) : pmr::EncodeEntry{};
    if (!encodes_.empty()) {
        entry.number = pmr::ProposedEncodeNumber(encodes_);
    }
    if (RunEncodeDialog(entry, std::nullopt)) {
        std::size_t at = 0;
        undo::Change(
            *this, QStringLiteral("Add Encode"), encodes_,
            [&] {
                at = InsertEncode(entry);
                return true;
            },
            [this] { ShowRestoredEncodes(); });
        ShowEncodes(at);
    }
}

void TSCL2_Form_Selcall::ENC_Btn_EditClick() {
    const auto selected = Selected(ENC_LBox_Encodes);
    if (!selected) {
        return;
    }
    pmr::EncodeEntry entry = encodes_.at(*selected);
    if (RunEncodeDialog(entry, selected)) {
        std::size_t at = 0;
        undo::Change(
            *this, QStringLiteral("Edit Encode"), encodes_,
            [&] {
                encodes_.erase(encodes_.begin() + static_cast<std::ptrdiff_t>(*selected));
                at = InsertEncode(entry);
                return true;
            },
            [this] { ShowRestoredEncodes(); });
        ShowEncodes(at);
    }
}

void TSCL2_Form_Selcall::ENC_Btn_DeleteClick() {
    const auto selected = Selected(ENC_LBox_Encodes);
    if (!selected) {
        return;
    }
    undo::Change(
        *this, QStringLiteral("Delete Encode"), encodes_,
        [&] {
            encodes_.erase(encodes_.begin() + static_cast<std::ptrdiff_t>(*selected));
            return true;
        },
        [this] { ShowRestoredEncodes(); });
    // The line before the removed one is selected, none when the first was removed.
    ShowEncodes(*selected > 0 ? std::optional<std::size_t>(*selected - 1) : std::nullopt);
}

void TSCL2_Form_Selcall::DEC_Btn_EditClick() {
    const auto selected = Selected(DEC_LBox_Decodes);
    if (!selected) {
        return;
    }
    pmr::DecodeEntry entry = decodes_.at(*selected);
    const Head head = HeadOfMask(state().RadioTypeMask);
    const bool narrow =
        HasNarrowDisplay(head) && LoadPmrHeader(workspace().pmr).radioTypeRow != kRowHmFPlus;
    TEDIT_DEC_Form dialog(Settings(), head, narrow, person(), this);
    dialog.FillFromEntry(entry);
    if (dialogs().Exec(dialog) != QDialog::Accepted) {
        return;
    }
    dialog.ReadBack(entry);
    undo::Change(
        *this, QStringLiteral("Edit Decode"), decodes_,
        [&] {
            decodes_.at(*selected) = entry;
            return true;
        },
        [this] { ShowRestoredDecodes(); });
    ShowDecodes(selected);
}

void TSCL2_Form_Selcall::SCL2_Tab_NextShow() {
    ShowFirstPage();
    shell().ShowForm(FormId::TextStrings);
}

KM_REGISTER_FORM(FormId::EncodeDecode, TSCL2_Form_Selcall);

}  // namespace km
