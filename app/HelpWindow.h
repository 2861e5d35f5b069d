#pragma once
// The user guide: the HTML pages of the help folder in a browser window with back, forward and
// contents buttons.

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace km {

class THelpWindow : public QDialog {
    Q_OBJECT
  public:
    explicit THelpWindow(QWidget* parent = nullptr);
    // Shows the contents page; false when the guide is not installed.
    bool ShowContents();
    // Shows the page of a numbered topic (the INFO buttons); false when it is not installed.
    bool ShowTopic(int topic);

    QTextBrowser browser_;

  private:
    bool ShowPage(const QString& page);

    QVBoxLayout layout_{this};
    QPushButton contents_;
    QPushButton back_;
    QPushButton forward_;
};

}  // namespace km
