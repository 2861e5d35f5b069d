// The binder against a small form of its own: each kind of control shows its row and stores it
// back, and what the user did not change keeps its bytes.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <vector>

#include "ScriptedPerson.h"
#include "forms/FieldBinder.h"

namespace km {
namespace {

using fields::Encoding;
using fields::FieldRow;

constexpr fields::Choice kModes[] = {{0, "Off"}, {1, "On"}, {5, "Auto"}};
constexpr FieldRow kRows[] = {
    {.id = "t.mode",
     .caption = "Mode",
     .control = "ComboBox_T_Mode",
     .at = {.pmr = 0},
     .choices = kModes},
    {.id = "t.flag",
     .caption = "Flag",
     .control = "CheckBox_T_Flag",
     .at = {.pmr = 1},
     .encoding = Encoding::Bits,
     .bitShift = 7,
     .bitCount = 1},
    {.id = "t.level",
     .caption = "Level",
     .control = "SpinBox_T_Level",
     .at = {.pmr = 2},
     .min = 1,
     .max = 9},
    {.id = "t.delay",
     .caption = "Delay",
     .control = "Edit_T_Delay",
     .at = {.pmr = 3},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 600,
     .scale = {.mul = 25, .decimals = 2}},
    {.id = "t.name",
     .caption = "Name",
     .control = "Edit_T_Name",
     .at = {.pmr = 5},
     .encoding = Encoding::Text,
     .width = 4},
    {.id = "t.hidden",
     .caption = "Not on this form",
     .control = "Edit_T_Missing",
     .at = {.pmr = 9}},
};

class TestForm : public QWidget {
  public:
    TestForm() {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : std::initializer_list<QWidget*>{&mode, &flag, &level, &delay, &name}) {
            layout->addWidget(w);
        }
        mode.setObjectName("ComboBox_T_Mode");
        flag.setObjectName("CheckBox_T_Flag");
        level.setObjectName("SpinBox_T_Level");
        delay.setObjectName("Edit_T_Delay");
        name.setObjectName("Edit_T_Name");
    }
    QComboBox mode;
    QCheckBox flag;
    QSpinBox level;
    QLineEdit delay;
    QLineEdit name;
};

class FieldBinderTest : public ::testing::Test {
  protected:
    TestForm form;
    FieldBinder binder{form, kRows};
    // mode 5, flag set among other bits, level 3, delay 8 x 0.25, name "Ab" with junk after NUL
    std::vector<std::uint8_t> bytes = {5, 0x81, 3, 8, 0, 'A', 'b', 0, 'z', 0x42};
};

TEST_F(FieldBinderTest, ControlsShowTheirRowsAndTheRowsWithoutControlAreLeftAlone) {
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(form.mode.count(), 3);
    EXPECT_EQ(form.mode.currentText(), "Auto");
    EXPECT_TRUE(form.flag.isChecked());
    EXPECT_EQ(form.level.value(), 3);
    EXPECT_EQ(form.delay.text(), "2.00");
    EXPECT_EQ(form.name.text(), "Ab");
    EXPECT_EQ(binder.Controls().size(), 5u);
    const auto before = bytes;
    binder.Store(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(bytes, before);
}

TEST_F(FieldBinderTest, EditsReachOnlyTheirBytes) {
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    form.mode.setCurrentIndex(1);
    form.flag.setChecked(false);
    form.level.setValue(9);
    form.delay.setText("1.25");
    form.name.setText("Xyz");
    binder.Store(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 0x01, 9, 5, 0, 'X', 'y', 'z', 0, 0x42}));
}

TEST_F(FieldBinderTest, ACodeNoEntryHasIsShownAsItsNumberAndKept) {
    bytes[0] = 37;
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(form.mode.currentText(), "? 37");
    binder.Store(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(bytes[0], 37);
    // A later load of a listed code drops the extra item.
    bytes[0] = 1;
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(form.mode.count(), 3);
}

TEST_F(FieldBinderTest, ExitChecksShowTheRangeMessageAndBadTextNeverReachesTheImage) {
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    testing::ScriptedPerson person;
    form.delay.setText("15.25");
    EXPECT_FALSE(binder.CheckControl(&form.delay, person));
    form.delay.setText("abc");
    EXPECT_FALSE(binder.CheckControl(&form.delay, person));
    EXPECT_EQ(person.Texts(),
              (std::vector<std::string>{"Value out of range.  Must be between 0.00 and 6.00",
                                        "Value out of range.  Must be between 0.00 and 6.00"}));
    binder.Store(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(bytes[3], 8);
    form.delay.setText("6");
    EXPECT_TRUE(binder.CheckControl(&form.delay, person));
}

constexpr fields::Choice kKinds[] = {{2, "Two"}, {0, "Zero"}, {1, "One"}};
constexpr FieldRow kGroupRows[] = {{.id = "t.kind",
                                    .caption = "Kind",
                                    .control = "RadioGrp_T_Kind",
                                    .at = {.pmr = 0},
                                    .choices = kKinds}};

TEST(FieldBinderRadioGroupTest, ButtonsStandForTheChoicesAndAnUnlistedCodeIsKept) {
    QWidget form;
    auto* group = new QGroupBox("Kind", &form);
    group->setObjectName("RadioGrp_T_Kind");
    FieldBinder binder(form, kGroupRows);
    const auto buttons = group->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_EQ(buttons[0]->text(), "Two");
    EXPECT_EQ(buttons[2]->text(), "One");

    std::vector<std::uint8_t> bytes = {0};
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    EXPECT_TRUE(buttons[1]->isChecked());
    buttons[2]->setChecked(true);
    binder.Store(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(bytes[0], 1);

    bytes[0] = 9;
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    for (const QRadioButton* button : buttons) {
        EXPECT_FALSE(button->isChecked()) << button->text().toStdString();
    }
    binder.Store(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(bytes[0], 9);
}

}  // namespace
}  // namespace km
