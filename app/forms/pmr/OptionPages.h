#pragma once
// The pages of the Channel Options form that hold the radio-wide conventional settings: "Options",
// "Scan", "Vote/Multiax", "Microphone", "DTMF/Econ" and "Data/GPS". Their controls are made from
// the rows of pmr/OptionRows.h, named as the rows name them and bound to them by a FieldBinder;
// this class adds what goes beyond a row: the power lists of the radio type, the power-on group,
// the checks of the channel and zone fields, the DTMF sequences and the visibility rules.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "forms/FieldBinder.h"
#include "forms/PageBuilder.h"
#include "forms/pmr/FieldExits.h"
#include "image/Images.h"
#include "image/State.h"
#include "pmr/ChannelTable.h"

namespace km {

class Person;
class TZEDT_Form;

class ChannelOptionPages : public QObject {
    Q_OBJECT
  public:
    // `owner` is the form whose tab widget shows the pages; the zones page gives the zone grids.
    ChannelOptionPages(QWidget& owner, const pmr::ChannelTable& table, TZEDT_Form& zones,
                       PmrJobImage& image, const MainState& state, Person& person);
    ~ChannelOptionPages() override;

    // The pages in their order, with their captions.
    std::vector<std::pair<QWidget*, QString>> Pages() const;

    // The option part of the load (after the channel table and the zones).
    void Load();
    // Every field but the power-on mode, zone and channel (before the channel table is stored,
    // which copies the power levels into the records).
    void StoreFields() const;
    // The power-on mode, zone and channel, after the channel table and the zones.
    void StorePowerOn() const;
    void RefreshVisibility();
    // The power-on group as the "Options" page shows it: the switch choice offered, the group
    // enabled or forced, the defined channel and zone shown.
    void ShowPowerOn();
    // Runs the check of the field that has the focus, if it is one of these pages'.
    bool CheckFocusedField();

    // Handlers, named as the domain names them.
    void COP_RadioGrp_PowerOnClick(int choice);
    bool COP_Edit_DefinedExit();
    bool COP_Edit_DefinedZoneExit();
    bool SCN_Edit_DWChannelExit();

    // The control a row names, for the tests.
    QWidget* Control(std::string_view name) const;

  private:
    void Build(QWidget& owner);
    void WatchControls();
    void ShowStoredAsShown();
    void ShowPowerList(const fields::FieldRow& row);
    void ShowDefinedFields(int mode);
    void SetShown(QWidget& control, bool shown);
    int PowerOnChoice() const;
    QList<QRadioButton*> PowerOnButtons() const;
    QLineEdit& Edit(std::string_view name) const;

    const pmr::ChannelTable& table_;
    TZEDT_Form& zones_;
    Person& person_;
    PmrJobImage& image_;
    const MainState& state_;
    std::vector<std::pair<QWidget*, QString>> pages_;
    PageBuilder builder_;
    std::unique_ptr<FieldExits> exits_;
    std::unique_ptr<FieldBinder> binder_;
};

}  // namespace km
