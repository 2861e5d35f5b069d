#include "Views.h"

namespace km {
namespace {

constexpr FormId kTrunkOrder[] = {FormId::RadioType, FormId::UserInterface, FormId::Identities,
                                  FormId::NetworkOptions, FormId::TextStrings};
constexpr FormId kPmrOrder[] = {FormId::RadioType, FormId::UserInterface, FormId::Channels,
                                FormId::Selcall,   FormId::EncodeDecode,  FormId::TextStrings};
constexpr FormId kNetworkOrder[] = {FormId::NetworkSystem, FormId::ThresholdsTimers,
                                    FormId::HuntChannels};
constexpr FormId kRefreshed[] = {FormId::RadioType, FormId::UserInterface, FormId::TextStrings};
constexpr FormId kTrunkPerNetwork[] = {FormId::Identities, FormId::NetworkOptions};

constexpr const char* kSelectRadioType = "Select Radio Type";
constexpr const char* kUserInterfaceOptions = "User Interface Options";
constexpr const char* kIdentities = "Identities";
constexpr const char* kNetworkOptions = "Network Options";
constexpr const char* kRadioTextStrings = "Radio Text Strings";
constexpr const char* kChannelOptions = "Channel Options";
constexpr const char* kSelcall = "Selcall";
constexpr const char* kEncodeDecodeStrings = "Encode/Decode Strings";
constexpr const char* kNetworkSystems = "Network Systems";
constexpr const char* kThresholdsAndTimers = "Thresholds and Timers";
constexpr const char* kHuntChannels = "Hunt Channels";

const ViewDefinition kTrunk{
    View::Trunk,
    {FormButtonSpec{FormId::RadioType, kSelectRadioType, "1"},
     FormButtonSpec{FormId::UserInterface, kUserInterfaceOptions, "2"},
     FormButtonSpec{FormId::Identities, kIdentities, "ID"},
     FormButtonSpec{FormId::NetworkOptions, kNetworkOptions, "4"},
     FormButtonSpec{FormId::TextStrings, kRadioTextStrings, "5"}, std::nullopt},
    kTrunkOrder,
    kRefreshed,
    kTrunkPerNetwork,
    true,
    true};

const ViewDefinition kPmr{View::Pmr,
                          {FormButtonSpec{FormId::RadioType, kSelectRadioType, "1"},
                           FormButtonSpec{FormId::UserInterface, kUserInterfaceOptions, "2"},
                           FormButtonSpec{FormId::Channels, kChannelOptions, "3"},
                           FormButtonSpec{FormId::Selcall, kSelcall, "4"},
                           FormButtonSpec{FormId::EncodeDecode, kEncodeDecodeStrings, "5"},
                           FormButtonSpec{FormId::TextStrings, kRadioTextStrings, "6"}},
                          kPmrOrder,
                          kRefreshed,
                          {},
                          true,
                          false};

const ViewDefinition kNetwork{View::Network,
                              {FormButtonSpec{FormId::NetworkSystem, kNetworkSystems, "NW"},
                               FormButtonSpec{FormId::ThresholdsTimers, kThresholdsAndTimers, "2"},
                               FormButtonSpec{FormId::HuntChannels, kHuntChannels, "3"},
                               std::nullopt, std::nullopt, std::nullopt},
                              kNetworkOrder,
                              {},
                              kNetworkOrder,
                              false,
                              true};

}  // namespace

const ViewDefinition& DefinitionOf(View view) {
    switch (view) {
        case View::Pmr:
            return kPmr;
        case View::Network:
            return kNetwork;
        case View::Trunk:
            break;
    }
    return kTrunk;
}

const char* FormTitle(FormId id) {
    switch (id) {
        case FormId::RadioType:
            return kSelectRadioType;
        case FormId::UserInterface:
            return kUserInterfaceOptions;
        case FormId::Identities:
            return kIdentities;
        case FormId::NetworkOptions:
            return kNetworkOptions;
        case FormId::TextStrings:
            return kRadioTextStrings;
        case FormId::Channels:
            return kChannelOptions;
        case FormId::Selcall:
            return kSelcall;
        case FormId::EncodeDecode:
            return kEncodeDecodeStrings;
        case FormId::NetworkSystem:
            return kNetworkSystems;
        case FormId::ThresholdsTimers:
            return kThresholdsAndTimers;
        case FormId::HuntChannels:
            return kHuntChannels;
    }
    return "";
}

bool LongLivedForm(FormId id) {
    return id == FormId::RadioType || id == FormId::UserInterface || id == FormId::TextStrings;
}

}  // namespace km
