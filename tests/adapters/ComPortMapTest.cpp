#include <gtest/gtest.h>

#include "ComPortMap.h"

namespace km {
namespace {

TEST(ComPortMapTest, ConfigLinesOverrideComNumbers) {
    const std::string config =
        "# test ports\n"
        "COM1=/dev/ttyUSB3\n"
        "  com2 = /dev/pts/7  \r\n"
        "COM16=/dev/ttyS9\n"
        "COMX=/dev/bad\n"
        "COM3=\n"
        "garbage line\n"
        "COM1=/dev/ttyACM1\n";
    const struct {
        int comIndex;
        std::optional<std::string> device;
    } cases[] = {
        {0, "/dev/ttyACM1"},  // the last line for a number wins
        {1, "/dev/pts/7"},   {2, std::nullopt}, {15, "/dev/ttyS9"}, {4, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComPortOverride(config, c.comIndex), c.device) << c.comIndex;
    }
}

TEST(ComPortMapTest, UsbAdaptersComeFirstThenByNameThenTtyS) {
    const std::vector<SerialPortCandidate> system = {
        {"ttyS1", "/dev/ttyS1", false},    {"ttyUSB1", "/dev/ttyUSB1", false},
        {"ttyS0", "/dev/ttyS0", false},    {"ttyACM0", "/dev/ttyACM0", false},
        {"ttyAMA0", "/dev/ttyAMA0", true},  // a USB vendor makes it an adapter too
    };
    const std::vector<std::string> expected = {"/dev/ttyACM0", "/dev/ttyAMA0", "/dev/ttyUSB1",
                                               "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS5",
                                               "/dev/ttyS15"};
    const int indexes[] = {0, 1, 2, 3, 4, 5, 15};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(DeviceForComIndex(indexes[i], "", system), expected[i]) << indexes[i];
    }
    EXPECT_EQ(DeviceForComIndex(0, "COM1=/dev/pts/3\n", system), "/dev/pts/3");
    EXPECT_EQ(DeviceForComIndex(0, "", {}), "/dev/ttyS0");
}

}  // namespace
}  // namespace km
