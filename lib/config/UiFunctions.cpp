#include "config/UiFunctions.h"

namespace km {
namespace {

constexpr fields::Choice kTrunkOutputs[] = {
    {0, "Transmit"}, {1, "External Alert"}, {2, "Music Mute"}, {3, "Status 1"},
    {4, "Status 3"}, {5, "Status 5"},       {6, "Status 7"},   {7, "Auxiliary"},
};
constexpr fields::Choice kPmrOutputs[] = {
    {0, "Transmit"},   {1, "Carrier Detect"}, {2, "Valid Signal"}, {3, "External Alert"},
    {4, "Music Mute"}, {5, "Decode 1"},       {6, "Decode 2"},     {7, "Decode 3"},
    {8, "Decode 4"},   {9, "Auxiliary"},      {10, "Scrambler-4"},
};

}  // namespace

std::span<const FunctionEntry> FunctionTable(FunctionView view) {
    if (view == FunctionView::Pmr) {
        return kPmrFunctions;
    }
    return kTrunkFunctions;
}

std::vector<const FunctionEntry*> OfferedFunctions(FunctionView view, int radioTypeMask,
                                                   std::uint8_t use) {
    std::vector<const FunctionEntry*> offered;
    for (const FunctionEntry& entry : FunctionTable(view)) {
        if ((entry.uses & use) != 0 && (entry.heads & radioTypeMask) != 0) {
            offered.push_back(&entry);
        }
    }
    return offered;
}

const FunctionEntry* FunctionOfCode(FunctionView view, std::uint16_t code) {
    for (const FunctionEntry& entry : FunctionTable(view)) {
        if (entry.code == code) {
            return &entry;
        }
    }
    return nullptr;
}

std::span<const fields::Choice> OutputFunctions(FunctionView view) {
    if (view == FunctionView::Pmr) {
        return kPmrOutputs;
    }
    return kTrunkOutputs;
}

std::vector<const MenuEntry*> OfferedMenus(int radioTypeMask) {
    std::vector<const MenuEntry*> offered;
    for (const MenuEntry& entry : kMenuEntries) {
        if ((entry.heads & radioTypeMask) != 0) {
            offered.push_back(&entry);
        }
    }
    return offered;
}

}  // namespace km
