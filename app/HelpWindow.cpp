#include "HelpWindow.h"

#include <QUrl>
#include <memory>

#include "Resources.h"

namespace km {
namespace {
constexpr const char* kHelpCaption = "KM700 RCP P3 Help";
constexpr const char* kContentsPage = "help/index.html";
}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("THelpWindow");
    setWindowTitle(kHelpCaption);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    contents_.setText("Contents");
    back_.setText("< Back");
    forward_.setText("Forward >");
    auto buttons = std::make_unique<QHBoxLayout>();
    buttons->addWidget(&contents_);
    buttons->addWidget(&back_);
    buttons->addWidget(&forward_);
    buttons->addStretch();
    layout_.addLayout(buttons.release());  // the window's layout owns its rows
    layout_.addWidget(&browser_);
    browser_.setOpenExternalLinks(true);
    connect(&contents_, &QPushButton::clicked, this, &THelpWindow::ShowContents);
    connect(&back_, &QPushButton::clicked, &browser_, &QTextBrowser::backward);
    connect(&forward_, &QPushButton::clicked, &browser_, &QTextBrowser::forward);
    connect(&browser_, &QTextBrowser::backwardAvailable, &back_, &QPushButton::setEnabled);
    connect(&browser_, &QTextBrowser::forwardAvailable, &forward_, &QPushButton::setEnabled);
    back_.setEnabled(false);
    forward_.setEnabled(false);
    resize(760, 600);
}

bool THelpWindow::ShowContents() {
    return ShowPage(kContentsPage);
}

bool THelpWindow::ShowTopic(int topic) {
    return ShowPage(QStringLiteral("help/topic%1.html").arg(topic));
}

bool THelpWindow::ShowPage(const QString& page) {
    const QString path = ShippedFile(page);
    if (path.isEmpty()) {
        return false;
    }
    browser_.setSource(QUrl::fromLocalFile(path));
    return true;
}

}  // namespace km
