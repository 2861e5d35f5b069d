#pragma once
// The blank background form: shown maximised behind every configuration form for the whole run.
// Its caption names the mode of the checked view; until a view is built it shows the start
// picture (Panel_MF_Image).

#include <QLabel>
#include <QMdiSubWindow>

namespace km {

class TForm_BNK_Blank : public QMdiSubWindow {
    Q_OBJECT
  public:
    TForm_BNK_Blank();

    // " Trunk Mode ", " PMR Mode ", " Network Mode " for views 1, 2, 3; empty otherwise.
    void SetMode(int view);
    void ShowPicture(bool shown);
    bool PictureShown() const { return !Panel_MF_Image->isHidden(); }

    QLabel* Panel_MF_Image;  // owned by the form
};

}  // namespace km
