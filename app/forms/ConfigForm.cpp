#include "forms/ConfigForm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <array>

#include "Views.h"

namespace km {

ConfigForm::ConfigForm(const FormContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {}

bool ConfigForm::MoveOnAtEnter(const QEvent& event) {
    if (event.type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent&>(event).key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        return false;
    }
    focusNextChild();
    return true;
}

namespace {

std::array<FormFactory, kFormIdCount>& Registry() {
    static std::array<FormFactory, kFormIdCount> factories{};
    return factories;
}

constexpr const char* kNotAvailable = "This form is not available in this version.";

// Stands in for a form that is not built yet: shows the form's name and leaves its image region
// as the template, the file or the radio gave it.
class PlaceholderForm : public ConfigForm {
  public:
    PlaceholderForm(FormId id, const FormContext& context) : ConfigForm(context) {
        setObjectName("PlaceholderForm");
        setWindowTitle(QString::fromUtf8(FormTitle(id)));
        title_.setText(QString::fromUtf8(FormTitle(id)));
        QFont font = title_.font();
        font.setPointSize(font.pointSize() + 6);
        font.setBold(true);
        title_.setFont(font);
        title_.setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        note_.setText(kNotAvailable);
        note_.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        note_.setEnabled(false);
        layout_.addWidget(&title_);
        layout_.addWidget(&note_);
    }
    void LoadPass() override {}
    void StorePass() override {}

  private:
    QVBoxLayout layout_{this};
    QLabel title_;
    QLabel note_;
};

}  // namespace

bool RegisterForm(FormId id, FormFactory factory) {
    Registry().at(static_cast<std::size_t>(id)) = factory;
    return true;
}

bool FormRegistered(FormId id) {
    return Registry().at(static_cast<std::size_t>(id)) != nullptr;
}

std::unique_ptr<ConfigForm> CreateForm(FormId id, const FormContext& context) {
    if (const FormFactory factory = Registry().at(static_cast<std::size_t>(id))) {
        return factory(context);
    }
    return std::make_unique<PlaceholderForm>(id, context);
}

}  // namespace km
