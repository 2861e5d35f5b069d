#pragma once
// The Text Strings form: the words the radio shows on its display. Four grids of two columns, a
// fixed label naming each text's use and the editable text, each with a Defaults button whose
// texts depend on the control head. One form serves the Trunk and PMR views, on the image of the
// view. The records, labels and default texts live in config/TxtMap.h; this class shows them.

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <memory>
#include <vector>

#include "config/TxtMap.h"
#include "forms/ConfigForm.h"
#include "forms/TableUndo.h"
#include "forms/mobile/RadioTypeListener.h"

namespace km {

class TForm_TXT_Strings : public ConfigForm, public RadioTypeListener {
    Q_OBJECT
  public:
    explicit TForm_TXT_Strings(const FormContext& context, QWidget* parent = nullptr);

    void LoadPass() override;
    void StorePass() override;
    void RefreshVisibility() override;
    void ShowFirstPage() override;

    // The texts shown are stored first; the image takes the new head's texts; they are shown.
    void BeforeRadioTypeChange() override;
    void RadioTypeChanged(const RadioTypeChange& change) override;

    // Handlers, named as the domain names them.
    void Btn_TXT_DefaultTextClick();
    void Btn_TXT3_MenuDefaultsClick();
    void Btn_TXT2_DefaultsClick();
    void Btn_TXT4_DefaultCTCSStextClick();
    // Enter on a control other than a grid moves the focus to the next control.

    // The grid of a text table, and the texts its second column shows.
    QTableWidget& GridOf(TextGrid grid);
    QStringList TextsOf(TextGrid grid);

    // Controls, public for the form's tests.
    QTabWidget Page_TXT_TextStrings;
    QWidget Tab_TXT1_Text1;
    QWidget Tab_TXT3_Text3;
    QWidget Tab_TXT2_Text2;
    QWidget Tab_TXT_Next;
    QLabel Lbl_TXT1_General;
    QTableWidget StrGrid_TXT1_12char;
    QPushButton Btn_TXT_DefaultText;
    QLabel Lbl_TXT3_Menus;
    QTableWidget StrGrid_TXT3_MenuNames;
    QPushButton Btn_TXT3_MenuDefaults;
    QLabel Lbl_TXT2_EditFunctions;
    QTableWidget StrGrid_TXT4_EditFunctions;
    QPushButton Btn_TXT2_Defaults;
    QLabel Lbl_TXT4_CTCSSToneNames;
    QTableWidget StrGrid_TXT4_CTCSSToneNames;
    QPushButton Btn_TXT4_DefaultCTCSStext;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void PrepareGrid(TextGrid grid);
    void SizeGrid(QTableWidget& grid);
    void FillLabels();
    void ShowDefaults(TextGrid grid);
    bool TextView() const;
    fields::ImageId ImageOfView() const;
    std::span<std::uint8_t> BytesOfView() const;

    std::vector<std::unique_ptr<undo::TableCells>> edits_;  // the grids' edits for undo
};

}  // namespace km
