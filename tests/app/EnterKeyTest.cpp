// Enter on a list, a tick box or a button of a form moves the focus on to the next control, as Tab
// does, on every form of the Trunk and PMR views.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <memory>

#include "MainForm.h"
#include "ShellFixtures.h"
#include "image/Setup.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;

const std::filesystem::path kData = std::filesystem::path(KM_SOURCE_DIR) / "data";

struct Case {
    int view;
    FormId form;
    const char* name;
};

class EnterKeyTest : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        for (const char* file : {"default.tct", "default.cct"}) {
            std::filesystem::copy_file(kData / file, dir_.Path() / file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        window_ = std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_.Path());
        window_->resize(1100, 760);
        window_->show();
        if (GetParam().view == kViewPmr) {
            window_->Menu_Forms_PMRClick();
        } else {
            window_->Menu_Forms_TrunkClick();
        }
        person_.shown.clear();
    }
    void TearDown() override {
        state_.PmrJobLoaded = false;
        state_.TrunkJobLoaded = false;
        window_.reset();
    }

    // The first list, tick box or button the form shows: on the page it opens on, or else on the
    // first of its pages that has one.
    static QWidget* FirstControl(QWidget& form) {
        if (QWidget* control = ShownControl(form)) {
            return control;
        }
        for (QTabWidget* pages : form.findChildren<QTabWidget*>()) {
            for (int page = 0; page < pages->count(); ++page) {
                pages->setCurrentIndex(page);
                if (QWidget* control = ShownControl(form)) {
                    return control;
                }
            }
        }
        return nullptr;
    }
    static QWidget* ShownControl(QWidget& form) {
        for (QWidget* widget : form.findChildren<QWidget*>()) {
            auto* combo = qobject_cast<QComboBox*>(widget);
            const bool control = (combo && !combo->isEditable()) ||
                                 qobject_cast<QCheckBox*>(widget) ||
                                 qobject_cast<QPushButton*>(widget);
            if (control && widget->isVisible() && widget->isEnabled() &&
                widget->focusPolicy() != Qt::NoFocus) {
                return widget;
            }
        }
        return nullptr;
    }

    testing::WorkDir dir_;
    std::unique_ptr<Workspace> ws_ = std::make_unique<Workspace>();
    MainState state_;
    ShellPerson person_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm_MF_MainForm> window_;
};

TEST_P(EnterKeyTest, EnterMovesTheFocusOnAndDoesNothingElse) {
    window_->ShowForm(GetParam().form);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    ConfigForm* form = window_->Form(GetParam().form);
    ASSERT_NE(form, nullptr);
    QWidget* control = FirstControl(*form);
    ASSERT_NE(control, nullptr);
    control->setFocus();
    ASSERT_TRUE(control->hasFocus());
    QTest::keyClick(control, Qt::Key_Return);
    EXPECT_FALSE(control->hasFocus()) << control->objectName().toStdString();
    EXPECT_TRUE(person_.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, EnterKeyTest,
    ::testing::Values(Case{kViewTrunk, FormId::UserInterface, "TrunkUserInterface"},
                      Case{kViewTrunk, FormId::Identities, "Identities"},
                      Case{kViewTrunk, FormId::NetworkOptions, "NetworkOptions"},
                      Case{kViewTrunk, FormId::TextStrings, "TrunkTextStrings"},
                      Case{kViewPmr, FormId::UserInterface, "PmrUserInterface"},
                      Case{kViewPmr, FormId::TextStrings, "PmrTextStrings"},
                      Case{kViewPmr, FormId::Selcall, "Selcall"},
                      Case{kViewPmr, FormId::EncodeDecode, "EncodeDecode"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace km
