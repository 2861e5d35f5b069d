#pragma once
// The Thresholds and Timers form: call duration limits, the protocol timers and the error limits
// of a network file. The rows are lib/network/TimMap.h.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <array>
#include <optional>

#include "forms/EditChecks.h"
#include "forms/FieldBinder.h"
#include "forms/FieldGrid.h"
#include "forms/NamedControl.h"
#include "forms/network/NetworkFileForm.h"
#include "network/TimMap.h"

namespace km {

class TForm_NWTIM_ThresholdAndTimers : public NetworkFileForm {
    Q_OBJECT
  public:
    explicit TForm_NWTIM_ThresholdAndTimers(const FormContext& context, QWidget* parent = nullptr);

    void LoadPass() override;
    void StorePass() override;
    void ShowFirstPage() override;
    bool CheckFocusedField() override;

    // Handlers, named as the domain names them.
    void RadioGrp_CAL_UnitsClick(int duration);
    void Btn_ERR_DefaultTimersClick();
    void Tab_NWTIM_NextShow();

    // Controls, public for the form's tests.
    KM_CONTROL(QTabWidget, Page_NWTIM_ThresholdAndTimers);
    KM_CONTROL(QWidget, Tab_CAL_CallDurations);
    KM_CONTROL(QWidget, Tab_TIM_Timers);
    KM_CONTROL(QWidget, Tab_ERR_ErrorRates);
    KM_CONTROL(QWidget, Tab_NWTIM_Next);
    KM_CONTROL(QGroupBox, RadioGrp_CAL_CallUnits);
    KM_CONTROL(QLineEdit, Edit_CAL_CallTime);
    KM_CONTROL(QGroupBox, RadioGrp_CAL_EmergUnits);
    KM_CONTROL(QLineEdit, Edit_CAL_EmergTime);
    KM_CONTROL(QGroupBox, RadioGrp_CAL_DataUnits);
    KM_CONTROL(QLineEdit, Edit_CAL_DataTime);
    KM_CONTROL(QGroupBox, RadioGrp_CAL_TSCLIMcontrol);
    KM_CONTROL(QTableWidget, StrGrid_TIM_Timers);
    KM_CONTROL(QPushButton, Btn_ERR_DefaultTimers);
    KM_CONTROL(QTableWidget, StrGrid_ERR_ErrorRates);
    KM_CONTROL(QLineEdit, Edit_ERR_NS);
    KM_CONTROL(QLineEdit, Edit_ERR_NT);

  private:
    // The unit group and edit of each duration, in the order of the duration rows.
    struct DurationControls {
        QGroupBox* units;
        QLineEdit* edit;
    };
    std::array<DurationControls, timer_rows::kDurationCount> Durations();
    void BuildLayout();
    void BuildGrids();
    void WatchEdits();
    DurationUnit UnitOf(int duration);
    void ShowUnit(int duration, DurationUnit unit);

    std::optional<FieldBinder> binder_;
    std::optional<FieldGrid> timers_;
    std::optional<FieldGrid> errors_;
    EditChecks checks_;
};

}  // namespace km
