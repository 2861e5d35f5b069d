#include "forms/pmr/ZoneEditor.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "core/Person.h"
#include "forms/FieldBinder.h"
#include "forms/pmr/FieldExits.h"
#include "image/State.h"

namespace km {
namespace {

constexpr int kZoneNumberColumn = 0;
constexpr int kZoneNameColumn = 1;
constexpr int kIndexColumn = 0;
constexpr int kChannelColumn = 1;
constexpr int kChannelNameColumn = 2;
constexpr int kDialColumn = 3;  // beyond the visible width; the program never fills it
constexpr int kNameLength = 12;
constexpr int kChannelDigits = 3;

QTableWidgetItem* FixedItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

void PrepareGrid(QTableWidget& grid, int rows, const QStringList& titles) {
    grid.setColumnCount(static_cast<int>(titles.size()));
    grid.setRowCount(rows);
    grid.setHorizontalHeaderLabels(titles);
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.verticalHeader()->setDefaultSectionSize(grid.fontMetrics().height() + 6);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setEditTriggers(QAbstractItemView::AllEditTriggers);
}

}  // namespace

TZEDT_Form::TZEDT_Form(const pmr::ChannelTable& table, Workspace& workspace, Person& person,
                       QWidget* parent)
    : QWidget(parent), table_(table), workspace_(workspace), person_(person) {
    setObjectName("TZEDT_Form");
    ZONE_CBox_ZoneMode.setObjectName("ZONE_CBox_ZoneMode");
    ZONE_StrGrid_Zones.setObjectName("ZONE_StrGrid_Zones");
    ZONE_StrGrid_Channels.setObjectName("ZONE_StrGrid_Channels");
    BuildLayout();
    Connect();
    committed_ = Taken();
}

void TZEDT_Form::BuildLayout() {
    ZONE_CBox_ZoneMode.setText("Zone Mode");

    PrepareGrid(ZONE_StrGrid_Zones, pmr::kZones, {"Zone", "Name"});
    ZONE_StrGrid_Zones.setItemDelegateForColumn(kZoneNameColumn,
                                                new TextDelegate(kNameLength, this));
    for (int row = 0; row < pmr::kZones; ++row) {
        ZONE_StrGrid_Zones.setItem(row, kZoneNumberColumn, FixedItem(QString::number(row + 1)));
        ZONE_StrGrid_Zones.setItem(row, kZoneNameColumn, new QTableWidgetItem);
    }
    ZONE_StrGrid_Zones.setColumnWidth(kZoneNumberColumn, 50);
    ZONE_StrGrid_Zones.setColumnWidth(kZoneNameColumn, 130);
    ZONE_StrGrid_Zones.setFixedWidth(200);

    PrepareGrid(ZONE_StrGrid_Channels, pmr::kZonePositions,
                {"Index", "Channel", "Channel Name", ""});
    ZONE_StrGrid_Channels.setItemDelegateForColumn(kChannelColumn,
                                                   new DigitsDelegate(kChannelDigits, this));
    for (int row = 0; row < pmr::kZonePositions; ++row) {
        ZONE_StrGrid_Channels.setItem(row, kIndexColumn, FixedItem(QString::number(row + 1)));
        ZONE_StrGrid_Channels.setItem(row, kChannelColumn, new QTableWidgetItem);
        ZONE_StrGrid_Channels.setItem(row, kChannelNameColumn, FixedItem({}));
        ZONE_StrGrid_Channels.setItem(row, kDialColumn, FixedItem({}));
    }
    ZONE_StrGrid_Channels.setColumnHidden(kDialColumn, true);
    ZONE_StrGrid_Channels.setColumnWidth(kIndexColumn, 50);
    ZONE_StrGrid_Channels.setColumnWidth(kChannelColumn, 70);
    ZONE_StrGrid_Channels.horizontalHeader()->setSectionResizeMode(kChannelNameColumn,
                                                                   QHeaderView::Stretch);
    ZONE_StrGrid_Channels.setMinimumWidth(300);
    ZONE_StrGrid_Channels.setToolTip(ToQString(pmr::kZoneChannelsHint));

    auto* grids = new QHBoxLayout;
    grids->addWidget(&ZONE_StrGrid_Zones);
    grids->addWidget(&ZONE_StrGrid_Channels, 1);
    auto* page = new QVBoxLayout(this);
    page->addWidget(&ZONE_CBox_ZoneMode);
    page->addLayout(grids, 1);
}

void TZEDT_Form::Connect() {
    connect(&ZONE_StrGrid_Zones, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (leftFailing_ && previousRow >= 0) {
                    const QSignalBlocker blocker(ZONE_StrGrid_Zones);
                    ZONE_StrGrid_Zones.setCurrentCell(previousRow, kZoneNameColumn);
                    return;
                }
                if (row >= 0 && row != previousRow) {
                    ZONE_StrGrid_ZonesSelectCell(row);
                }
            });
    // The channel cell is checked whenever the focus leaves the channel grid, from the grid or
    // from the editor over its cell (which holds the focus while a number is typed), for the
    // zone names, another page or any other control of the window.
    focusWatch_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            const auto inChannels = [this](const QWidget* widget) {
                return widget != nullptr && (widget == &ZONE_StrGrid_Channels ||
                                             ZONE_StrGrid_Channels.isAncestorOf(widget));
            };
            const int row = ZONE_StrGrid_Channels.currentRow();
            // A message box or another window taking the focus is no leaving of the grid.
            if (!inChannels(old) || now == nullptr || inChannels(now) ||
                now->window() != window() || row < 0 || ZONE_StrGrid_ChannelsCellExit(row)) {
                return;
            }
            leftFailing_ = true;
            QTimer::singleShot(0, this, [this] {
                leftFailing_ = false;
                ZONE_StrGrid_Channels.setFocus();
            });
        });
    connect(&ZONE_StrGrid_Channels, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int previousColumn) {
                if (selecting_ || previousRow < 0 || previousColumn != kChannelColumn ||
                    row == previousRow) {
                    return;
                }
                if (!ZONE_StrGrid_ChannelsCellExit(previousRow)) {
                    selecting_ = true;
                    ZONE_StrGrid_Channels.setCurrentCell(previousRow, kChannelColumn);
                    selecting_ = false;
                }
            });
    ZONE_StrGrid_Channels.installEventFilter(this);
    // Texts a load or a zone selection shows come with the grids' signals blocked: only edits
    // reach here.
    for (QTableWidget* grid : {&ZONE_StrGrid_Zones, &ZONE_StrGrid_Channels}) {
        connect(grid, &QTableWidget::itemChanged, this, [this] {
            if (undo::Recorded(*this)) {
                undo::CommitSoon(*this);
            }
        });
    }
    connect(&ZONE_CBox_ZoneMode, &QCheckBox::toggled, this, [this] {
        if (undo::Recorded(*this)) {
            undo::CommitSoon(*this);
        }
    });
}

// ---- Undo ------------------------------------------------------------------------------------

class TZEDT_Form::Step : public undo::DoneStep {
  public:
    Step(TZEDT_Form& form, Snapshot before, Snapshot after)
        : DoneStep("Zones"), form_(&form), before_(std::move(before)), after_(std::move(after)) {}

  private:
    void Redo() override { Put(after_); }
    void Undo() override { Put(before_); }
    void Put(const Snapshot& snapshot) {
        if (form_ != nullptr) {
            form_->Restore(snapshot);
        }
    }
    QPointer<TZEDT_Form> form_;
    Snapshot before_;
    Snapshot after_;
};

TZEDT_Form::Snapshot TZEDT_Form::Taken() const {
    const auto records =
        workspace_.pmr.Bytes().subspan(pmr::kZoneRecords, pmr::kZones * pmr::kZoneSize);
    return {Grids(), {records.begin(), records.end()}};
}

void TZEDT_Form::Restore(const Snapshot& snapshot) {
    workspace_.pmr.Write(pmr::kZoneRecords, snapshot.zoneRecords);
    Show(snapshot.grids);
    const QSignalBlocker blocker(ZONE_StrGrid_Zones);
    ZONE_StrGrid_Zones.setCurrentCell(snapshot.grids.currentZone, kZoneNameColumn);
    committed_ = snapshot;
}

void TZEDT_Form::Commit() {
    Snapshot now = Taken();
    // A store pass rewrites the zone records from the grids; only what the grids show is an edit.
    if (now.grids != committed_.grids) {
        undo::Push(std::make_unique<Step>(*this, std::move(committed_), now));
    }
    committed_ = std::move(now);
}

void TZEDT_Form::Rebase() {
    committed_ = Taken();
}

TZEDT_Form::~TZEDT_Form() {
    disconnect(focusWatch_);
    ZONE_StrGrid_Channels.removeEventFilter(this);
}

bool TZEDT_Form::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &ZONE_StrGrid_Channels) {
        return QWidget::eventFilter(watched, event);
    }
    const int row = ZONE_StrGrid_Channels.currentRow();
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && row >= 0 &&
            ZONE_StrGrid_ChannelsCellExit(row)) {
            // Enter moves to the next row; on the last row, to the row above.
            const int next = row + 1 < pmr::kZonePositions ? row + 1 : row - 1;
            selecting_ = true;
            ZONE_StrGrid_Channels.setCurrentCell(next, kChannelColumn);
            selecting_ = false;
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Passes ----------------------------------------------------------------------------------

void TZEDT_Form::LoadPass() {
    pmr::ZoneGrids grids;
    pmr::LoadZones(workspace_.pmr, grids);
    Show(grids);
    const QSignalBlocker blocker(ZONE_StrGrid_Zones);
    ZONE_StrGrid_Zones.setCurrentCell(0, kZoneNameColumn);
    Rebase();
}

void TZEDT_Form::StorePass() {
    pmr::StoreZones(Grids(), pmr::ZoneSwitchesOf(workspace_.pmr), workspace_.pmr);
}

bool TZEDT_Form::CheckFocusedCell() {
    QWidget* focus = QApplication::focusWidget();
    bool inChannels = false;
    for (QTableWidget* grid : {&ZONE_StrGrid_Zones, &ZONE_StrGrid_Channels}) {
        if (focus != nullptr && (focus == grid || grid->isAncestorOf(focus))) {
            inChannels = grid == &ZONE_StrGrid_Channels;
            if (focus != grid) {
                focus->clearFocus();  // the cell editor gives its text to the cell
            }
        }
    }
    const int row = ZONE_StrGrid_Channels.currentRow();
    return !inChannels || row < 0 || ZONE_StrGrid_ChannelsCellExit(row);
}

void TZEDT_Form::Import(const pmr::ZonesImport& import) {
    pmr::ZoneGrids grids = Grids();
    pmr::ApplyZonesImport(import, workspace_.pmr, grids);
    Show(grids);
    const QSignalBlocker blocker(ZONE_StrGrid_Zones);
    ZONE_StrGrid_Zones.setCurrentCell(0, kZoneNameColumn);
}

pmr::ZoneGrids TZEDT_Form::Grids() const {
    pmr::ZoneGrids grids;
    for (int row = 0; row < pmr::kZones; ++row) {
        grids.names[static_cast<std::size_t>(row)] =
            Cell(ZONE_StrGrid_Zones, row, kZoneNameColumn).toStdString();
    }
    for (int row = 0; row < pmr::kZonePositions; ++row) {
        grids.channels[static_cast<std::size_t>(row)] =
            Cell(ZONE_StrGrid_Channels, row, kChannelColumn).toStdString();
    }
    grids.currentZone = currentZone_;
    grids.zoneMode = ZONE_CBox_ZoneMode.isChecked();
    return grids;
}

void TZEDT_Form::Show(const pmr::ZoneGrids& grids) {
    const QSignalBlocker zones(ZONE_StrGrid_Zones);
    const QSignalBlocker channels(ZONE_StrGrid_Channels);
    ZONE_CBox_ZoneMode.setChecked(grids.zoneMode);
    for (int row = 0; row < pmr::kZones; ++row) {
        SetCell(ZONE_StrGrid_Zones, row, kZoneNameColumn,
                ToQString(grids.names[static_cast<std::size_t>(row)]));
    }
    for (int row = 0; row < pmr::kZonePositions; ++row) {
        SetCell(ZONE_StrGrid_Channels, row, kChannelColumn,
                ToQString(grids.channels[static_cast<std::size_t>(row)]));
        ShowChannelName(row);
    }
    currentZone_ = grids.currentZone;
}

void TZEDT_Form::ShowChannelName(int row) {
    SetCell(ZONE_StrGrid_Channels, row, kChannelNameColumn,
            ToQString(pmr::ZoneChannelName(
                table_, Cell(ZONE_StrGrid_Channels, row, kChannelColumn).toStdString())));
}

QString TZEDT_Form::Cell(const QTableWidget& grid, int row, int column) const {
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

void TZEDT_Form::SetCell(QTableWidget& grid, int row, int column, const QString& text) {
    if (QTableWidgetItem* item = grid.item(row, column)) {
        item->setText(text);
    }
}

// ---- Handlers --------------------------------------------------------------------------------

void TZEDT_Form::ZONE_StrGrid_ZonesSelectCell(int row) {
    // An edit of the zone being left is a step of its own; showing another zone is no edit.
    Commit();
    pmr::ZoneGrids grids = Grids();
    pmr::SelectZone(grids, row, workspace_.ZoneReload, workspace_.pmr);
    Show(grids);
    Rebase();
}

bool TZEDT_Form::ZONE_StrGrid_ChannelsCellExit(int row) {
    const std::string channel = Cell(ZONE_StrGrid_Channels, row, kChannelColumn).toStdString();
    const bool passed = pmr::ZoneChannelLeft(channel, table_, person_);
    if (passed) {
        ShowChannelName(row);
    } else {
        SetCell(ZONE_StrGrid_Channels, row, kChannelNameColumn, {});
    }
    return passed;
}

}  // namespace km
