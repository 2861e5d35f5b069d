#pragma once
// The zones page of the Channel Options form (`TZEDT_Form`): the zone names grid, the channels of
// the zone selected in it and the zone mode box. The grids are what pmr/Zones.h calls
// ZoneGrids; the channel names beside the numbers come from the channel table.
//
// An edit of the grids or the zone mode is an undo step. Selecting a zone stores the zone left
// into the image, so a step restores the zone records of the image with the grids: undone, an
// edit of another zone shows that zone again as it was.

#include <QCheckBox>
#include <QLabel>
#include <QTableWidget>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "forms/Undo.h"
#include "pmr/ChannelTable.h"
#include "pmr/PmrCsv.h"
#include "pmr/Zones.h"

namespace km {

class Person;
struct Workspace;

class TZEDT_Form : public QWidget, public undo::Recorder {
    Q_OBJECT
  public:
    TZEDT_Form(const pmr::ChannelTable& table, Workspace& workspace, Person& person,
               QWidget* parent = nullptr);
    // The channel grid, a member, is destroyed after this body: its last events must not reach
    // the form's filter.
    ~TZEDT_Form() override;

    // The zone parts of the Channel Options passes (after the channel table's).
    void LoadPass();
    void StorePass();

    bool ZoneMode() const { return ZONE_CBox_ZoneMode.isChecked(); }
    // A cell being typed into is taken and, in the channel grid, checked (before a store pass set);
    // false after the check's message.
    bool CheckFocusedCell();
    // Zones read from a CSV file replace every zone; the grids show the first.
    void Import(const pmr::ZonesImport& import);
    // The grids as they stand (the current zone's channels as shown).
    pmr::ZoneGrids Grids() const;

    void Commit() override;
    void Rebase() override;

    // Handlers, named as the domain names them.
    void ZONE_StrGrid_ZonesSelectCell(int row);
    // Leaving a "Channel" cell (or the grid); false keeps the focus in it.
    bool ZONE_StrGrid_ChannelsCellExit(int row);

    // Controls, public for the form's tests.
    QCheckBox ZONE_CBox_ZoneMode;
    QTableWidget ZONE_StrGrid_Zones;
    QTableWidget ZONE_StrGrid_Channels;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What an undo step of the page puts back.
    struct Snapshot {
        pmr::ZoneGrids grids;
        std::vector<std::uint8_t> zoneRecords;
    };
    class Step;
    Snapshot Taken() const;
    void Restore(const Snapshot& snapshot);

    void BuildLayout();
    void Connect();
    void Show(const pmr::ZoneGrids& grids);
    void ShowChannelName(int row);
    QString Cell(const QTableWidget& grid, int row, int column) const;
    void SetCell(QTableWidget& grid, int row, int column, const QString& text);

    const pmr::ChannelTable& table_;
    Workspace& workspace_;
    Person& person_;
    int currentZone_ = 0;
    bool selecting_ = false;
    // Set while the channel cell just left failed its check, until the events of that moment are
    // over: a click into the zone names that took the focus does not also choose another zone.
    bool leftFailing_ = false;
    QMetaObject::Connection focusWatch_;
    Snapshot committed_;  // where the next undo step starts from
};

}  // namespace km
