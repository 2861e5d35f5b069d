// Any bytes as a trunk or PMR job through what the User Interface form shows beyond its rows: the
// input/output lines, the audio levels with their phase inversion, the device selections and
// the power-on mode. Storing what was shown must leave the job as it was.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "ImageFuzzInput.h"
#include "config/IoDevices.h"
#include "config/UiLevels.h"
#include "config/UiMap.h"
#include "fields/FieldOps.h"

namespace {

using km::fields::ImageId;

void ShowAndStore(ImageId view, std::vector<std::uint8_t>& bytes) {
    for (std::size_t line = 0; line < km::io_rows::kLineCount; ++line) {
        km::StoreIoLine(view, bytes, line, km::LoadIoLine(view, bytes, line));
    }
    for (std::size_t i = 0; i < km::kAudioLevelCount; ++i) {
        const auto level = static_cast<km::AudioLevel>(i);
        const km::fields::FieldRow& row = km::LevelRowOf(level);
        const auto at = static_cast<std::size_t>(row.at.Of(view));
        const auto word = static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
        const km::ShownLevel shown = km::ShowLevel(level, word);
        if (km::LevelWord(level, shown.text, shown.inverted) != word) {
            throw std::logic_error("a level shown does not store back as it was");
        }
    }
    const km::DeviceSelections devices = km::LoadDeviceSelections(view, bytes);
    (void)km::DeviceLabel(devices.input);
    (void)km::DeviceLabel(devices.optionBoard);
    km::StoreDeviceSelections(view, bytes, devices);
    const auto& mode = km::ui_rows::kPowerOnMode;
    const auto value =
        km::fields::ReadField(mode, bytes, static_cast<std::size_t>(mode.at.Of(view)));
    const km::PowerOnShown shown = km::ShowPowerOnMode(std::get<std::int64_t>(value));
    (void)km::PowerOnModeToStore(view, shown, 8, 2);
}

}  // namespace

// Input: the view (trunk or PMR), then the job's bytes (repeated to its size).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const ImageId view = (data[0] & 1) != 0 ? ImageId::Pmr : ImageId::Trunk;
    const std::size_t length = km::fields::kImageSizes[static_cast<std::size_t>(view)];
    // Kept from one input to the next: fresh pages for every input would cost more than the work.
    static std::vector<std::uint8_t> bytes;
    static std::vector<std::uint8_t> original;
    km::fuzzing::TileInto({data + 1, size - 1}, length, bytes);
    original = bytes;
    ShowAndStore(view, bytes);
    if (bytes != original) {
        throw std::logic_error("showing and storing the user interface changed the job");
    }
    return 0;
}
