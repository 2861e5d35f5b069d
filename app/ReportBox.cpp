#include "ReportBox.h"

#include <QFontDatabase>
#include <QStyle>
#include <QTextOption>
#include <algorithm>

namespace km {

QFont ColumnFont() {
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void ShowInColumns(QPlainTextEdit& text, int tabStop) {
    text.setFont(ColumnFont());
    text.setLineWrapMode(QPlainTextEdit::NoWrap);
    text.setTabStopDistance(tabStop * QFontMetricsF(text.font()).horizontalAdvance(QChar(' ')));
}

TReportBox::TReportBox(const QString& title, const QString& report, QWidget* parent)
    : QDialog(parent) {
    setObjectName("TReportBox");
    setWindowTitle(title);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon_.setPixmap(style()
                        ->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this)
                        .pixmap(iconSize, iconSize));
    icon_.setAlignment(Qt::AlignTop);
    text_.setObjectName("ReportText");
    text_.setReadOnly(true);
    text_.setFrameShape(QFrame::NoFrame);
    text_.viewport()->setAutoFillBackground(false);
    ShowInColumns(text_);
    text_.setPlainText(report);
    okButton_.setText("OK");
    okButton_.setDefault(true);
    connect(&okButton_, &QPushButton::clicked, this, &QDialog::accept);

    top_.addWidget(&icon_);
    top_.addWidget(&text_, 1);
    buttons_.addStretch();
    buttons_.addWidget(&okButton_);
    buttons_.addStretch();
    layout_.addLayout(&top_);
    layout_.addLayout(&buttons_);

    // Wide and tall enough for every line, so that nothing wraps or scrolls.
    const QFontMetrics metrics(text_.font());
    QTextOption tabs;
    tabs.setTabStopDistance(text_.tabStopDistance());
    int widest = 0;
    int lines = 0;
    for (const QString& line : report.split('\n')) {
        widest = std::max(widest, metrics.horizontalAdvance(line, tabs));
        ++lines;
    }
    // The document's margins, the cursor and a little air on either side.
    const int margins =
        2 * static_cast<int>(text_.document()->documentMargin()) + 2 * metrics.averageCharWidth();
    text_.setMinimumSize(widest + margins, lines * metrics.lineSpacing() + margins);
}

}  // namespace km
