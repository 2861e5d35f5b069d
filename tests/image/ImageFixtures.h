#pragma once
// Small fixtures for the image tests: recognisable byte patterns and a fresh working directory.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace km::testing {

// A byte pattern that differs from its neighbours and from any shifted copy of itself nearby.
inline std::uint8_t PatternByte(std::size_t i, std::uint8_t seed) {
    return static_cast<std::uint8_t>((i * 131 + (i >> 8) * 7 + seed) & 0xFF);
}

template <typename Image>
void FillPattern(Image& image, std::uint8_t seed) {
    for (std::size_t i = 0; i < Image::kSize; ++i) {
        image.SetU8(i, PatternByte(i, seed));
    }
}

inline std::vector<std::uint8_t> PatternBytes(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = PatternByte(i, seed);
    }
    return bytes;
}

// A working directory of its own for each test, removed afterwards.
class WorkDirTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        dir_ = std::filesystem::temp_directory_path() / ("km_image_" + name);
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
};

}  // namespace km::testing
