#include "config/IoDevices.h"

#include "config/UiMap.h"

namespace km {
namespace {

struct KindTopic {
    DeviceKind kind;
    int topic;
};
constexpr KindTopic kHelpTopics[] = {{DeviceKind::PttExt, 2650},
                                     {DeviceKind::PttExtData, 2651},
                                     {DeviceKind::PttData, 2652},
                                     {DeviceKind::Dmap, 2653},
                                     {DeviceKind::Sib, 2654}};

struct FunctionKindName {
    std::string_view function;
    DeviceKind kind;
};
constexpr FunctionKindName kDeviceFunctions[] = {{"PTT Ext", DeviceKind::PttExt},
                                                 {"PTT Ext Data", DeviceKind::PttExtData},
                                                 {"PTT Data", DeviceKind::PttData}};

}  // namespace

std::vector<int> DevicesOffered(DeviceKind kind) {
    std::vector<int> offered;
    for (int device = 0; device < kDeviceCount && offered.size() < kMostDevicesOffered; ++device) {
        if (kind != DeviceKind::Never && kIoDevices[device].kind == kind) {
            offered.push_back(device);
        }
    }
    return offered;
}

int HelpTopic(DeviceKind kind) {
    for (const KindTopic& entry : kHelpTopics) {
        if (entry.kind == kind) {
            return entry.topic;
        }
    }
    return 0;
}

std::optional<DeviceKind> DeviceKindOfLineFunction(std::string_view function) {
    for (const FunctionKindName& entry : kDeviceFunctions) {
        if (entry.function == function) {
            return entry.kind;
        }
    }
    return std::nullopt;
}

std::optional<DeviceKind> DeviceKindOfBoard(std::int64_t board) {
    if (board == io_rows::kBoardDmap) {
        return DeviceKind::Dmap;
    }
    if (board == io_rows::kBoardSib) {
        return DeviceKind::Sib;
    }
    return std::nullopt;
}

std::string_view DeviceLabel(int selection) {
    return selection >= 1 && selection < kDeviceCount ? kIoDevices[selection].name
                                                      : std::string_view();
}

std::vector<Preset> PresetsOf(int device) {
    std::vector<Preset> presets;
    if (device < 0 || device >= kDeviceCount) {
        return presets;
    }
    for (std::size_t i = 0; i < kPresetSettings.size(); ++i) {
        if (!kIoDevices[device].presets[i].empty()) {
            presets.push_back({kPresetSettings[i], kIoDevices[device].presets[i]});
        }
    }
    return presets;
}

}  // namespace km
