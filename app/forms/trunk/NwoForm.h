#pragma once
// The Network Options form of the Trunk view: acquisition authorisation, home zone, control
// category, abbreviated dialling limit and preference data of the network being edited. The rows
// and the zone and area shifts are config/NwoMap.h.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <array>
#include <optional>

#include "config/NwoMap.h"
#include "forms/ConfigForm.h"
#include "forms/EditChecks.h"
#include "forms/FieldBinder.h"
#include "forms/FieldGrid.h"
#include "forms/NamedControl.h"

namespace km {

class TForm_NWO_NetworkOptions : public ConfigForm {
    Q_OBJECT
  public:
    explicit TForm_NWO_NetworkOptions(const FormContext& context, QWidget* parent = nullptr);

    void LoadPass() override;
    void StorePass() override;
    void ShowFirstPage() override;
    bool CheckFocusedField() override;

    // Handlers, named as the domain names them.
    void Combo_ACQ_TypeChange(std::size_t entry);
    void Btn_ACQ_DefaultsClick();
    void Btn_NDD_DefaultsClick();
    void Tab_NWO_NextShow();

    // Controls, public for the form's tests.
    KM_CONTROL(QTabWidget, Page_NWO_NetworkOptions);
    KM_CONTROL(QWidget, Tab_ACQ_Aquisition);
    KM_CONTROL(QWidget, Tab_NDD_NetworkData);
    KM_CONTROL(QWidget, Tab_FA_FleetAccess);
    KM_CONTROL(QWidget, Tab_NWO_Next);
    std::array<QComboBox, nwo_rows::kAcquisitionEntries> Combo_ACQ_Type;  // Combo_ACQ_Type1..8
    std::array<QLineEdit, nwo_rows::kAcquisitionEntries> Edit_ACQ_Data;   // Edit_ACQ_Data1..8
    KM_CONTROL(QPushButton, Btn_ACQ_Defaults);
    KM_CONTROL(QLineEdit, Edit_NDD_HomeZone);
    KM_CONTROL(QComboBox, Combo_NDD_MobileControlCategory);
    KM_CONTROL(QLineEdit, Edit_NDD_AbbrDialMaxLimit);
    KM_CONTROL(QTableWidget, StrGrid_NDD_NDDPrefData);
    KM_CONTROL(QPushButton, Btn_NDD_Defaults);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void NameAcquisitionEntries();
    void BuildLayout();
    void BuildGrid();
    void WatchEdits();
    std::size_t Slot() const;
    NetworkOptionTexts Shown() const;
    void Show(const NetworkOptionTexts& texts, bool asLoaded);
    std::optional<std::string> PreferenceMessage(int line, int column) const;

    std::optional<FieldBinder> binder_;
    std::optional<FieldGrid> preferences_;
    EditChecks checks_;
    // Read from the slot's network file at every load, for the checks until the next one.
    ZoneAreaLengths lengths_;
    NetworkOptionTexts loaded_;
};

}  // namespace km
