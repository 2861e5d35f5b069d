#include "forms/text/TxtForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <array>

#include "config/FieldRoutines.h"
#include "forms/FieldBinder.h"

namespace km {
namespace {

constexpr const char* kFormCaption = "Text Strings";
constexpr const char* kMessagesTabCaption = "Mobile's Text Messages";
constexpr const char* kMenusTabCaption = "Menu Text";
constexpr const char* kEditTabCaption = "Edit Function Text";
constexpr const char* kNextTabCaption = "Next Form -->";
constexpr const char* kGeneralCaption = "General";
constexpr const char* kMenusCaption = "Menus";
constexpr const char* kEditFunctionsCaption = "Edit Functions ";
constexpr const char* kCtcssCaption = "CTCSS Tone Names";
constexpr const char* kDefaultsCaption = "Defaults";

constexpr int kLabelColumn = 0;
constexpr int kTextColumn = 1;
constexpr Qt::ItemFlags kTextFlags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
constexpr int kLabelColumnWidth = 100;
constexpr int kTextColumnWidth = 110;
// The key filter of the grids: any printable character.
constexpr int kPrintableKeys = 1;
constexpr char32_t kDeleteCharacter = 0x7F;

// Edits a text cell: printable characters only, up to the grid's limit; a refused character
// beeps and is dropped, control characters pass. Every keystroke reaches the grid at once, so a
// store never misses a text still being typed.
class TextCellDelegate : public QStyledItemDelegate {
  public:
    TextCellDelegate(std::size_t limit, Person& person, QObject* parent)
        : QStyledItemDelegate(parent), limit_(limit), person_(person) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            // A paste is cut to what the field holds.
            line->setMaxLength(static_cast<int>(limit_));
            auto* self = const_cast<TextCellDelegate*>(this);
            connect(line, &QLineEdit::textEdited, self,
                    [self, line] { emit self->commitData(line); });
        }
        return editor;
    }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* line = qobject_cast<QLineEdit*>(object);
        if (line && event->type() == QEvent::KeyPress &&
            !KeyAllowed(*line, *static_cast<QKeyEvent*>(event))) {
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

  private:
    bool KeyAllowed(const QLineEdit& line, const QKeyEvent& key) const {
        // Typing over a selection replaces it.
        std::size_t length =
            static_cast<std::size_t>(line.text().size() - line.selectedText().size());
        for (char32_t c : key.text().toUcs4()) {
            if (c == kDeleteCharacter) {
                continue;  // the Delete key is editing, not typing
            }
            if (!KeyAllowedWithin(kPrintableKeys, c, length, limit_, person_)) {
                return false;
            }
            length += c >= 32 ? 1 : 0;
        }
        return true;
    }

    std::size_t limit_;
    Person& person_;
};

QTableWidgetItem* LabelItem(std::string_view text) {
    auto* item = new QTableWidgetItem(ToQString(text));
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

}  // namespace

TForm_TXT_Strings::TForm_TXT_Strings(const FormContext& context, QWidget* parent)
    : ConfigForm(context, parent) {
    setObjectName("TForm_TXT_Strings");
    setWindowTitle(kFormCaption);
    const std::pair<QObject*, const char*> controls[] = {
        {&Page_TXT_TextStrings, "Page_TXT_TextStrings"},
        {&Tab_TXT1_Text1, "Tab_TXT1_Text1"},
        {&Tab_TXT3_Text3, "Tab_TXT3_Text3"},
        {&Tab_TXT2_Text2, "Tab_TXT2_Text2"},
        {&Tab_TXT_Next, "Tab_TXT_Next"},
        {&Lbl_TXT1_General, "Lbl_TXT1_General"},
        {&StrGrid_TXT1_12char, "StrGrid_TXT1_12char"},
        {&Btn_TXT_DefaultText, "Btn_TXT_DefaultText"},
        {&Lbl_TXT3_Menus, "Lbl_TXT3_Menus"},
        {&StrGrid_TXT3_MenuNames, "StrGrid_TXT3_MenuNames"},
        {&Btn_TXT3_MenuDefaults, "Btn_TXT3_MenuDefaults"},
        {&Lbl_TXT2_EditFunctions, "Lbl_TXT2_EditFunctions"},
        {&StrGrid_TXT4_EditFunctions, "StrGrid_TXT4_EditFunctions"},
        {&Btn_TXT2_Defaults, "Btn_TXT2_Defaults"},
        {&Lbl_TXT4_CTCSSToneNames, "Lbl_TXT4_CTCSSToneNames"},
        {&StrGrid_TXT4_CTCSSToneNames, "StrGrid_TXT4_CTCSSToneNames"},
        {&Btn_TXT4_DefaultCTCSStext, "Btn_TXT4_DefaultCTCSStext"},
    };
    for (const auto& [control, name] : controls) {
        control->setObjectName(name);
    }
    for (TextGrid grid : kTextGrids) {
        PrepareGrid(grid);
    }
    FillLabels();
    BuildLayout();
    for (TextGrid grid : kTextGrids) {
        edits_.push_back(std::make_unique<undo::TableCells>(GridOf(grid)));
    }

    connect(&Btn_TXT_DefaultText, &QPushButton::clicked, this,
            [this] { Btn_TXT_DefaultTextClick(); });
    connect(&Btn_TXT3_MenuDefaults, &QPushButton::clicked, this,
            [this] { Btn_TXT3_MenuDefaultsClick(); });
    connect(&Btn_TXT2_Defaults, &QPushButton::clicked, this, [this] { Btn_TXT2_DefaultsClick(); });
    connect(&Btn_TXT4_DefaultCTCSStext, &QPushButton::clicked, this,
            [this] { Btn_TXT4_DefaultCTCSStextClick(); });
    for (QWidget* control : std::initializer_list<QWidget*>{
             &Page_TXT_TextStrings, &Btn_TXT_DefaultText, &Btn_TXT3_MenuDefaults,
             &Btn_TXT2_Defaults, &Btn_TXT4_DefaultCTCSStext}) {
        control->installEventFilter(this);
    }
}

QTableWidget& TForm_TXT_Strings::GridOf(TextGrid grid) {
    switch (grid) {
        case TextGrid::Messages:
            return StrGrid_TXT1_12char;
        case TextGrid::Menus:
            return StrGrid_TXT3_MenuNames;
        case TextGrid::EditFunctions:
            return StrGrid_TXT4_EditFunctions;
        case TextGrid::CtcssNames:
            break;
    }
    return StrGrid_TXT4_CTCSSToneNames;
}

QStringList TForm_TXT_Strings::TextsOf(TextGrid grid) {
    QTableWidget& table = GridOf(grid);
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row) {
        texts.push_back(table.item(row, kTextColumn)->text());
    }
    return texts;
}

// Two columns, no headers: the fixed label and the text, which a delegate edits.
void TForm_TXT_Strings::PrepareGrid(TextGrid grid) {
    QTableWidget& table = GridOf(grid);
    const int rows = static_cast<int>(GridRowCount(grid));
    table.setColumnCount(2);
    table.setRowCount(rows);
    table.horizontalHeader()->hide();
    table.verticalHeader()->hide();
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 6);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    table.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    table.setItemDelegateForColumn(kTextColumn,
                                   new TextCellDelegate(TextLimit(grid), person(), &table));
    const QBrush fixed = table.palette().button();
    for (int row = 0; row < rows; ++row) {
        QTableWidgetItem* label = LabelItem("");
        label->setBackground(fixed);
        table.setItem(row, kLabelColumn, label);
        table.setItem(row, kTextColumn, new QTableWidgetItem);
    }
}

// The label column is 100 pixels and the text column 110, wider only when the font needs more
// for a label or for twelve characters; the grid is as wide as its columns, its frame and its
// scroll bar, so that nothing is cut off, and never taller than its rows.
void TForm_TXT_Strings::SizeGrid(QTableWidget& table) {
    const QFontMetrics metrics = table.fontMetrics();
    const int padding = 2 * metrics.horizontalAdvance(' ') + 6;
    int labelWidth = kLabelColumnWidth;
    for (int row = 0; row < table.rowCount(); ++row) {
        labelWidth = std::max(
            labelWidth, metrics.horizontalAdvance(table.item(row, kLabelColumn)->text()) + padding);
    }
    const int textWidth = std::max(kTextColumnWidth, 12 * metrics.averageCharWidth() + padding);
    table.setColumnWidth(kLabelColumn, labelWidth);
    table.setColumnWidth(kTextColumn, textWidth);
    table.setFixedWidth(labelWidth + textWidth + 2 * table.frameWidth() +
                        table.verticalScrollBar()->sizeHint().width());
    // A grid whose rows all fit ends with its last row.
    table.setMaximumHeight(table.rowCount() * table.verticalHeader()->defaultSectionSize() +
                           2 * table.frameWidth());
}

void TForm_TXT_Strings::BuildLayout() {
    Lbl_TXT1_General.setText(kGeneralCaption);
    Lbl_TXT3_Menus.setText(kMenusCaption);
    Lbl_TXT2_EditFunctions.setText(kEditFunctionsCaption);
    Lbl_TXT4_CTCSSToneNames.setText(kCtcssCaption);
    for (QPushButton* button : {&Btn_TXT_DefaultText, &Btn_TXT3_MenuDefaults, &Btn_TXT2_Defaults,
                                &Btn_TXT4_DefaultCTCSStext}) {
        button->setText(kDefaultsCaption);
    }

    // One column of a tab: its caption, its grid and its Defaults button under the grid.
    auto column = [](QLabel& caption, QTableWidget& grid, QPushButton& button) {
        auto* layout = new QVBoxLayout;
        layout->addWidget(&caption);
        layout->addWidget(&grid, 1);
        layout->addWidget(&button, 0, Qt::AlignLeft);
        layout->addStretch();
        return layout;
    };
    auto page = [](QWidget& tab, std::initializer_list<QVBoxLayout*> columns) {
        auto* layout = new QHBoxLayout(&tab);
        for (QVBoxLayout* c : columns) {
            layout->addLayout(c);
            layout->addSpacing(24);
        }
        layout->addStretch(1);
    };
    page(Tab_TXT1_Text1, {column(Lbl_TXT1_General, StrGrid_TXT1_12char, Btn_TXT_DefaultText)});
    page(Tab_TXT3_Text3, {column(Lbl_TXT3_Menus, StrGrid_TXT3_MenuNames, Btn_TXT3_MenuDefaults)});
    page(Tab_TXT2_Text2,
         {column(Lbl_TXT2_EditFunctions, StrGrid_TXT4_EditFunctions, Btn_TXT2_Defaults),
          column(Lbl_TXT4_CTCSSToneNames, StrGrid_TXT4_CTCSSToneNames, Btn_TXT4_DefaultCTCSStext)});

    Page_TXT_TextStrings.addTab(&Tab_TXT1_Text1, kMessagesTabCaption);
    Page_TXT_TextStrings.addTab(&Tab_TXT3_Text3, kMenusTabCaption);
    Page_TXT_TextStrings.addTab(&Tab_TXT2_Text2, kEditTabCaption);
    // The last tab of the forms leads to the next form; this form is the last and never shows it.
    Page_TXT_TextStrings.setTabVisible(Page_TXT_TextStrings.addTab(&Tab_TXT_Next, kNextTabCaption),
                                       false);
    auto* form = new QVBoxLayout(this);
    form->addWidget(&Page_TXT_TextStrings);
}

bool TForm_TXT_Strings::eventFilter(QObject* watched, QEvent* event) {
    return MoveOnAtEnter(*event) || ConfigForm::eventFilter(watched, event);
}

bool TForm_TXT_Strings::TextView() const {
    return state().ImageKind == kImageTrunk || state().ImageKind == kImagePmr;
}

fields::ImageId TForm_TXT_Strings::ImageOfView() const {
    return state().ImageKind == kImagePmr ? fields::ImageId::Pmr : fields::ImageId::Trunk;
}

std::span<std::uint8_t> TForm_TXT_Strings::BytesOfView() const {
    return state().ImageKind == kImagePmr ? workspace().pmr.Bytes() : workspace().trunk.Bytes();
}

void TForm_TXT_Strings::FillLabels() {
    for (TextGrid grid : kTextGrids) {
        QTableWidget& table = GridOf(grid);
        const auto labels = TextLabels(grid, ImageOfView());
        for (int row = 0; row < table.rowCount(); ++row) {
            const auto r = static_cast<std::size_t>(row);
            table.item(row, kLabelColumn)->setText(ToQString(r < labels.size() ? labels[r] : ""));
        }
        SizeGrid(table);
    }
}

// ---- Passes ----------------------------------------------------------------------------------

void TForm_TXT_Strings::LoadPass() {
    if (!TextView()) {
        return;
    }
    for (TextGrid grid : kTextGrids) {
        QTableWidget& table = GridOf(grid);
        const auto texts = LoadTexts(grid, ImageOfView(), BytesOfView());
        // Rows without a record in the image (the trunk job's last six edit functions) stay
        // empty and take no typing: nothing typed there could be kept.
        for (int row = 0; row < table.rowCount(); ++row) {
            const auto r = static_cast<std::size_t>(row);
            QTableWidgetItem* item = table.item(row, kTextColumn);
            item->setText(r < texts.size() ? ToQString(texts[r]) : QString());
            item->setFlags(r < texts.size() ? kTextFlags : Qt::ItemIsEnabled);
            item->setBackground(r < texts.size() ? QBrush() : table.palette().button());
        }
    }
    FillLabels();
}

void TForm_TXT_Strings::StorePass() {
    if (!TextView()) {
        return;
    }
    for (TextGrid grid : kTextGrids) {
        std::vector<std::string> texts;
        for (const QString& text : TextsOf(grid)) {
            texts.push_back(text.toStdString());
        }
        StoreTexts(grid, ImageOfView(), BytesOfView(), texts);
    }
    WriteEditDisplayRows(ImageOfView(), BytesOfView());
}

void TForm_TXT_Strings::RefreshVisibility() {
    const bool tones = state().ImageKind == kImagePmr;
    Lbl_TXT4_CTCSSToneNames.setVisible(tones);
    StrGrid_TXT4_CTCSSToneNames.setVisible(tones);
    Btn_TXT4_DefaultCTCSStext.setVisible(tones);
}

void TForm_TXT_Strings::ShowFirstPage() {
    FillLabels();
    Page_TXT_TextStrings.setCurrentIndex(0);
}

void TForm_TXT_Strings::BeforeRadioTypeChange() {
    StorePass();
}

void TForm_TXT_Strings::RadioTypeChanged(const RadioTypeChange& /*change*/) {
    LoadPass();
}

// ---- Handlers --------------------------------------------------------------------------------

void TForm_TXT_Strings::ShowDefaults(TextGrid grid) {
    QTableWidget& table = GridOf(grid);
    const auto texts =
        DefaultTexts(grid, ImageOfView(), state().RadioTypeMask, DefaultsCause::Button);
    for (std::size_t r = 0; r < texts.size() && r < static_cast<std::size_t>(table.rowCount());
         ++r) {
        table.item(static_cast<int>(r), kTextColumn)->setText(ToQString(texts[r]));
    }
}

void TForm_TXT_Strings::Btn_TXT_DefaultTextClick() {
    ShowDefaults(TextGrid::Messages);
}

void TForm_TXT_Strings::Btn_TXT3_MenuDefaultsClick() {
    ShowDefaults(TextGrid::Menus);
}

void TForm_TXT_Strings::Btn_TXT2_DefaultsClick() {
    ShowDefaults(TextGrid::EditFunctions);
}

void TForm_TXT_Strings::Btn_TXT4_DefaultCTCSStextClick() {
    ShowDefaults(TextGrid::CtcssNames);
}

KM_REGISTER_FORM(FormId::TextStrings, TForm_TXT_Strings);

}  // namespace km
