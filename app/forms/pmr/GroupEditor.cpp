#include "forms/pmr/GroupEditor.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/Person.h"
#include "forms/FieldBinder.h"
#include "forms/pmr/FieldExits.h"

namespace km {
namespace {

using pmr::GroupEditFields;
using pmr::GroupType;

constexpr const char* kCaption = "Group Editor";
constexpr const char* kTypeTexts[] = {"User Scan", "Fixed Scan", "Vote", "Multiax"};
constexpr int kNumberColumn = 0;
constexpr int kMemberColumn = 1;
constexpr int kDigits = 3;

std::string S(const QString& text) {
    return text.toStdString();
}

void DigitsOnly(QLineEdit& edit) {
    edit.setMaxLength(kDigits);
    edit.setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), &edit));
}

}  // namespace

TGEDT_Form::TGEDT_Form(const pmr::GroupEditContext& context, Person& person, QWidget* parent)
    : QDialog(parent), context_(context), person_(person), exits_(new FieldExits(*this)) {
    setObjectName("TGEDT_Form");
    setWindowTitle(kCaption);
    BuildLayout();
    Connect();
}

void TGEDT_Form::BuildLayout() {
    DigitsOnly(GEDT_Edit_ChanNumber);
    DigitsOnly(GEDT_Edit_ScanPriorityCh);
    GEDT_Edit_ChanName.setMaxLength(12);
    GEDT_RadioGrp_GroupType.setTitle("Group Type");
    auto* types = new QVBoxLayout(&GEDT_RadioGrp_GroupType);
    for (std::size_t t = 0; t < GEDT_Radio_GroupTypes.size(); ++t) {
        GEDT_Radio_GroupTypes[t].setText(kTypeTexts[t]);
        types_.addButton(&GEDT_Radio_GroupTypes[t], static_cast<int>(t));
        types->addWidget(&GEDT_Radio_GroupTypes[t]);
    }
    GEDT_CBox_SelcallEnabled.setText("Selcall Scanning");
    GEDT_CBox_ShowAsChannel.setText("Show As Channel");
    GEDT_BitBtn_OK.setText("OK");
    GEDT_BitBtn_Cancel.setText("Cancel");
    GEDT_BitBtn_OK.setAutoDefault(false);
    GEDT_BitBtn_Cancel.setAutoDefault(false);

    GEDT_StrGrid_ChanGroup.setColumnCount(2);
    GEDT_StrGrid_ChanGroup.setHorizontalHeaderLabels({"", "Channel"});
    GEDT_StrGrid_ChanGroup.verticalHeader()->hide();
    GEDT_StrGrid_ChanGroup.setSelectionMode(QAbstractItemView::SingleSelection);
    GEDT_StrGrid_ChanGroup.setItemDelegateForColumn(kMemberColumn,
                                                    new DigitsDelegate(kDigits, this));
    GEDT_StrGrid_ChanGroup.horizontalHeader()->setStretchLastSection(true);
    // Room for the member number ("16") and a channel number under "Channel", beside the
    // vertical scroll bar, so that neither column is cut.
    const QFontMetrics metrics(GEDT_StrGrid_ChanGroup.font());
    const int numberWidth =
        metrics.horizontalAdvance(QStringLiteral("16")) + 3 * metrics.averageCharWidth();
    const int memberWidth =
        metrics.horizontalAdvance(QStringLiteral("Channel")) + 4 * metrics.averageCharWidth();
    GEDT_StrGrid_ChanGroup.setColumnWidth(kNumberColumn, numberWidth);
    GEDT_StrGrid_ChanGroup.setMinimumWidth(
        numberWidth + memberWidth + GEDT_StrGrid_ChanGroup.verticalScrollBar()->sizeHint().width() +
        2 * GEDT_StrGrid_ChanGroup.frameWidth());

    auto* fields = new QFormLayout;
    fields->addRow("Channel Number", &GEDT_Edit_ChanNumber);
    fields->addRow("Name", &GEDT_Edit_ChanName);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(&GEDT_RadioGrp_GroupType);
    left->addWidget(&GEDT_CBox_SelcallEnabled);
    left->addWidget(&GEDT_CBox_ShowAsChannel);
    GEDT_Lbl_ScanPriorityCh.setText("Scan Priority Channel");
    auto* priority = new QHBoxLayout;
    priority->addWidget(&GEDT_Lbl_ScanPriorityCh);
    priority->addWidget(&GEDT_Edit_ScanPriorityCh);
    left->addLayout(priority);
    left->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(&GEDT_StrGrid_ChanGroup, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(&GEDT_BitBtn_OK);
    buttons->addWidget(&GEDT_BitBtn_Cancel);
    auto* dialog = new QVBoxLayout(this);
    dialog->addLayout(body);
    dialog->addLayout(buttons);
    resize(sizeHint().expandedTo(QSize(460, 520)));
}

void TGEDT_Form::Connect() {
    exits_->SetCancelButton(&GEDT_BitBtn_Cancel);
    exits_->OnExit(GEDT_Edit_ChanNumber, [this] { return GEDT_Edit_ChanNumberExit(); });
    exits_->OnExit(GEDT_Edit_ChanName, [this] { return GEDT_Edit_ChanNameExit(); });
    exits_->OnExit(GEDT_Edit_ScanPriorityCh, [this] { return GEDT_Edit_ScanPriorityChExit(); });
    for (QRadioButton& type : GEDT_Radio_GroupTypes) {
        exits_->OnExit(type, [this] { return GEDT_RadioGrp_GroupTypeExit(); });
    }
    exits_->EnterMovesFocus(GEDT_CBox_SelcallEnabled);
    exits_->EnterMovesFocus(GEDT_CBox_ShowAsChannel);
    connect(&types_, &QButtonGroup::idClicked, this, [this] { GEDT_RadioGrp_GroupTypeClick(); });
    connect(&GEDT_StrGrid_ChanGroup, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (movingCell_ || previousRow < 0 || row == previousRow) {
                    return;
                }
                if (!GEDT_StrGrid_ChanGroupSelectCell(previousRow)) {
                    movingCell_ = true;
                    GEDT_StrGrid_ChanGroup.setCurrentCell(previousRow, kMemberColumn);
                    movingCell_ = false;
                }
            });
    GEDT_StrGrid_ChanGroup.installEventFilter(this);
    connect(&GEDT_BitBtn_OK, &QPushButton::clicked, this, [this] { GEDT_BitBtn_OKClick(); });
    connect(&GEDT_BitBtn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TGEDT_Form::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the grid checks the cell being left, as selecting another cell does.
    if (watched == &GEDT_StrGrid_ChanGroup && event->type() == QEvent::FocusOut &&
        QApplication::focusWidget() != &GEDT_BitBtn_Cancel &&
        !GEDT_StrGrid_ChanGroup.isAncestorOf(QApplication::focusWidget())) {
        const int row = GEDT_StrGrid_ChanGroup.currentRow();
        if (row >= 0 && !GEDT_StrGrid_ChanGroupSelectCell(row)) {
            GEDT_StrGrid_ChanGroup.setFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Fill and read back ----

void TGEDT_Form::FillFromEditBuffer(const pmr::ChannelEntry& entry) {
    const GroupEditFields fields = pmr::GroupFieldsOf(entry);
    GEDT_Edit_ChanNumber.setText(ToQString(fields.number));
    GEDT_Edit_ChanName.setText(ToQString(fields.name));
    GEDT_Radio_GroupTypes[static_cast<std::size_t>(fields.type)].setChecked(true);
    GEDT_CBox_SelcallEnabled.setChecked(fields.selcallScan);
    GEDT_CBox_ShowAsChannel.setChecked(fields.showAsChannel);
    GEDT_Edit_ScanPriorityCh.setText(ToQString(fields.priority));
    GEDT_StrGrid_ChanGroup.setRowCount(pmr::kGroupMembers);
    for (int row = 0; row < pmr::kGroupMembers; ++row) {
        auto* number = new QTableWidgetItem(QString::number(row + 1));
        number->setFlags(Qt::ItemIsEnabled);
        GEDT_StrGrid_ChanGroup.setItem(row, kNumberColumn, number);
        GEDT_StrGrid_ChanGroup.setItem(
            row, kMemberColumn,
            new QTableWidgetItem(ToQString(fields.members[static_cast<std::size_t>(row)])));
    }
    ShowType(fields.type);
    GEDT_CBox_ShowAsChannel.setVisible(
        pmr::ShowAsChannelVisible(fields.type, context_.radioTypeMask));
}

void TGEDT_Form::ReadBackToEditBuffer(pmr::ChannelEntry& entry) const {
    entry = pmr::ReadBackGroup(Fields(), context_.radioTypeMask);
}

GroupEditFields TGEDT_Form::Fields() const {
    GroupEditFields fields;
    fields.number = S(GEDT_Edit_ChanNumber.text());
    fields.name = S(GEDT_Edit_ChanName.text());
    fields.type = ChosenType();
    fields.selcallScan = GEDT_CBox_SelcallEnabled.isChecked();
    fields.showAsChannel = GEDT_CBox_ShowAsChannel.isChecked();
    fields.priority = S(GEDT_Edit_ScanPriorityCh.text());
    fields.wideNameKept = wideNameKept_;
    const int rows = std::min(GEDT_StrGrid_ChanGroup.rowCount(), pmr::kGroupMembers);
    for (int row = 0; row < rows; ++row) {
        if (const QTableWidgetItem* item = GEDT_StrGrid_ChanGroup.item(row, kMemberColumn)) {
            fields.members[static_cast<std::size_t>(row)] = S(item->text());
        }
    }
    return fields;
}

GroupType TGEDT_Form::ChosenType() const {
    const int id = types_.checkedId();
    return id < 0 ? GroupType::FixedScan : static_cast<GroupType>(id);
}

void TGEDT_Form::ShowType(GroupType type) {
    const int rows = pmr::MemberRows(type);
    for (int row = 0; row < pmr::kGroupMembers; ++row) {
        GEDT_StrGrid_ChanGroup.setRowHidden(row, row >= rows);
    }
    const bool scan = rows < pmr::kGroupMembers;
    GEDT_Lbl_ScanPriorityCh.setVisible(scan);
    GEDT_Edit_ScanPriorityCh.setVisible(scan);
    GEDT_CBox_SelcallEnabled.setVisible(scan);
}

// ---- Rules ----

bool TGEDT_Form::GEDT_Edit_ChanNumberExit() {
    return pmr::GroupNumberLeft(Fields(), context_, person_);
}

bool TGEDT_Form::GEDT_Edit_ChanNameExit() {
    GroupEditFields fields = Fields();
    const bool passed = pmr::GroupNameLeft(fields, context_, person_);
    wideNameKept_ = fields.wideNameKept;
    if (ToQString(fields.name) != GEDT_Edit_ChanName.text()) {
        GEDT_Edit_ChanName.setText(ToQString(fields.name));  // shortened to what fits, as chosen
    }
    return passed;
}

void TGEDT_Form::GEDT_RadioGrp_GroupTypeClick() {
    GroupEditFields fields = Fields();
    pmr::GroupTypeChosen(fields, context_.radioTypeMask);
    GEDT_CBox_ShowAsChannel.setChecked(fields.showAsChannel);
    GEDT_CBox_ShowAsChannel.setVisible(
        pmr::ShowAsChannelVisible(fields.type, context_.radioTypeMask));
    ShowType(fields.type);
}

bool TGEDT_Form::GEDT_RadioGrp_GroupTypeExit() {
    // Moving between the type's own buttons is no leave.
    if (GEDT_RadioGrp_GroupType.isAncestorOf(QApplication::focusWidget())) {
        return true;
    }
    return pmr::GroupTypeLeft(Fields(), context_, person_);
}

bool TGEDT_Form::GEDT_Edit_ScanPriorityChExit() {
    return pmr::PriorityLeft(Fields(), person_);
}

bool TGEDT_Form::GEDT_StrGrid_ChanGroupSelectCell(int row) {
    if (row < 0 || row >= pmr::kGroupMembers) {
        return true;
    }
    return pmr::MemberLeft(Fields(), static_cast<std::size_t>(row), context_, person_);
}

void TGEDT_Form::GEDT_BitBtn_OKClick() {
    const int row = GEDT_StrGrid_ChanGroup.currentRow();
    if (row >= 0 && !GEDT_StrGrid_ChanGroupSelectCell(row)) {
        return;
    }
    if (pmr::GroupTypeLeft(Fields(), context_, person_) &&
        pmr::FinalGroupCheck(Fields(), context_, person_)) {
        accept();
    }
}

}  // namespace km
