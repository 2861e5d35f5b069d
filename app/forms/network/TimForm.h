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
    QTabWidget Page_NWTIM_ThresholdAndTimers;
    QWidget Tab_CAL_CallDurations;
    QWidget Tab_TIM_Timers;
    QWidget Tab_ERR_ErrorRates;
    QWidget Tab_NWTIM_Next;
    QGroupBox RadioGrp_CAL_CallUnits;
    QLineEdit Edit_CAL_CallTime;
    QGroupBox RadioGrp_CAL_EmergUnits;
    QLineEdit Edit_CAL_EmergTime;
    QGroupBox RadioGrp_CAL_DataUnits;
    QLineEdit Edit_CAL_DataTime;
    QGroupBox RadioGrp_CAL_TSCLIMcontrol;
    QTableWidget StrGrid_TIM_Timers;
    QPushButton Btn_ERR_DefaultTimers;
    QTableWidget StrGrid_ERR_ErrorRates;
    QLineEdit Edit_ERR_NS;
    QLineEdit Edit_ERR_NT;

  private:
    // The unit group and edit of each duration, in the order of the duration rows.
    struct DurationControls {
        QGroupBox* units;
        QLineEdit* edit;
    };
    std::array<DurationControls, timer_rows::kDurationCount> Durations();
    void NameControls();
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
