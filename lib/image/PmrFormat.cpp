#include "image/PmrFormat.h"

#include <algorithm>
#include <array>
#include <memory>

#include "image/WordOrder.h"

namespace km {
namespace {

constexpr std::size_t kVersionOffset = pmr::kFormatVersion;
constexpr std::size_t kFirstBlockSize = pmr::kBlocks[0].size;

// Format 200 kept 100 records of 14 bytes where format 201 keeps records of 26 bytes; the
// widened records keep the template's last 12 bytes.
constexpr std::size_t kHead200Size = 7982;
constexpr std::size_t kOldRecordStart = 7982;
constexpr std::size_t kOldRecordCount = 100;
constexpr std::size_t kRecord200Size = 14;
constexpr std::size_t kRecord201Size = 26;
constexpr std::size_t kTail200Start = 9382;
constexpr std::size_t kTail201Start = 10682;
constexpr std::size_t kTail200Size = 52736;

// Format 202 inserted 480 bytes (the CTCSS names) at 15164 of the 201 layout.
constexpr std::size_t kHead201Size = 15164;
constexpr std::size_t kInsertedSize = 480;
constexpr std::size_t kMoved201Size = 40016;

constexpr std::size_t kNeeded200 = kTail200Start + kTail200Size;
constexpr std::size_t kNeeded201 = kHead201Size + kMoved201Size;

// Record areas of the radio's PMR memory whose words are swapped record by record.
struct RecordWords {
    std::size_t start;
    std::size_t records;
    std::size_t recordSize;
    std::size_t wordsPerRecord;
};
constexpr RecordWords kRadioRecordWords[] = {
    {0xC000, 250, 32, 6},   // selcall encode strings: the first 6 words of each
    {0xE000, 128, 32, 16},  // group area 2: every word
};

// The blocks that formats 200 and 201 did not have; a conversion takes them from the template.
constexpr std::size_t kGroupArea2Block = 4;
constexpr std::size_t kZoneBlock = 5;

// Format 200 to 201: the head, the records widened from 14 to 26 bytes (their last 12 bytes
// keep what `layout201` held) and `tailSize` bytes of the tail.
template <std::size_t N>
void Put200As201(ByteImage<N>& layout201, std::span<const std::uint8_t> old, std::size_t tailSize) {
    layout201.Write(0, old.subspan(0, kHead200Size));
    for (std::size_t i = 0; i < kOldRecordCount; ++i) {
        layout201.Write(kOldRecordStart + kRecord201Size * i,
                        old.subspan(kOldRecordStart + kRecord200Size * i, kRecord200Size));
    }
    layout201.Write(kTail201Start, old.subspan(kTail200Start, tailSize));
}

// Format 201 to 202 into `out`, a fresh copy of the template: the 480 template bytes at 15164
// stay between the two parts.
void Convert201To202(std::span<const std::uint8_t> layout201, const PmrJobImage& templ,
                     PmrJobImage& out) {
    out = templ;
    out.Write(0, layout201.subspan(0, kHead201Size));
    out.Write(kHead201Size + kInsertedSize, layout201.subspan(kHead201Size, kMoved201Size));
}

void SwapRecordWords(ScratchBuffer& scratch, const RecordWords& area) {
    for (std::size_t r = 0; r < area.records; ++r) {
        auto record = scratch.Region(area.start + r * area.recordSize, area.recordSize);
        for (std::size_t w = 0; w < area.wordsPerRecord; ++w) {
            std::swap(record[2 * w], record[2 * w + 1]);
        }
    }
}

// The radio's first block of an older format, converted in radio order on the template's
// first block (which is first turned into radio order).
void ConvertRadioFirstBlock(ScratchBuffer& scratch, std::uint16_t version,
                            const PmrJobImage& templ) {
    ByteImage<kFirstBlockSize> block;
    block.Write(0, templ.Region(0, kFirstBlockSize));
    SwapPmrWords(block.Bytes());

    const auto radio = scratch.Region(0, kFirstBlockSize);
    if (version == kPmrFormat200) {
        // As for a file, the old tail fills the block up to the tone names, which (like the
        // rest of the block) keep the template's values.
        Put200As201(block, radio, kHead201Size - kTail201Start);
    } else {
        block.Write(0, radio.subspan(0, kHead201Size));
    }
    scratch.Write(0, block.Bytes());
}

}  // namespace

std::size_t PmrBytesNeeded(std::uint16_t version) {
    switch (version) {
        case kPmrFormat200:
            return kNeeded200;
        case kPmrFormat201:
            return kNeeded201;
        case pmr::kCurrentFormat:
            return PmrJobImage::kSize;
        default:
            return 0;
    }
}

std::uint16_t PmrFileVersion(std::span<const std::uint8_t> fileBytes) {
    if (fileBytes.size() < kVersionOffset + 2) {
        return 0;
    }
    return static_cast<std::uint16_t>(fileBytes[kVersionOffset] |
                                      (fileBytes[kVersionOffset + 1] << 8));
}

PmrFormatStatus ConvertPmrFile(std::span<const std::uint8_t> fileBytes, const PmrJobImage* templ,
                               PmrJobImage& out) {
    if (fileBytes.size() < kVersionOffset + 2) {
        return PmrFormatStatus::TooShort;
    }
    const std::uint16_t version = PmrFileVersion(fileBytes);
    const std::size_t needed = PmrBytesNeeded(version);
    if (needed == 0) {
        return PmrFormatStatus::Unsupported;
    }
    if (fileBytes.size() < needed) {
        return PmrFormatStatus::TooShort;
    }
    if (version == pmr::kCurrentFormat) {
        out.Write(0, fileBytes.first(PmrJobImage::kSize));
        return PmrFormatStatus::Current;
    }
    if (templ == nullptr) {
        return PmrFormatStatus::TemplateMissing;
    }
    if (version == kPmrFormat200) {
        // The 201 layout goes into a buffer of its own: shifting it to 202 in place would
        // overlap and lose the template's 480 bytes.
        auto layout201 = std::make_unique<PmrJobImage>(*templ);
        Put200As201(*layout201, fileBytes, kTail200Size);
        Convert201To202(layout201->Bytes(), *templ, out);
    } else {
        Convert201To202(fileBytes, *templ, out);
    }
    return PmrFormatStatus::Converted;
}

void UnpackTrunkRead(ScratchBuffer& scratch, TrunkJobImage& trunk) {
    SwapTrunkWords(scratch);
    trunk.Write(0, scratch.Region(kTrunkScratchBase, TrunkJobImage::kSize));
}

PmrFormatStatus UnpackPmrRead(ScratchBuffer& scratch, const PmrJobImage* templ,
                              PmrJobImage& image) {
    const std::uint16_t version = scratch.U16BE(kVersionOffset);
    const bool current = version == pmr::kCurrentFormat;
    if (!current && version != kPmrFormat200 && version != kPmrFormat201) {
        return PmrFormatStatus::Unsupported;
    }
    if (!current && templ == nullptr) {
        return PmrFormatStatus::TemplateMissing;
    }
    if (!current) {
        ConvertRadioFirstBlock(scratch, version, *templ);
    }

    SwapPmrWords(scratch, 0);
    for (const RecordWords& area : kRadioRecordWords) {
        SwapRecordWords(scratch, area);
    }
    for (const pmr::Block& block : pmr::kBlocks) {
        image.Write(block.imageOffset, scratch.Region(block.radioAddress, block.size));
    }
    if (!current) {
        for (const std::size_t b : {kGroupArea2Block, kZoneBlock}) {
            const pmr::Block& block = pmr::kBlocks[b];
            image.Write(block.imageOffset, templ->Region(block.imageOffset, block.size));
        }
    }
    return current ? PmrFormatStatus::Current : PmrFormatStatus::Converted;
}

}  // namespace km
