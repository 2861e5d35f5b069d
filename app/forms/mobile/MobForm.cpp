#include "forms/mobile/MobForm.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "Resources.h"
#include "config/BandTable.h"
#include "config/FormVisibility.h"
#include "config/NetworkSlots.h"
#include "config/RadioTypeChange.h"
#include "config/RadioTypes.h"
#include "forms/mobile/RadioTypeListener.h"
#include "image/JobFiles.h"

namespace km {
namespace {

constexpr const char* kFormCaption = "Radio Type";
constexpr const char* kRadioPageCaption = "Radio";
constexpr const char* kNextPageCaption = "Next Form -->";

constexpr std::string_view kRadioTypeQuestion =
    "Changing the Radio Type may cause changes to the current           \n"
    "configuration, including all customised text.           \n\n"
    "If you do change the Radio Type, please check all text fields.           \n"
    "(eg. Phonebook Text, Names, Text Message Menus (ABC), etc)          \n\n"
    "Do you wish to continue ?";
constexpr std::string_view kPmrModeInTrunkView =
    "To Edit PMR radio configurations,                       \n"
    "Select Menu option View\\PMR Forms.";
constexpr std::string_view kTrunkModeInPmrView =
    "To Edit Trunk radio configurations,                       \n"
    "Select Menu option View\\Trunk Forms.";
constexpr std::string_view kBandChangeWarning =
    "If the Frequency Band is changed, the channel table frequencies will be invalid. ";
constexpr std::string_view kNoNetworkError = "Cannot continue. \nPlease Load a valid Network file.";
constexpr std::string_view kNoBandChosenError =
    "Cannot continue. \nPlease select a valid Frequency Band.";

constexpr const char* kNetwork1DialogTitle = "Open - Network File 1";
constexpr const char* kNetwork2DialogTitle = "Open - Network File 2";
constexpr const char* kNetworkFolder = "Networks";

constexpr int kRadioPage = 0;
constexpr int kNextPage = 1;
constexpr int kModeRowPmr = 0;
constexpr int kModeRowTrunk = 1;
constexpr int kAccessoryNone = 0;

}  // namespace

QString RadioTypePictureName(int row) {
    if (row == kSeparatorRow) {
        row = kSeparatorRow + 1;
    }
    if (row == 11) {
        return QStringLiteral("radio_type_not_supported.png");
    }
    return QStringLiteral("radio_type_%1.png").arg(row);
}

TForm_MOB_Mobile::TForm_MOB_Mobile(const FormContext& context, QWidget* parent)
    : ConfigForm(context, parent) {
    setObjectName("TForm_MOB_Mobile");
    setWindowTitle(kFormCaption);
    // Controls carry their domain names, so that tests and style sheets find them.
    const std::pair<QObject*, const char*> controls[] = {
        {&Page_MOB_Mobile, "Page_MOB_Mobile"},
        {&Tab_MOB_Mobile, "Tab_MOB_Mobile"},
        {&Tab_MOB_Next, "Tab_MOB_Next"},
        {&Memo_MOB_Description, "Memo_MOB_Description"},
        {&Lbl_MOB_RCPJobVersion, "Lbl_MOB_RCPJobVersion"},
        {&ComboBox_MOB_Mobile, "ComboBox_MOB_Mobile"},
        {&ComboBox_MOB_Head, "ComboBox_MOB_Head"},
        {&Image_MOB_ControlUnit, "Image_MOB_ControlUnit"},
        {&Lbl_MOB_Frequency, "Lbl_MOB_Frequency"},
        {&ComboBox_MOB_Frequency, "ComboBox_MOB_Frequency"},
        {&Lbl_MOB_Accessory, "Lbl_MOB_Accessory"},
        {&ComboBox_MOB_Accessory, "ComboBox_MOB_Accessory"},
        {&GBox_MOB_NWFile1, "GBox_MOB_NWFile1"},
        {&GBox_MOB_NWFile2, "GBox_MOB_NWFile2"},
        {&Btn_MOB_LoadNW1, "Btn_MOB_LoadNW1"},
        {&Btn_MOB_DeleteNW1, "Btn_MOB_DeleteNW1"},
        {&Btn_MOB_LoadNW2, "Btn_MOB_LoadNW2"},
        {&Btn_MOB_DeleteNW2, "Btn_MOB_DeleteNW2"},
        {&Lbl_MOB_FilenameNW1, "Lbl_MOB_FilenameNW1"},
        {&Lbl_MOB_FilenameNW2, "Lbl_MOB_FilenameNW2"},
    };
    for (const auto& [control, name] : controls) {
        control->setObjectName(name);
    }
    FillLists();
    BuildLayout();
    binder_.emplace(*this, header_rows::kRows);
    Connect();
}

void TForm_MOB_Mobile::FillLists() {
    for (const RadioTypeRow& row : kRadioTypeRows) {
        ComboBox_MOB_Head.addItem(ToQString(row.text));
    }
    auto* rows = qobject_cast<QStandardItemModel*>(ComboBox_MOB_Head.model());
    for (int row = 0; rows != nullptr && row < kRadioTypeRowCount; ++row) {
        if (!ChoosableRow(row)) {
            rows->item(row)->setEnabled(false);
        }
    }
    ComboBox_MOB_Frequency.addItem(ToQString(kUndefinedBandText));
    ShowBandTexts();
    // The lists of the network label and the band list are in a fixed-pitch font in the radio's
    // texts; keep the band texts aligned as they are written.
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    ComboBox_MOB_Frequency.setFont(fixed);
}

// The form lives for the run and the country is read after it is created: the texts of the
// band list are set from the country at every load.
void TForm_MOB_Mobile::ShowBandTexts() {
    const auto bands = BandTable(state().CountryCode);
    for (int entry = 1; entry <= kBandCount; ++entry) {
        const QString text = ToQString(bands[static_cast<std::size_t>(entry - 1)].text);
        if (entry < ComboBox_MOB_Frequency.count()) {
            ComboBox_MOB_Frequency.setItemText(entry, text);
        } else {
            ComboBox_MOB_Frequency.addItem(text);
        }
    }
}

void TForm_MOB_Mobile::BuildLayout() {
    Lbl_MOB_Mobile.setText("Radio Mode");
    Lbl_MOB_Head.setText("Radio Type");
    Lbl_MOB_Frequency.setText("Frequency Band");
    Lbl_MOB_Accessory.setText("Accessory");
    GBox_MOB_NWFile1.setTitle("Network File 1");
    GBox_MOB_NWFile2.setTitle("Network File 2");
    for (QPushButton* load : {&Btn_MOB_LoadNW1, &Btn_MOB_LoadNW2}) {
        load->setText("Load");
    }
    for (QPushButton* remove : {&Btn_MOB_DeleteNW1, &Btn_MOB_DeleteNW2}) {
        remove->setText("Delete");
    }
    Memo_MOB_Description.setTabChangesFocus(true);
    Memo_MOB_Description.setMaximumHeight(90);
    Image_MOB_ControlUnit.setMinimumSize(200, 160);
    Image_MOB_ControlUnit.setAlignment(Qt::AlignCenter);
    // A hidden picture keeps its place, so the controls do not jump when the head changes.
    QSizePolicy pictureSize = Image_MOB_ControlUnit.sizePolicy();
    pictureSize.setRetainSizeWhenHidden(true);
    Image_MOB_ControlUnit.setSizePolicy(pictureSize);

    auto* description = new QGroupBox("Description", &Tab_MOB_Mobile);
    auto* descriptionLayout = new QVBoxLayout(description);
    descriptionLayout->addWidget(&Memo_MOB_Description);
    descriptionLayout->addWidget(&Lbl_MOB_RCPJobVersion);

    auto* choices = new QGridLayout;
    choices->addWidget(&Lbl_MOB_Mobile, 0, 0);
    choices->addWidget(&ComboBox_MOB_Mobile, 0, 1);
    choices->addWidget(&Lbl_MOB_Head, 1, 0);
    choices->addWidget(&ComboBox_MOB_Head, 1, 1);
    choices->addWidget(&Lbl_MOB_Frequency, 2, 0);
    choices->addWidget(&ComboBox_MOB_Frequency, 2, 1);
    choices->addWidget(&Lbl_MOB_Accessory, 3, 0);
    choices->addWidget(&ComboBox_MOB_Accessory, 3, 1);
    choices->setColumnStretch(1, 1);

    auto networkBox = [](QGroupBox& box, QPushButton& load, QPushButton& remove, QLabel& name) {
        auto* layout = new QHBoxLayout(&box);
        layout->addWidget(&load);
        layout->addWidget(&remove);
        layout->addWidget(&name, 1);
        name.setMinimumWidth(140);
    };
    networkBox(GBox_MOB_NWFile1, Btn_MOB_LoadNW1, Btn_MOB_DeleteNW1, Lbl_MOB_FilenameNW1);
    networkBox(GBox_MOB_NWFile2, Btn_MOB_LoadNW2, Btn_MOB_DeleteNW2, Lbl_MOB_FilenameNW2);

    auto* left = new QVBoxLayout;
    left->addWidget(description);
    left->addLayout(choices);
    left->addWidget(&GBox_MOB_NWFile1);
    left->addWidget(&GBox_MOB_NWFile2);
    left->addStretch(1);

    auto* page = new QHBoxLayout(&Tab_MOB_Mobile);
    page->addLayout(left, 3);
    page->addWidget(&Image_MOB_ControlUnit, 2, Qt::AlignTop);

    Page_MOB_Mobile.addTab(&Tab_MOB_Mobile, kRadioPageCaption);
    Page_MOB_Mobile.addTab(&Tab_MOB_Next, kNextPageCaption);
    auto* form = new QVBoxLayout(this);
    form->addWidget(&Page_MOB_Mobile);
}

void TForm_MOB_Mobile::Connect() {
    // The controls that Enter leaves for the next one; the memo keeps Enter for its line breaks
    // and an open list keeps it for choosing.
    for (QWidget* control : std::initializer_list<QWidget*>{
             &Page_MOB_Mobile, &ComboBox_MOB_Mobile, &ComboBox_MOB_Head, &ComboBox_MOB_Frequency,
             &ComboBox_MOB_Accessory, &Btn_MOB_LoadNW1, &Btn_MOB_DeleteNW1, &Btn_MOB_LoadNW2,
             &Btn_MOB_DeleteNW2}) {
        control->installEventFilter(this);
    }
    connect(&ComboBox_MOB_Head, &QComboBox::activated, this, [this] { ComboBox_MOB_HeadChange(); });
    connect(&ComboBox_MOB_Mobile, &QComboBox::activated, this,
            [this] { ComboBox_MOB_MobileChange(); });
    connect(&ComboBox_MOB_Frequency, &QComboBox::activated, this,
            [this] { ComboBox_MOB_FrequencyChange(); });
    connect(&ComboBox_MOB_Accessory, &QComboBox::activated, this,
            [this] { ComboBox_MOB_AccessoryChange(); });
    connect(&Btn_MOB_LoadNW1, &QPushButton::clicked, this, [this] { Btn_MOB_LoadNW1Click(); });
    connect(&Btn_MOB_DeleteNW1, &QPushButton::clicked, this, [this] { Btn_MOB_DeleteNW1Click(); });
    connect(&Btn_MOB_LoadNW2, &QPushButton::clicked, this, [this] { Btn_MOB_LoadNW2Click(); });
    connect(&Btn_MOB_DeleteNW2, &QPushButton::clicked, this, [this] { Btn_MOB_DeleteNW2Click(); });
    connect(&Page_MOB_Mobile, &QTabWidget::currentChanged, this,
            [this](int page) { Page_MOB_MobileChange(page); });
    connect(&Memo_MOB_Description, &QPlainTextEdit::textChanged, this,
            [this] { DescriptionChanged(); });
}

bool TForm_MOB_Mobile::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &ComboBox_MOB_Head && event->type() == QEvent::FocusIn) {
        // Focus that comes back after a message box or the list's popup is no new entry: the
        // row may be a choice still being asked about.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            ComboBox_MOB_HeadEnter();
        }
    }
    return MoveOnAtEnter(*event) || ConfigForm::eventFilter(watched, event);
}

bool TForm_MOB_Mobile::TrunkView() const {
    return state().ImageKind == kImageTrunk;
}
bool TForm_MOB_Mobile::PmrView() const {
    return state().ImageKind == kImagePmr;
}

void TForm_MOB_Mobile::SelectSilently(QComboBox& combo, int row) {
    const QSignalBlocker blocker(combo);
    combo.setCurrentIndex(row >= 0 && row < combo.count() ? row : -1);
}

void TForm_MOB_Mobile::ShowRadioType(int row) {
    if (row < 0 || row >= kRadioTypeRowCount) {
        return;
    }
    const RadioTypeRow& entry = kRadioTypeRows[static_cast<std::size_t>(row)];
    state().RadioTypeMask = entry.RadioTypeMask;
    state().PortableGeneration = entry.PortableGeneration;
    const QPixmap picture = ShippedPicture(RadioTypePictureName(row));
    Image_MOB_ControlUnit.setPixmap(
        picture.isNull() ? QPixmap()
                         : picture.scaled(Image_MOB_ControlUnit.minimumSize(), Qt::KeepAspectRatio,
                                          Qt::SmoothTransformation));
    // The external serial head has no picture.
    Image_MOB_ControlUnit.setVisible(row != 0);
}

void TForm_MOB_Mobile::ShowNetworkName(int selector, const std::string& name) {
    (selector == 0 ? Lbl_MOB_FilenameNW1 : Lbl_MOB_FilenameNW2)
        .setText(QString::fromStdString(name));
}

// ---- Passes ----------------------------------------------------------------------------------

fields::ImageId TForm_MOB_Mobile::ImageOfView() const {
    return TrunkView() ? fields::ImageId::Trunk : fields::ImageId::Pmr;
}

std::span<std::uint8_t> TForm_MOB_Mobile::BytesOfView() const {
    return TrunkView() ? workspace().trunk.Bytes() : workspace().pmr.Bytes();
}

JobHeader TForm_MOB_Mobile::HeaderOfView() const {
    return TrunkView() ? LoadTrunkHeader(workspace().trunk) : LoadPmrHeader(workspace().pmr);
}

void TForm_MOB_Mobile::LoadPass() {
    loaded_ = HeaderOfView();
    binder_->Load(ImageOfView(), BytesOfView(), 0);
    lastDescription_ = Memo_MOB_Description.toPlainText();
    Lbl_MOB_RCPJobVersion.setText(ToQString(kMadeWithText) + QString::number(loaded_.versionWord));
    state().RadioModeMask = RadioModeMaskOfRow(loaded_.radioMode);

    SelectSilently(ComboBox_MOB_Head, loaded_.radioTypeRow);
    headRowOnEntry_ = loaded_.radioTypeRow;
    ShowRadioType(loaded_.radioTypeRow);

    ShowBandTexts();
    SelectSilently(ComboBox_MOB_Frequency, loaded_.bandEntry);
    state().BandSelected = loaded_.bandEntry;

    if (TrunkView()) {
        for (int selector = 0; selector < 2; ++selector) {
            ShowNetworkName(selector, NetworkPresent(workspace().trunk, selector)
                                          ? NetworkNameOfSlot(workspace().trunk, selector)
                                          : std::string());
        }
    }
    RefreshVisibility();
}

void TForm_MOB_Mobile::StorePass() {
    if (!TrunkView() && !PmrView()) {
        return;
    }
    // The plain fields first; the radio type and band lists are the form's own.
    binder_->Store(ImageOfView(), BytesOfView(), 0);
    JobHeader header = HeaderOfView();
    header.radioTypeRow = ComboBox_MOB_Head.currentIndex();
    header.bandEntry = std::max(0, ComboBox_MOB_Frequency.currentIndex());
    header.bandWord = loaded_.bandWord;
    // What was stored is what the next store starts from.
    if (TrunkView()) {
        StoreTrunkHeader(workspace().trunk, header);
    } else {
        StorePmrHeader(workspace().pmr, header);
    }
    loaded_ = HeaderOfView();
}

void TForm_MOB_Mobile::RefreshVisibility() {
    const int mode = state().RadioModeMask;
    const bool knownType = IsKnownRadioTypeMask(state().RadioTypeMask);
    const bool band = (mode == kModePmr || mode == kModeMulti) && knownType && PmrView();
    Lbl_MOB_Frequency.setVisible(band);
    ComboBox_MOB_Frequency.setVisible(band);
    const bool networks = (mode == kModeTrunk || mode == kModeMulti) && knownType && TrunkView();
    GBox_MOB_NWFile1.setVisible(networks);
    GBox_MOB_NWFile2.setVisible(networks);
    const bool accessory = AccessoryShown(HeadOfMask(state().RadioTypeMask));
    Lbl_MOB_Accessory.setVisible(accessory);
    ComboBox_MOB_Accessory.setVisible(accessory);
    Lbl_MOB_RCPJobVersion.setVisible(VersionLabelVisible(state().UserLevelMask));
}

void TForm_MOB_Mobile::ShowFirstPage() {
    const QSignalBlocker blocker(Page_MOB_Mobile);
    Page_MOB_Mobile.setCurrentIndex(kRadioPage);
}

// ---- Handlers --------------------------------------------------------------------------------

void TForm_MOB_Mobile::ComboBox_MOB_HeadEnter() {
    headRowOnEntry_ = ComboBox_MOB_Head.currentIndex();
}

void TForm_MOB_Mobile::ComboBox_MOB_HeadChange() {
    int row = ComboBox_MOB_Head.currentIndex();
    if (row == kSeparatorRow) {
        row = kSeparatorRow + 1;
        SelectSilently(ComboBox_MOB_Head, row);
    }
    // Choosing the row already shown changes nothing, so no defaults are reset.
    if (row == headRowOnEntry_ || row < 0) {
        return;
    }
    if (person().Ask(kRadioTypeQuestion) != Answer::Yes) {
        SelectSilently(ComboBox_MOB_Head, headRowOnEntry_);
        return;
    }
    const RadioTypeChange change{headRowOnEntry_, row,
                                 !IsPortableRow(headRowOnEntry_) && IsPortableRow(row), PmrView()};
    headRowOnEntry_ = row;
    // The other forms store what they show before the image changes and show it again after.
    RadioTypeListener::ChangeRadioType(change, [&] {
        ShowRadioType(row);
        if (TrunkView()) {
            ApplyRadioTypeChange(workspace().trunk, change.previousRow, row);
        } else if (PmrView()) {
            ApplyRadioTypeChange(workspace().pmr, change.previousRow, row);
        }
        SelectSilently(ComboBox_MOB_Accessory, kAccessoryNone);
        RefreshVisibility();
    });
}

void TForm_MOB_Mobile::ComboBox_MOB_MobileChange() {
    const int row = ComboBox_MOB_Mobile.currentIndex();
    if (TrunkView() && row == kModeRowPmr) {
        person().Warn(kPmrModeInTrunkView);
    } else if (PmrView() && row == kModeRowTrunk) {
        person().Warn(kTrunkModeInPmrView);
    }
    state().RadioModeMask = RadioModeMaskOfRow(row);
    RefreshVisibility();
}

void TForm_MOB_Mobile::ComboBox_MOB_FrequencyChange() {
    if (!PmrView()) {
        return;
    }
    if (state().BandSelected != 0 && state().PmrJobLoaded) {
        person().Warn(kBandChangeWarning);
    }
    state().BandSelected = ComboBox_MOB_Frequency.currentIndex();
}

void TForm_MOB_Mobile::ComboBox_MOB_AccessoryChange() {
    if (!IsPortableMask(state().RadioTypeMask)) {
        SelectSilently(ComboBox_MOB_Accessory, kAccessoryNone);
        return;
    }
    RadioTypeListener::NotifyAccessoryChanged({ComboBox_MOB_Accessory.currentIndex(), PmrView()});
}

void TForm_MOB_Mobile::FollowNetworkChange(const NetworkChange& change) {
    bool identitiesLoaded = false;
    if (change.network2Deleted) {
        state().Network2Name = kRadioTypeNetworkNotDefined;
        ShowNetworkName(1, "");
        if (state().NetworkSelector == 1) {
            // The edited network has gone: the per-network forms, stored before the slots
            // changed, go back to Network 1.
            shell().SelectNetwork(0);
            identitiesLoaded = true;
        }
    }
    if (change.identitiesCleared && !identitiesLoaded) {
        shell().ReloadForm(FormId::Identities);
    }
    if (change.userInterfaceChanged) {
        shell().ReloadForm(FormId::UserInterface);
    }
}

void TForm_MOB_Mobile::Btn_MOB_LoadNW1Click() {
    FileDialogRequest request;
    request.dialog = FileDialogId::NetworkFile;
    request.title = kNetwork1DialogTitle;
    request.filters = QtFilters(kNetworkFileDialogFilter);
    request.defaultSuffix = "nwk";
    request.folder = QDir::current().filePath(kNetworkFolder);
    const auto path = dialogs().OpenFile(request);
    if (!path) {
        return;
    }
    const auto file = ReadNetworkFile(path->toStdString(), person());
    // A new scheme clears the identities of both networks: what the per-network forms show
    // reaches the image first, so that nothing stored later brings cleared identities back.
    if (!file || !shell().StoreNetworkForms()) {
        return;
    }
    const NetworkChange change = LoadNetwork1(workspace().trunk, *file, person());
    if (!change.done) {
        return;
    }
    state().BandSelected = BandEntryOfWord(workspace().trunk.U16(trunk::kBandCode));
    const std::string name = NetworkDisplayName(path->toStdString());
    state().Network1Name = name;
    ShowNetworkName(0, name);
    FollowNetworkChange(change);
    shell().ShowNetworkLabel();
}

void TForm_MOB_Mobile::Btn_MOB_DeleteNW1Click() {
    if (!DeleteNetwork1(workspace().trunk, person()).done) {
        return;
    }
    state().BandSelected = 0;
    state().Network1Name = kRadioTypeNetworkNotDefined;
    ShowNetworkName(0, "");
    shell().ShowNetworkLabel();
}

void TForm_MOB_Mobile::Btn_MOB_LoadNW2Click() {
    FileDialogRequest request;
    request.dialog = FileDialogId::NetworkFile;
    request.title = kNetwork2DialogTitle;
    request.filters = QtFilters(kNetworkFileDialogFilter);
    request.defaultSuffix = "nwk";
    request.folder = QDir::current().filePath(kNetworkFolder);
    const auto path = dialogs().OpenFile(request);
    if (!path) {
        return;
    }
    const auto file = ReadNetworkFile(path->toStdString(), person());
    if (!file || !LoadNetwork2(workspace().trunk, *file, person()).done) {
        return;
    }
    const std::string name = NetworkDisplayName(path->toStdString());
    state().Network2Name = name;
    ShowNetworkName(1, name);
    shell().ShowNetworkLabel();
}

void TForm_MOB_Mobile::Btn_MOB_DeleteNW2Click() {
    if (!shell().StoreNetworkForms()) {
        return;
    }
    const NetworkChange change = DeleteNetwork2(workspace().trunk, person());
    if (!change.done) {
        return;
    }
    FollowNetworkChange(change);
    shell().ShowNetworkLabel();
}

bool TForm_MOB_Mobile::LeavingRadioPageAllowed() {
    if (TrunkView() && !NetworkPresent(workspace().trunk, 0)) {
        person().Error(kNoNetworkError);
        return false;
    }
    if (PmrView() && ComboBox_MOB_Frequency.currentIndex() <= 0) {
        person().Error(kNoBandChosenError);
        return false;
    }
    return true;
}

void TForm_MOB_Mobile::Page_MOB_MobileChange(int page) {
    if (page != kNextPage) {
        return;
    }
    if (!LeavingRadioPageAllowed()) {
        ShowFirstPage();
        return;
    }
    Tab_MOB_NextShow();
}

void TForm_MOB_Mobile::Tab_MOB_NextShow() {
    // The form is complete: the main window shows the view's form buttons (and in the Trunk view
    // the network buttons) and moves on to the User Interface form, as button B does.
    shell().ShowFormButtons();
    ShowFirstPage();
    shell().ShowForm(FormId::UserInterface);
}

void TForm_MOB_Mobile::DescriptionChanged() {
    const QString text = Memo_MOB_Description.toPlainText();
    if (DescriptionLength(text.toStdString()) <= kDescriptionTypedLimit) {
        lastDescription_ = text;
        return;
    }
    // The memo holds at most 60 bytes; a keystroke or paste beyond that is refused.
    const QSignalBlocker blocker(Memo_MOB_Description);
    Memo_MOB_Description.setPlainText(lastDescription_);
    Memo_MOB_Description.moveCursor(QTextCursor::End);
    person().Beep();
}

KM_REGISTER_FORM(FormId::RadioType, TForm_MOB_Mobile);

}  // namespace km
