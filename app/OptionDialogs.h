#pragma once
// The dialogs of the Options and Help menus: COM Port, Setup, About and Contact.

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>
#include <filesystem>
#include <functional>
#include <vector>

#include "ComPortMap.h"

namespace km {

inline constexpr int kComPortCount = 16;

// The serial port of the radio link: COM1..COM16 (the link always runs at 19200 baud, so the baud
// rate group stays hidden). Created at start-up and kept; OK stores the chosen row, Cancel selects
// the stored one again. Each row also names the device its COM number leads to on this machine,
// with the adapter's description, and marks a device that is not there; the rows are listed
// afresh each time the dialog is opened, since adapters come and go.
class TForm_COM_ComPort : public QDialog {
    Q_OBJECT
  public:
    // Called by OK with the new COM index: the link closes the port and opens the chosen one.
    using PortChanged = std::function<void(int comIndex)>;

    TForm_COM_ComPort(int comIndex, int baudIndex, QWidget* parent = nullptr);

    int StoredComIndex() const { return comIndex_; }
    int StoredBaudIndex() const { return baudIndex_; }
    void SetPortChanged(PortChanged portChanged) { portChanged_ = std::move(portChanged); }
    // Lists where COM1..COM16 lead now; without one the rows are the bare COM numbers.
    using PortLister = std::function<std::vector<ComPortListing>()>;
    void SetPortLister(PortLister lister) { portLister_ = std::move(lister); }
    // Lists the ports again into the rows; the COM Port command runs it before it shows the
    // dialog.
    void ListPorts();

    QComboBox ComboBox_COM_ComPort;
    QGroupBox RadioGrp_COM_BaudRate;
    QPushButton BitBtn2;
    QPushButton BitBtn_COM_Cancel;

  public slots:
    void FormCreate();
    void BitBtn2Click();
    void BitBtn_COM_CancelClick();

  private:
    QVBoxLayout layout_{this};
    QVBoxLayout baudLayout_;
    std::array<QRadioButton, 3> baudRows_;
    QLabel portLabel_;
    int comIndex_;
    int baudIndex_;
    PortChanged portChanged_;
    PortLister portLister_;
};

// The rows of the COM Port dialog, one a COM number: "COM3   /dev/ttyUSB0   FT232R USB UART", with
// "(comports.cfg)" for a device named there and "(absent)" for one that is not there. The
// devices, descriptions and marks stand in columns (the list is shown in a fixed-pitch font).
QStringList ComPortRows(const std::vector<ComPortListing>& listing);

// The country list, which decides the PMR band plan (CountryCode), and the per-user working
// folder. OK keeps a changed folder at once (for the next start) and refuses one that cannot be
// made, saying why in the dialog.
class TForm_SET_Setup : public QDialog {
    Q_OBJECT
  public:
    TForm_SET_Setup(int countryIndex, QWidget* parent = nullptr);
    int CountryIndex() const { return Combo_SET_Country.currentIndex(); }

    QComboBox Combo_SET_Country;
    QLineEdit Edit_SET_WorkFolder;
    QPushButton browseButton_;
    QLabel workFolderError_;
    QPushButton okButton_;
    QPushButton cancelButton_;

  public slots:
    void OkClick();
    void BrowseClick();

  private:
    // Keeps the folder typed, when it changed; false (with the reason shown) when it cannot be.
    bool KeepWorkFolder();

    QVBoxLayout layout_{this};
    QLabel countryLabel_;
    QLabel workFolderLabel_;
    QLabel workFolderNote_;
    QString shownFolder_;
};

// The program's version and the folder it works in.
class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(const std::filesystem::path& workDir, QWidget* parent = nullptr);

    QLabel workFolder_;

  private:
    QVBoxLayout layout_{this};
    QLabel product_;
    QLabel version_;
    QLabel details_;
    QPushButton okButton_;
};

// Shows Contact.txt, and Licence.txt at the press of its button (and back).
class TForm_VTR_ContactVeltra : public QDialog {
    Q_OBJECT
  public:
    TForm_VTR_ContactVeltra(std::filesystem::path workDir, QWidget* parent = nullptr);

    QPlainTextEdit memo_;
    QPushButton toggleButton_;

  public slots:
    void ToggleClick();

  private:
    void ShowFile(bool licence);

    QVBoxLayout layout_{this};
    QPushButton closeButton_;
    std::filesystem::path workDir_;
    bool licenceShown_ = false;
};

// The text of a file beside the program, decoded from Windows-1252; empty when it is missing.
QString ReadTextFile(const std::filesystem::path& workDir, const char* name);

}  // namespace km
