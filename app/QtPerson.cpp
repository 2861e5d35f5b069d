#include "QtPerson.h"

#include <QApplication>
#include <QMessageBox>

#include "ReportBox.h"

namespace km {

QString BoxTitle(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error:
            return QStringLiteral("Error");
        case BoxKind::Warning:
            return QStringLiteral("Warning");
        case BoxKind::Information:
            return QStringLiteral("Information");
        case BoxKind::Confirmation:
            return QStringLiteral("Confirm");
        case BoxKind::Plain:
            break;
    }
    return QString::fromUtf8(kApplicationTitle);
}

namespace {

QMessageBox::Icon IconOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error:
            return QMessageBox::Critical;
        case BoxKind::Warning:
            return QMessageBox::Warning;
        case BoxKind::Information:
            return QMessageBox::Information;
        case BoxKind::Confirmation:
            return QMessageBox::Question;
        case BoxKind::Plain:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::Cancel:
            return QMessageBox::Cancel;
        case Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

Answer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            return Answer::Cancel;
    }
}

}  // namespace

Answer QtPerson::Show(BoxKind kind, std::string_view text, Buttons buttons) {
    QMessageBox box(IconOf(kind), BoxTitle(kind),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    ButtonsOf(buttons), parent_);
    box.setTextFormat(Qt::PlainText);
    // Closing a question box with Escape or the close box answers Cancel, or No when there is
    // no Cancel button.
    if (buttons == Buttons::YesNo) {
        box.setEscapeButton(QMessageBox::No);
        // A warning that asks (open a file that does not look like a job?) defaults to the safe
        // answer, so that Enter does not take the risk.
        if (kind == BoxKind::Warning) {
            box.setDefaultButton(QMessageBox::No);
        }
    }
    return AnswerOf(box.exec());
}

void QtPerson::Report(std::string_view text) {
    TReportBox box(BoxTitle(BoxKind::Information),
                   QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), parent_);
    box.exec();
}

void QtPerson::Beep() {
    QApplication::beep();
}

}  // namespace km
