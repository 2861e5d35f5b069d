#include "radio/RadioIdentity.h"

#include <algorithm>
#include <cstdio>

#include "core/Files.h"
#include "radio/VirtualRadioMark.h"

namespace km {

namespace {

constexpr std::uint8_t kIdentifyReplyCode = 0x7A;
constexpr std::size_t kIdentifyReplyMinimum = 6;

// Radios that carry their own table and may use it.
constexpr std::uint8_t kTypesWithOwnTable[] = {1, 4, 8, 17, 18, 22};
// Radios that rely on FIT000101.bin.
constexpr std::uint8_t kTypesWithFitFile[] = {0, 16};

template <std::size_t N>
bool Contains(const std::uint8_t (&list)[N], std::uint8_t value) {
    return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

bool HasOwnTableSignature(const IdentificationBuffer& buffer) {
    return buffer.U8(4) == 'J' && buffer.U8(5) == 'W';
}

bool LoadFitFile(IdentificationBuffer& buffer, const std::vector<std::filesystem::path>& folders) {
    for (const auto& folder : folders) {
        const auto path = FindFileIgnoringCase(folder, kFitFileName);
        // One byte more than expected tells a longer file from an exact one.
        const auto bytes = ReadFileBytes(path, kFitFileSize + 1);
        if (bytes && bytes->size() == kFitFileSize) {
            buffer.Write(0, *bytes);
            return true;
        }
    }
    return false;
}

bool VirtualRadioSerial(std::span<const std::uint8_t> record) {
    constexpr std::size_t kSerialNumber = 10;
    const auto serial = record.subspan(kSerialNumber, kVirtualRadioSerialPrefix.size());
    return std::equal(serial.begin(), serial.end(), kVirtualRadioSerialPrefix.begin());
}

std::string TwoCharacters(std::uint8_t high, std::uint8_t low) {
    return std::string{static_cast<char>(high), static_cast<char>(low)};
}

}  // namespace

IdentifyOutcome DecodeIdentifyReply(std::span<const std::uint8_t> message,
                                    RadioIdentity& identity) {
    if (message.size() < kIdentifyReplyMinimum || message[0] != 0 ||
        message[1] != kIdentifyReplyCode) {
        return IdentifyOutcome::NotAnIdentifyReply;
    }
    identity.Portable = false;
    identity.MobileRevision = 0;
    identity.OtherKind = 0;
    identity.Secure = false;
    identity.VirtualRadio = false;
    identity.TypeCode = message[3];
    identity.OptionBoardFitted = message[5] == 1;
    const auto* entry = std::find_if(std::begin(kRadioTypes), std::end(kRadioTypes),
                                     [&](const RadioTypeEntry& e) { return e.code == message[3]; });
    if (entry == std::end(kRadioTypes)) {
        return IdentifyOutcome::UnknownType;
    }
    identity.Portable = entry->portable;
    identity.MobileRevision = entry->mobileRevision;
    identity.OtherKind = entry->otherKind;
    identity.Secure = entry->secure;
    return IdentifyOutcome::Identified;
}

FitEntry FitEntryAt(const IdentificationBuffer& buffer, int index) {
    const std::size_t base = 8 * static_cast<std::size_t>(index);
    return FitEntry{buffer.U8(base), buffer.U16BE(base + 2), buffer.U16BE(base + 4)};
}

bool BlockUsable(std::uint16_t block, std::uint32_t extraBlocks) {
    return block != 0 && block != 0xFFFF && block + extraBlocks <= 0xFFFF;
}

bool ValidateFit(IdentificationBuffer& buffer, RadioIdentity& identity,
                 const std::vector<std::filesystem::path>& folders) {
    bool pass = false;
    if (HasOwnTableSignature(buffer)) {
        identity.FlashType = buffer.U8(1);
        pass = (identity.FlashType == 1 || identity.FlashType == 2) &&
               Contains(kTypesWithOwnTable, identity.TypeCode);
    } else if (Contains(kTypesWithFitFile, identity.TypeCode)) {
        identity.FlashType = 0;
        pass = LoadFitFile(buffer, folders);
    }
    if (!pass) {
        buffer.Fill(0);
    }
    return pass;
}

bool FitFromVirtualRadioFile(const IdentificationBuffer& buffer, const RadioIdentity& identity) {
    return identity.FlashType == 0 && CarriesVirtualRadioMark(buffer.Region(0, kFitFileSize));
}

std::optional<std::string> CheckBand(std::span<const std::uint8_t> record, std::uint16_t jobBand,
                                     RadioIdentity& identity) {
    if (record.size() < kBandRecordSize) {
        return std::nullopt;
    }
    const std::uint8_t high = record[8];
    const std::uint8_t low = record[9];
    identity.RadioBand = static_cast<std::uint16_t>((high << 8) | low);
    identity.HardwareOptionA = (record[26] & 0x04) == 0;
    identity.HardwareOptionB = (record[27] & 0x80) == 0;
    identity.HardwareOptionC = (record[27] & 0x20) == 0;
    identity.VirtualRadio = VirtualRadioSerial(record);

    const bool unset = (high == 0x00 && low == 0x00) || (high == 0xFF && low == 0xFF);
    if (unset || identity.RadioBand == jobBand) {
        return std::nullopt;
    }
    const std::string radio = TwoCharacters(high, low);
    const std::string job = TwoCharacters(static_cast<std::uint8_t>(jobBand >> 8),
                                          static_cast<std::uint8_t>(jobBand & 0xFF));
    // A NUL among the characters ends the text, as the radio's own formatting would.
    std::array<char, 256> text{};
    std::snprintf(text.data(), text.size(), kIncorrectBandFormat, radio.c_str(), job.c_str());
    return std::string(text.data());
}

std::optional<DescriptorLocation> LocateDescriptor(std::span<const std::uint8_t> areaHead,
                                                   std::uint16_t areaBlock) {
    if (areaHead.size() < 9) {
        return std::nullopt;
    }
    const std::uint32_t pointer = static_cast<std::uint32_t>((areaHead[7] << 8) | areaHead[8]);
    // Pointer 0 means no descriptor; 0xFFFF is an erased area.
    if (pointer == 0 || pointer == 0xFFFF) {
        return std::nullopt;
    }
    std::uint32_t offset = pointer + 9;
    offset += offset / 16383;
    const std::uint32_t blocks = offset / 512;
    if (!BlockUsable(areaBlock, blocks)) {
        return std::nullopt;
    }
    return DescriptorLocation{static_cast<std::uint16_t>(areaBlock + blocks),
                              static_cast<std::uint16_t>(offset % 512)};
}

CodeDescriptor UndefinedDescriptor() {
    CodeDescriptor descriptor{};
    const std::string_view text = kUndefinedText;
    std::copy(text.begin(), text.end(), descriptor.begin());
    return descriptor;
}

CodeDescriptor TakeDescriptor(std::span<const std::uint8_t> read, std::size_t offset) {
    if (offset > read.size() || read.size() - offset < kDescriptorSize) {
        return UndefinedDescriptor();
    }
    const auto first = read[offset];
    if (first == 0x00 || first == 0xFF) {
        return UndefinedDescriptor();
    }
    CodeDescriptor descriptor{};
    std::copy_n(read.begin() + static_cast<std::ptrdiff_t>(offset), kDescriptorSize,
                descriptor.begin());
    return descriptor;
}

}  // namespace km
