// Radio Information: the values taken from what the radio sends, the exact report, RadInfo.txt.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "OperationBench.h"
#include "core/Cp1252.h"
#include "radio/RadioInfo.h"

namespace km {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

TEST(EsnTest, DecodesManufacturerModelAndSerial) {
    struct Case {
        std::array<std::uint8_t, 4> bytes;
        std::string text;
    };
    const Case cases[] = {
        {{0x0A, 0x31, 0x00, 0x14}, "10/3/16389"}, {{0x01, 0x0F, 0xFF, 0xFF}, "1/0/262143"},
        {{0x01, 0xF3, 0xFF, 0xFF}, "1/15/65535"},  // only the lowest 18 bits of the serial
        {{0x7F, 0x00, 0x00, 0x03}, "127/0/0"},    {{0x00, 0x31, 0x00, 0x14}, "Undefined"},
        {{0xFF, 0x31, 0x00, 0x14}, "Undefined"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> record(128, 0);
        std::copy(c.bytes.begin(), c.bytes.end(), record.begin());
        EXPECT_EQ(EsnText(record), c.text);
    }
    const std::array<std::uint8_t, 4> esn{0x0A, 0x31, 0x00, 0x14};
    const Esn decoded = DecodeEsn(esn);
    EXPECT_EQ(decoded.manufacturer, 10);
    EXPECT_EQ(decoded.model, 3);
    EXPECT_EQ(decoded.serial, 16389);
}

TEST(RadioInfoValuesTest, BandAndSerialNumberTexts) {
    std::vector<std::uint8_t> record(128, 0);
    EXPECT_EQ(RadioBandText(record), "Undefined");
    EXPECT_EQ(SerialNumberText(record), "Undefined");
    record[8] = 'U';
    record[9] = 'H';
    const std::string serial = "SN0123456789ABCDEF";  // longer than the 15 characters used
    std::copy_n(serial.begin(), 16, record.begin() + 10);
    EXPECT_EQ(RadioBandText(record), "UH");
    EXPECT_EQ(SerialNumberText(record), "SN0123456789ABC");
    record[15] = 0xFF;  // erased flash ends the text
    EXPECT_EQ(SerialNumberText(record), "SN012");
    record[10] = 0xFF;
    EXPECT_EQ(SerialNumberText(record), "Undefined");
}

// The report names the band as the Radio Type form lists it, with the country's limits.
TEST(RadioInfoValuesTest, BandNamedAsTheRadioTypeFormNamesIt) {
    struct Case {
        std::uint8_t first;
        std::uint8_t second;
        int countryCode;
        const char* name;
    };
    for (const Case& c :
         {Case{'T', 'K', 0, "TK   400-450 MHz"}, Case{'U', 'H', 1, "UW-H 440-520 MHz"},
          Case{'U', 'H', 5, "UW-H 440-512 MHz"}, Case{'A', 'C', 5, "AC   150-174 MHz"},
          Case{'Q', 'Z', 0, "QZ"},  // no band of the table: the code alone
          Case{0xFF, 0xFF, 0, "Undefined"}}) {
        std::vector<std::uint8_t> record(128, 0);
        record[8] = c.first;
        record[9] = c.second;
        EXPECT_EQ(RadioBandName(record, c.countryCode), c.name) << c.first << c.second;
    }
}

TEST(RadioInfoValuesTest, DatesAndFpgaVersion) {
    std::vector<std::uint8_t> block(1024, 0xFF);
    const auto date = Bytes("12/03/2004XYZ");
    std::copy(date.begin(), date.end(), block.begin() + 505);
    EXPECT_EQ(DateText(block, 505), "12/03/2004") << "a date may cross into the next block";
    EXPECT_EQ(DateText(block, 0), "Undefined");
    block[0] = 0x00;
    EXPECT_EQ(DateText(block, 0), "Undefined");
    EXPECT_EQ(DateText(std::span<const std::uint8_t>(block).first(510), 505), "12/03");
    EXPECT_EQ(DateText(block, 2000), "Undefined");

    std::vector<std::uint8_t> fpga(512, 0);
    EXPECT_EQ(FpgaVersionText(fpga), " ");
    fpga[3] = 0x51;
    fpga[4] = 0x23;
    EXPECT_EQ(FpgaVersionText(fpga), "V1.23");
}

CodeDescriptor Descriptor(std::string_view text) {
    CodeDescriptor descriptor{};
    std::copy(text.begin(), text.end(), descriptor.begin());
    return descriptor;
}

TEST(RadioInfoValuesTest, DescriptorTexts) {
    //                               0........1.........2....|25...|31...|37........
    const auto descriptor = Descriptor("KM700 Trunk Software     7KTM00V6.30 01/02/2005");
    EXPECT_EQ(DescriptionText(descriptor), "KM700 Trunk Software     ");
    EXPECT_EQ(CodeLineText(descriptor), "7KTM00  V6.30  01/02/2005");
    EXPECT_EQ(DescriptionText(UndefinedDescriptor()), "Undefined");
    EXPECT_EQ(CodeLineText(UndefinedDescriptor()), "   ");
}

TEST(RadioInfoReportTest, ExactFormat) {
    RadioInfoValues values;
    values.radioBand = "UH";
    values.esn = "10/3/16389";
    values.serialNumber = "SN01";
    values.flashType = "2";
    values.bootLoaderDate = "01/01/2001";
    values.fpgaBackupDate = "02/02/2002";
    values.fpgaConfigDate = "03/03/2003";
    values.fpgaVersion = "V1.23";
    values.descriptors[3] = Descriptor("KM700 Trunk Software     7KTM00V6.30 01/02/2005");

    const std::string report = FormatRadioInfoReport(values);
    auto padded = [](std::string text, std::size_t width) {
        text.resize(width, ' ');
        return text;
    };
    const std::string undefinedCode =
        padded("Undefined", 26) + "\t" + padded("   ", 32) + "                   \n";
    const std::string expected =
        "                   \nRadio Band:\t" + padded("UH", 26) + "                   \nESN:\t\t" +
        padded("10/3/16389", 26) + "                   \nSerial No:\t" + padded("SN01", 26) +
        "                   \nFlash Type:\t2                  \n\nBootLoader:\t01/01/2001" +
        "                   \nPLA Backup:\t02/02/2002                    \nPLA Config:\t" +
        padded("03/03/2003", 14) + "\tV1.23                       \n\nBackupCode:\t" +
        undefinedCode + "Startup Code:\t" + undefinedCode + "PMR Code:\t" + undefinedCode +
        "TMR Code:\t" + padded("KM700 Trunk Software     ", 26) + "\t" +
        padded("7KTM00  V6.30  01/02/2005", 32) + "                   \nDMAP Code:\t" +
        undefinedCode;
    EXPECT_EQ(report, expected);
}

TEST(RadioInfoReportTest, LongValuesAreCutToTheirColumns) {
    RadioInfoValues values;
    values.radioBand = std::string(40, 'B');
    values.fpgaVersion = std::string(20, 'V');
    const std::string report = FormatRadioInfoReport(values);
    EXPECT_NE(report.find("Radio Band:\t" + std::string(26, 'B') + " "), std::string::npos);
    EXPECT_EQ(report.find(std::string(27, 'B')), std::string::npos);
    EXPECT_NE(report.find("\t" + std::string(10, 'V') + " "), std::string::npos);
    EXPECT_EQ(report.find(std::string(11, 'V')), std::string::npos);
}

TEST(RadInfoFileTest, SecondReportReplacesTheFirstWithCrLfLines) {
    const fs::path folder = fs::temp_directory_path() / "km_radinfo_test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ASSERT_TRUE(WriteRadInfo(folder, "first report, much longer than the second\n"));
    ASSERT_TRUE(WriteRadInfo(folder, "a\nb\n"));
    std::ifstream in(folder / "RadInfo.txt", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "a\r\nb\r\n");
    EXPECT_FALSE(WriteRadInfo(folder / "no such folder", "x"));
    fs::remove_all(folder);
}

// ---- The operation against the virtual radio ----

class RadioInfoOperationTest : public testing::OperationBench {
  protected:
    std::string RunRadioInformation() {
        operations_->RadioInformation();
        EXPECT_TRUE(state_.CommsBusy);
        EXPECT_TRUE(RunToEnd());
        EXPECT_FALSE(progress_.Visible());
        EXPECT_EQ(operations_->PendingOperation(), OperationKind::None);
        std::ifstream in(folder_ / "RadInfo.txt", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    static std::string WithCrLf(const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == '\n') {
                out += '\r';
            }
            out += c;
        }
        return out;
    }

    bool Shows(const std::string& text) const {
        return std::find(progress_.texts.begin(), progress_.texts.end(), text) !=
               progress_.texts.end();
    }
};

TEST_F(RadioInfoOperationTest, ReportOfARadioWithOptionBoard) {
    StartRadio(
        "type = 4\noption_board = yes\nesn = 0A310014\nband = UH\nserial_number = "
        "SN12345678901234\ntrunk_code.description = KM700 Trunk\ntrunk_code.software_code = "
        "12300\ntrunk_code.version = V6.30\ntrunk_code.date = 01/02/2005\n");
    const std::string file = RunRadioInformation();

    ASSERT_EQ(person_.shown.size(), 1u);
    EXPECT_EQ(person_.shown[0].kind, BoxKind::Information);
    const std::string report = operations_->LastReport();
    EXPECT_EQ(person_.shown[0].text, Cp1252ToUtf8(report));
    EXPECT_EQ(file, WithCrLf(report));
    // The band as the Radio Type form names it.
    EXPECT_NE(report.find("Radio Band:\tUW-H 440-520 MHz "), std::string::npos);
    EXPECT_NE(report.find("ESN:\t\t10/3/16389 "), std::string::npos);
    EXPECT_NE(report.find("Serial No:\tSN1234567890123 "), std::string::npos);
    EXPECT_NE(report.find("Flash Type:\t1 "), std::string::npos);
    EXPECT_NE(report.find("TMR Code:\tKM700 Trunk"), std::string::npos);
    EXPECT_NE(report.find("12300   V6.30  01/02/2005"), std::string::npos);
    EXPECT_EQ(report.find("DMAP Code:\tUndefined"), std::string::npos);
    EXPECT_TRUE(Shows("Reading GPIF Info Index. "));
    EXPECT_TRUE(Shows("Reading DMAP Info. "));
    EXPECT_TRUE(RadioLogged("EndProgramming"));
    EXPECT_FALSE(link_->PortOpen());
}

TEST_F(RadioInfoOperationTest, RadioWithoutOptionBoardAndMissingAreas) {
    WriteFitFile();
    StartRadio("type = 0\nband =\npmr_code.present = no\n");
    RunRadioInformation();
    ASSERT_EQ(person_.shown.size(), 1u);
    const std::string report = operations_->LastReport();
    EXPECT_NE(report.find("Radio Band:\tUndefined "), std::string::npos);
    EXPECT_NE(report.find("Flash Type:\t0 "), std::string::npos);
    EXPECT_NE(report.find("BootLoader:\t14/03/2002 "), std::string::npos) << "record in block 0";
    EXPECT_NE(report.find("PMR Code:\tUndefined "), std::string::npos);
    EXPECT_NE(report.find("DMAP Code:\tUndefined "), std::string::npos);
    EXPECT_FALSE(Shows("Reading GPIF Info Index. "));
    EXPECT_FALSE(Shows("Reading DMAP Info. "));
}

TEST_F(RadioInfoOperationTest, SecondRunLeavesOnlyTheSecondReport) {
    StartRadio("type = 4\nserial_number = FIRST\n");
    const std::string first = RunRadioInformation();
    ASSERT_NE(first.find("FIRST"), std::string::npos);

    radio_.reset();
    StartRadio("type = 4\nserial_number = SECOND\n");
    const std::string second = RunRadioInformation();
    EXPECT_EQ(second, WithCrLf(operations_->LastReport()));
    EXPECT_NE(second.find("SECOND"), std::string::npos);
    EXPECT_EQ(second.find("FIRST"), std::string::npos);
    EXPECT_EQ(person_.shown.size(), 2u);
}

TEST_F(RadioInfoOperationTest, SecureRadioIsRefusedWithoutReport) {
    StartRadio("type = 17\n");
    RunRadioInformation();
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{kInvalidRadioText});
    EXPECT_FALSE(std::filesystem::exists(folder_ / "RadInfo.txt"));
    EXPECT_FALSE(link_->PortOpen());
}

}  // namespace
}  // namespace km
