#pragma once
// An information box for a report whose columns are laid out with blanks and tabs (Radio
// Information): its lines in the system's fixed-pitch font, never wrapped, tabs every eight
// characters, so that the values line up under each other as the report intends.

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace km {

// A fixed-pitch font for text laid out in columns; `tabStop` characters between tab stops.
QFont ColumnFont();
void ShowInColumns(QPlainTextEdit& text, int tabStop = 8);

class TReportBox : public QDialog {
    Q_OBJECT
  public:
    TReportBox(const QString& title, const QString& report, QWidget* parent = nullptr);

    QPlainTextEdit text_;
    QPushButton okButton_;

  private:
    QVBoxLayout layout_{this};
    QHBoxLayout top_;
    QHBoxLayout buttons_;
    QLabel icon_;
};

}  // namespace km
