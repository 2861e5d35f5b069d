#pragma once
// Fixtures for the software choice, data preparation and code file tests: a scratch folder that
// is removed afterwards, and the radio records and identities the tests start from.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "radio/RadioIdentity.h"

namespace km::testing {

// A folder of its own for one test, removed when the test ends.
class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("km_prep_") + info->test_suite_name() + "_" + info->name();
        for (char& c : name) {
            c = c == '/' ? '_' : c;
        }
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    std::filesystem::path Put(const std::string& name,
                              std::span<const std::uint8_t> bytes = {}) const {
        const auto file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return file;
    }

  private:
    std::filesystem::path path_;
};

// A code record as the radio holds it: part number at 25, version text at 31.
inline CodeDescriptor Record(const std::string& partNumber, const std::string& version) {
    CodeDescriptor record{};
    record.fill(' ');
    for (std::size_t i = 0; i < partNumber.size() && i < 6; ++i) {
        record[25 + i] = static_cast<std::uint8_t>(partNumber[i]);
    }
    for (std::size_t i = 0; i < version.size() && i < 6; ++i) {
        record[31 + i] = static_cast<std::uint8_t>(version[i]);
    }
    return record;
}

inline RadioIdentity Mobile(int revision) {
    RadioIdentity radio;
    radio.MobileRevision = revision;
    return radio;
}

inline RadioIdentity PortableRadio(bool a, bool b, bool c) {
    RadioIdentity radio;
    radio.Portable = true;
    radio.HardwareOptionA = a;
    radio.HardwareOptionB = b;
    radio.HardwareOptionC = c;
    return radio;
}

}  // namespace km::testing
