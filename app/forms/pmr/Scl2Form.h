#pragma once
// The Encode/Decode form of the PMR view ("Selcall 2"): the list of up to 250 encodes with Add,
// Edit and Delete, and the list of the eight decodes with Edit. The entries live in the form
// between the load and store passes (lib/pmr/Scl2Map.h); the dialogs that edit them are
// SequenceEditors.h.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <memory>
#include <optional>
#include <vector>

#include "forms/ConfigForm.h"
#include "forms/NamedControl.h"
#include "forms/pmr/EncodeClipboard.h"
#include "pmr/Scl2Map.h"

namespace km {

class TSCL2_Form_Selcall : public ConfigForm {
    Q_OBJECT
  public:
    explicit TSCL2_Form_Selcall(const FormContext& context, QWidget* parent = nullptr);

    void LoadPass() override;
    void StorePass() override;
    void ShowFirstPage() override;

    // The entries in list order, for the tests and the print reports.
    const std::vector<pmr::EncodeEntry>& Encodes() const { return encodes_; }
    const std::vector<pmr::DecodeEntry>& Decodes() const { return decodes_; }

    // Handlers, named as the domain names them.
    void ENC_Btn_AddClick();
    void ENC_Btn_EditClick();
    void ENC_Btn_DeleteClick();
    void DEC_Btn_EditClick();
    void SCL2_Tab_NextShow();

    // Controls, public for the form's tests.
    KM_CONTROL(QTabWidget, SCL2_Page_Selcall);
    KM_CONTROL(QWidget, DCO_Tab_Decode);
    KM_CONTROL(QWidget, ENC_Tab_Encode);
    KM_CONTROL(QWidget, SCL2_Tab_Next);
    KM_CONTROL(QLabel, DEC_Lbl_Heading);
    KM_CONTROL(QListWidget, DEC_LBox_Decodes);
    KM_CONTROL(QPushButton, DEC_Btn_Edit);
    KM_CONTROL(QLabel, ENC_Lbl_Heading);
    KM_CONTROL(QListWidget, ENC_LBox_Encodes);
    KM_CONTROL(QPushButton, ENC_Btn_Add);
    KM_CONTROL(QPushButton, ENC_Btn_Edit);
    KM_CONTROL(QPushButton, ENC_Btn_Delete);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildLayout();
    void Connect();
    // What the dialogs read from the Selcall form, stored or not.
    pmr::SelcallSettings Settings() const;
    std::optional<std::size_t> Selected(const QListWidget& list) const;
    void ShowEncodes(std::optional<std::size_t> select);
    void ShowDecodes(std::optional<std::size_t> select);
    // Runs the encode dialog on `entry`; true after OK with the entry read back.
    bool RunEncodeDialog(pmr::EncodeEntry& entry, std::optional<std::size_t> editing);
    // Puts an encode in number order and returns its place.
    std::size_t InsertEncode(const pmr::EncodeEntry& entry);
    // The encodes shown again with these selected (none given: the current place kept).
    void ShowEncodesSelecting(const std::vector<std::size_t>& positions);
    // The entries as an undo or redo left them.
    void ShowRestoredEncodes();
    void ShowRestoredDecodes();

    std::vector<pmr::EncodeEntry> encodes_;
    std::vector<pmr::DecodeEntry> decodes_;
    std::unique_ptr<EncodeRowsClipboard> encodeRows_;  // Copy and Paste of the encode list
};

}  // namespace km
