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

TEST(ComPortMapTest, ListingNamesEachDeviceAndWhetherItIsThere) {
    const std::string config = "COM2=/dev/pts/4\nCOM3=/dev/gone\nCOM4=/dev/ttyUSB0\n";
    const std::vector<SerialPortCandidate> system = {
        {"ttyS0", "/dev/ttyS0", false, ""},
        {"ttyUSB0", "/dev/ttyUSB0", true, "FT232R USB UART (FTDI)"},
    };
    auto exists = [](const std::string& device) {
        return device == "/dev/pts/4" || device.starts_with("/dev/ttyS");
    };
    const auto listing = ListComPorts(6, config, system, exists);
    const struct {
        std::string device;
        std::string description;
        bool fromConfig;
        bool present;
    } expected[] = {
        {"/dev/ttyUSB0", "FT232R USB UART (FTDI)", false, true},  // the adapter comes first
        {"/dev/pts/4", "", true, true},                           // a pseudo-terminal that is there
        {"/dev/gone", "", true, false},
        {"/dev/ttyUSB0", "FT232R USB UART (FTDI)", true, true},  // named again, still the adapter
        {"/dev/ttyS4", "", false, false},  // a device node the system does not list is no port
        {"/dev/ttyS5", "", false, false},
    };
    ASSERT_EQ(listing.size(), std::size(expected));
    for (std::size_t i = 0; i < listing.size(); ++i) {
        EXPECT_EQ(listing[i].device, expected[i].device) << i;
        EXPECT_EQ(listing[i].description, expected[i].description) << i;
        EXPECT_EQ(listing[i].fromConfig, expected[i].fromConfig) << i;
        EXPECT_EQ(listing[i].present, expected[i].present) << i;
    }
}

}  // namespace
}  // namespace km
