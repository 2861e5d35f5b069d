#include "forms/pmr/ChnForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "Resources.h"
#include "config/BandTable.h"
#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "forms/FieldBinder.h"
#include "forms/pmr/ChannelEditor.h"
#include "forms/pmr/ChannelSheetView.h"
#include "forms/pmr/GroupEditor.h"
#include "forms/pmr/OptionPages.h"
#include "forms/pmr/ZoneEditor.h"
#include "pmr/ChannelEdit.h"
#include "pmr/ChannelOptions.h"

namespace km {
namespace {

namespace cr = pmr::channel_rows;

constexpr const char* kCaption = "Channel Options";
constexpr const char* kChannelsPage = "Channels";
constexpr const char* kZonesPage = "Zones";
constexpr const char* kNextPage = "Next Form -->";
// A table that holds 1000 entries takes no more: the radio has no room for them.
// Zones and channel options name channels by number: a change leaves them naming another.
constexpr std::string_view kReferencedDeleteQuestion =
    "Channel %d is used in a zone or as the power-on, a Goto or the dual watch channel.\n"
    "Do you want to delete it?";
constexpr std::string_view kReferencedRenumberQuestion =
    "Channel %d is used in a zone or as the power-on, a Goto or the dual watch channel.\n"
    "Do you want to change its number?";
// The store run after each edit of the sheet keeps its messages for the store of the job.
class QuietPerson : public Person {
  public:
    Answer Show(BoxKind, std::string_view, Buttons buttons) override {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    void Beep() override {}
};

QFont FixedPitchFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

// The entries of the table as the list's records.
class TCHN_Form_Channels::Records : public RecordSource {
  public:
    explicit Records(pmr::ChannelTable& table) : table_(table) {}
    int RecordCount() const override { return static_cast<int>(table_.Size()); }
    std::span<const std::uint8_t> Record(int index) const override {
        return table_.At(static_cast<std::size_t>(index)).record;
    }
    std::span<std::uint8_t> MutableRecord(int) override { return {}; }
    // The entries keep frequencies and members beside their records: undo keeps the table.
    std::any Snapshot() const override { return table_; }
    void Restore(const std::any& snapshot) override {
        table_ = std::any_cast<const pmr::ChannelTable&>(snapshot);
    }

  private:
    pmr::ChannelTable& table_;
};

TCHN_Form_Channels::TCHN_Form_Channels(const FormContext& context, QWidget* parent)
    : ConfigForm(context, parent),
      Tab_CHN_Zones(std::make_unique<TZEDT_Form>(table_, workspace(), person())),
      records_(std::make_unique<Records>(table_)) {
    setObjectName("TCHN_Form_Channels");
    setWindowTitle(kCaption);
    const std::pair<QObject*, const char*> controls[] = {
        {&Page_CHN_Channels, "Page_CHN_Channels"},
        {&Tab_CHN_Channels, "Tab_CHN_Channels"},
        {&Tab_CHN_Next, "Tab_CHN_Next"},
        {&CHN_LBox_Channels, "CHN_LBox_Channels"},
        {&CHN_Btn_AddChannel, "CHN_Btn_AddChannel"},
        {&CHN_Btn_AddGroup, "CHN_Btn_AddGroup"},
        {&CHN_Btn_EditChannel, "CHN_Btn_EditChannel"},
        {&CHN_Btn_DeleteChannel, "CHN_Btn_DeleteChannel"},
    };
    for (const auto& [control, name] : controls) {
        control->setObjectName(name);
    }
    // One column: the entry's line as the radio's dealers know it, under the list's title.
    model_ = std::make_unique<RecordTableModel>(
        *records_, fields::ImageId::Pmr,
        std::vector<RecordColumn>{{.title = ToQString(pmr::kListTitle), .text = [this](int record) {
                                       return ToQString(pmr::ListLine(
                                           table_.At(static_cast<std::size_t>(record))));
                                   }}});
    Options = std::make_unique<ChannelOptionPages>(*this, table_, *Tab_CHN_Zones, workspace().pmr,
                                                   state(), person());
    rows_ = std::make_unique<ChannelRowsClipboard>(
        CHN_LBox_Channels, ListRows(CHN_LBox_Channels, *model_, table_), table_, person(),
        dialogs(), [this] { return EditContext(std::nullopt); });
    BuildLayout();
    Connect();
    ShowAsTable(ChannelsAsTable());
}

TCHN_Form_Channels::~TCHN_Form_Channels() {
    // The pages leave the tab widget as the members go: no page change may reach the handlers.
    Page_CHN_Channels.blockSignals(true);
}

void TCHN_Form_Channels::BuildLayout() {
    CHN_Btn_AddChannel.setText("Add Channel");
    CHN_Btn_AddGroup.setText("Add Scan/Vote Group");
    CHN_Btn_EditChannel.setText("Edit");
    CHN_Btn_DeleteChannel.setText("Delete");

    CHN_LBox_Channels.setModel(model_.get());
    CHN_LBox_Channels.setFont(FixedPitchFont());
    CHN_LBox_Channels.horizontalHeader()->setFont(FixedPitchFont());
    CHN_LBox_Channels.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    CHN_LBox_Channels.horizontalHeader()->setStretchLastSection(true);
    CHN_LBox_Channels.horizontalHeader()->setHighlightSections(false);
    CHN_LBox_Channels.verticalHeader()->hide();
    // Rows of one height let the view skip measuring 1000 lines.
    CHN_LBox_Channels.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    CHN_LBox_Channels.verticalHeader()->setDefaultSectionSize(
        QFontMetrics(FixedPitchFont()).height() + 4);
    CHN_LBox_Channels.setShowGrid(false);
    CHN_LBox_Channels.setSelectionBehavior(QAbstractItemView::SelectRows);
    // Several entries may be chosen, to copy them or set a column of them at once.
    CHN_LBox_Channels.setSelectionMode(QAbstractItemView::ExtendedSelection);
    CHN_LBox_Channels.setEditTriggers(QAbstractItemView::NoEditTriggers);
    CHN_LBox_Channels.setWordWrap(false);
    CHN_LBox_Channels.setMinimumWidth(
        QFontMetrics(FixedPitchFont()).horizontalAdvance(ToQString(pmr::kListTitle)) + 40);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button :
         {&CHN_Btn_AddChannel, &CHN_Btn_AddGroup, &CHN_Btn_EditChannel, &CHN_Btn_DeleteChannel}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* page = new QVBoxLayout(&Tab_CHN_Channels);
    page->addWidget(&CHN_LBox_Channels, 1);
    page->addLayout(buttons);

    Page_CHN_Channels.addTab(&Tab_CHN_Channels, kChannelsPage);
    Page_CHN_Channels.addTab(Tab_CHN_Zones.get(), kZonesPage);
    for (const auto& [page, caption] : Options->Pages()) {
        Page_CHN_Channels.addTab(page, caption);
    }
    Page_CHN_Channels.addTab(&Tab_CHN_Next, kNextPage);
    auto* form = new QVBoxLayout(this);
    form->addWidget(&Page_CHN_Channels);
}

void TCHN_Form_Channels::Connect() {
    connect(&CHN_Btn_AddChannel, &QPushButton::clicked, this,
            [this] { CHN_Btn_AddChannelClick(); });
    connect(&CHN_Btn_AddGroup, &QPushButton::clicked, this, [this] { CHN_Btn_AddGroupClick(); });
    connect(&CHN_Btn_EditChannel, &QPushButton::clicked, this,
            [this] { CHN_Btn_EditChannelClick(); });
    connect(&CHN_Btn_DeleteChannel, &QPushButton::clicked, this,
            [this] { CHN_Btn_DeleteChannelClick(); });
    connect(&CHN_LBox_Channels, &QTableView::doubleClicked, this,
            [this] { CHN_Btn_EditChannelClick(); });
    connect(&Page_CHN_Channels, &QTabWidget::currentChanged, this,
            [this](int page) { PageChanged(page); });
    CHN_LBox_Channels.installEventFilter(this);
    // The sheet shows what the list's editors, a paste, an import and a load did.
    connect(model_.get(), &QAbstractItemModel::modelReset, this, [this] {
        if (sheetModel_ && !sheetChanging_) {
            sheetModel_->Reload();
        }
    });
    // After an undo the entry at the same place is chosen again.
    connect(model_.get(), &RecordTableModel::restored, this, [this](int where) {
        if (!table_.Empty()) {
            Select(std::min(static_cast<std::size_t>(std::max(where, 0)), table_.Size() - 1));
        }
    });
}

bool TCHN_Form_Channels::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &CHN_LBox_Channels && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // "." deletes the selected entry, with the Delete button's checks; Enter edits it.
        if (key->text() == ".") {
            CHN_Btn_DeleteChannelClick();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            CHN_Btn_EditChannelClick();
            return true;
        }
    }
    return ConfigForm::eventFilter(watched, event);
}

// ---- Passes ----------------------------------------------------------------------------------

void TCHN_Form_Channels::LoadPass() {
    pmr::LoadChannelTable(workspace().pmr, table_);
    ShowTable(table_.Empty() ? std::nullopt : std::optional<std::size_t>(0));
    Tab_CHN_Zones->LoadPass();
    Options->Load();
    RefreshVisibility();
}

void TCHN_Form_Channels::StorePass() {
    // The power levels go into the image first: every channel record takes a copy of them.
    Options->StoreFields();
    pmr::StoreChannelTable(
        table_, pmr::StoreSettingsOf(workspace().pmr, state().RadioTypeMask, state().CountryCode),
        workspace().pmr, person());
    Tab_CHN_Zones->StorePass();
    Options->StorePowerOn();
}

void TCHN_Form_Channels::RefreshVisibility() {
    const int mode = state().RadioModeMask;
    const bool modeSet = mode == kModePmr || mode == kModeTrunk || mode == kModeMulti;
    Page_CHN_Channels.setTabVisible(Page_CHN_Channels.indexOf(Tab_CHN_Zones.get()),
                                    modeSet && pmr::HasZones(state().RadioTypeMask));
    for (const auto& [page, caption] : Options->Pages()) {
        Page_CHN_Channels.setTabVisible(Page_CHN_Channels.indexOf(page), modeSet);
    }
    Options->RefreshVisibility();
}

void TCHN_Form_Channels::BeforeRadioTypeChange() {
    Options->StoreFields();
}

void TCHN_Form_Channels::RadioTypeChanged(const RadioTypeChange& change) {
    if (change.pmrView) {
        Options->Load();
        RefreshVisibility();
    }
}

void TCHN_Form_Channels::ShowFirstPage() {
    const QSignalBlocker blocker(Page_CHN_Channels);
    Page_CHN_Channels.setCurrentWidget(&Tab_CHN_Channels);
}

bool TCHN_Form_Channels::CheckFocusedField() {
    return Tab_CHN_Zones->CheckFocusedCell() && Options->CheckFocusedField();
}

void TCHN_Form_Channels::PageChanged(int page) {
    if (Page_CHN_Channels.widget(page) == &Tab_CHN_Next) {
        Tab_CHN_NextShow();
    } else if (Page_CHN_Channels.widget(page) == Options->Pages().front().first) {
        Options->ShowPowerOn();
    }
}

void TCHN_Form_Channels::Tab_CHN_NextShow() {
    ShowFirstPage();
    shell().ShowForm(FormId::Selcall);
}

// ---- The table -------------------------------------------------------------------------------

std::optional<std::size_t> TCHN_Form_Channels::Selected() const {
    const QModelIndex current = CHN_LBox_Channels.currentIndex();
    if (!current.isValid() || static_cast<std::size_t>(current.row()) >= table_.Size()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(current.row());
}

void TCHN_Form_Channels::Select(std::size_t position) {
    if (position < table_.Size()) {
        const QModelIndex index = model_->index(static_cast<int>(position), 0);
        CHN_LBox_Channels.setCurrentIndex(index);
        CHN_LBox_Channels.scrollTo(index);
    }
}

void TCHN_Form_Channels::ShowTable(std::optional<std::size_t> select) {
    model_->Reload();
    if (select) {
        Select(*select);
    }
}

void TCHN_Form_Channels::ReplaceTable(pmr::ChannelTable table) {
    model_->Change(QStringLiteral("Import"), 0, [&] {
        table_ = std::move(table);
        return true;
    });
    ShowTable(table_.Empty() ? std::nullopt : std::optional<std::size_t>(0));
}

pmr::BandLimits TCHN_Form_Channels::Band() const {
    const auto limits =
        pmr::LimitsOfBand(BandWordOfEntry(state().BandSelected), state().CountryCode);
    return limits.value_or(pmr::BandLimits{});
}

bool TCHN_Form_Channels::ZoneMode() const {
    return Tab_CHN_Zones->ZoneMode();
}

pmr::ChannelEntry TCHN_Form_Channels::NewEntry() const {
    // A new channel starts at the lower limit of the band, in whole megahertz.
    return pmr::DefaultEntry(Band().LowerMHz() * pmr::kHzPerMHz);
}

bool TCHN_Form_Channels::TableFull() {
    if (table_.Size() < static_cast<std::size_t>(pmr::kMaxEntries)) {
        return false;
    }
    person().Error(pmr::kTableFullText);
    return true;
}

void TCHN_Form_Channels::CHN_Btn_AddChannelClick() {
    if (TableFull()) {
        return;
    }
    const auto selected = Selected();
    pmr::ChannelEntry entry =
        selected && !table_.At(*selected).IsGroup() ? table_.At(*selected) : NewEntry();
    entry.SetNumber(table_.NextNumber());
    EditEntry(entry, std::nullopt);
}

void TCHN_Form_Channels::CHN_Btn_AddGroupClick() {
    if (TableFull()) {
        return;
    }
    pmr::ChannelEntry entry = pmr::NewGroupOf(NewEntry());
    entry.SetNumber(table_.NextNumber());
    EditEntry(entry, std::nullopt);
}

void TCHN_Form_Channels::CHN_Btn_EditChannelClick() {
    if (const auto selected = Selected()) {
        EditEntry(table_.At(*selected), selected);
    }
}

void TCHN_Form_Channels::CHN_Btn_DeleteChannelClick() {
    const auto selected = Selected();
    if (!selected || !pmr::DeleteAllowed(table_, *selected, person()) ||
        !ReferencesAllow(table_.At(*selected).Number(), kReferencedDeleteQuestion)) {
        return;
    }
    model_->Change(QStringLiteral("Delete"), static_cast<int>(*selected), [&] {
        table_.Remove(*selected);
        return true;
    });
    // The line above the deleted one is selected.
    const std::size_t above = *selected > 0 ? *selected - 1 : 0;
    ShowTable(table_.Empty() ? std::nullopt : std::optional<std::size_t>(above));
}

void TCHN_Form_Channels::EditEntry(pmr::ChannelEntry entry, std::optional<std::size_t> replacing) {
    const bool accepted =
        entry.IsGroup() ? RunGroupEditor(entry, replacing) : RunChannelEditor(entry, replacing);
    if (!accepted ||
        (replacing && table_.At(*replacing).Number() != entry.Number() &&
         !ReferencesAllow(table_.At(*replacing).Number(), kReferencedRenumberQuestion))) {
        return;
    }
    std::optional<std::size_t> position;
    const int where = replacing ? static_cast<int>(*replacing) : 0;
    model_->Change(replacing ? QStringLiteral("Edit") : QStringLiteral("Add"), where, [&] {
        position = replacing ? table_.Replace(*replacing, entry) : table_.Add(entry);
        return position.has_value();
    });
    if (position) {
        ShowTable(position);
    }
}

bool TCHN_Form_Channels::RunChannelEditor(pmr::ChannelEntry& entry,
                                          std::optional<std::size_t> replacing) {
    const pmr::ChannelEditContext context = EditContext(replacing);  // the editor keeps a reference
    TCEDT_Form editor(context, {state().UserLevelMask, ZoneMode()}, person(), this);
    editor.FillFromEditBuffer(entry);
    if (dialogs().Exec(editor) != QDialog::Accepted) {
        return false;
    }
    editor.ReadBackToEditBuffer(entry);
    return true;
}

pmr::ChannelEditContext TCHN_Form_Channels::EditContext(
    std::optional<std::size_t> replacing) const {
    return {table_,
            replacing,
            Band(),
            state().CountryCode,
            state().RadioTypeMask,
            LoadPmrHeader(workspace().pmr).radioTypeRow == kRowHmFPlus};
}

bool TCHN_Form_Channels::RunGroupEditor(pmr::ChannelEntry& entry,
                                        std::optional<std::size_t> replacing) {
    const pmr::GroupEditContext context{table_, replacing, state().RadioTypeMask,
                                        LoadPmrHeader(workspace().pmr).radioTypeRow == kRowHmFPlus};
    TGEDT_Form editor(context, person(), this);
    editor.FillFromEditBuffer(entry);
    if (dialogs().Exec(editor) != QDialog::Accepted) {
        return false;
    }
    editor.ReadBackToEditBuffer(entry);
    return true;
}

bool TCHN_Form_Channels::ReferencesAllow(int number, std::string_view question) {
    Options->StoreFields();  // the Goto and dual watch channels as the pages show them
    if (!pmr::ZonesList(Tab_CHN_Zones->Grids(), workspace().pmr, number) &&
        !pmr::ChannelOptionsName(workspace().pmr, number)) {
        return true;
    }
    std::string text(question);
    text.replace(text.find("%d"), 2, std::to_string(number));
    return person().Ask(text) == Answer::Yes;
}

// ---- The sheet -------------------------------------------------------------------------------

void TCHN_Form_Channels::ShowAsTable(bool table) {
    shownAsTable_ = table;
    if (table && !sheet_) {
        sheetModel_ =
            std::make_unique<ChannelSheetModel>(table_, [this] { return SheetContext(); });
        sheet_ = std::make_unique<ChannelSheetView>(
            *sheetModel_, dialogs(), [this](std::optional<std::size_t> position) {
                // Inserted channels copy the channel chosen, as Add Channel does.
                return position && *position < table_.Size() && !table_.At(*position).IsGroup()
                           ? table_.At(*position)
                           : NewEntry();
            });
        Tab_CHN_Channels.layout()->addWidget(sheet_.get());
        connect(sheetModel_.get(), &ChannelSheetModel::changed, this, [this] { SheetChanged(); });
        // The Edit menu's commands act on the sheet's rows as they do on the list's.
        ChannelRows rows{
            .selected = [this] { return sheet_->SelectedRows(); },
            .select = [this](const auto& positions) { sheet_->SelectRows(positions); },
            .change = [this](
                          const QString& text, std::optional<std::size_t>,
                          const std::function<bool()>& edit) { sheetModel_->Change(text, edit); },
        };
        sheetRows_ = std::make_unique<ChannelRowsClipboard>(
            sheet_->SHT_Grid_Channels, std::move(rows), table_, person(), dialogs(),
            [this] { return EditContext(std::nullopt); });
    }
    CHN_LBox_Channels.setVisible(!table);
    for (QPushButton* button :
         {&CHN_Btn_AddChannel, &CHN_Btn_AddGroup, &CHN_Btn_EditChannel, &CHN_Btn_DeleteChannel}) {
        button->setVisible(!table);
    }
    if (sheet_) {
        sheet_->setVisible(table);
        // Chosen from the menu on a form on screen: the keys go to the sheet at once.
        if (table && isVisible()) {
            sheet_->SHT_Grid_Channels.setFocus();
        }
    }
}

pmr::SheetContext TCHN_Form_Channels::SheetContext() const {
    const pmr::ChannelEditContext edit = EditContext(std::nullopt);
    return {.band = edit.band,
            .countryCode = edit.countryCode,
            .radioTypeMask = edit.radioTypeMask,
            .hmFPlus = edit.hmFPlus,
            .userLevelMask = state().UserLevelMask,
            .zoneMode = ZoneMode()};
}

void TCHN_Form_Channels::SheetChanged() {
    sheetChanging_ = true;
    model_->Reload();
    sheetChanging_ = false;
    QuietPerson quiet;
    pmr::StoreChannelTable(
        table_, pmr::StoreSettingsOf(workspace().pmr, state().RadioTypeMask, state().CountryCode),
        workspace().pmr, quiet);
}

KM_REGISTER_FORM(FormId::Channels, TCHN_Form_Channels);

}  // namespace km
