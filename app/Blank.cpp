#include "Blank.h"

#include <memory>

#include "Resources.h"

namespace km {
namespace {
constexpr const char* kTrunkMode = " Trunk Mode ";
constexpr const char* kPmrMode = " PMR Mode ";
constexpr const char* kNetworkMode = " Network Mode ";
constexpr const char* kStartPicture = "start.png";
}  // namespace

TForm_BNK_Blank::TForm_BNK_Blank() {
    setObjectName("TForm_BNK_Blank");
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto picture = std::make_unique<QLabel>();
    picture->setObjectName("Panel_MF_Image");
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(ShippedPicture(kStartPicture));
    picture->setAutoFillBackground(true);
    Panel_MF_Image = picture.get();
    setWidget(picture.release());  // the form owns its picture
}

void TForm_BNK_Blank::SetMode(int view) {
    switch (view) {
        case 1:
            setWindowTitle(kTrunkMode);
            break;
        case 2:
            setWindowTitle(kPmrMode);
            break;
        case 3:
            setWindowTitle(kNetworkMode);
            break;
        default:
            setWindowTitle(QString());
    }
}

void TForm_BNK_Blank::ShowPicture(bool shown) {
    Panel_MF_Image->setVisible(shown);
}

}  // namespace km
