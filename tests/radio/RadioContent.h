#pragma once
// What a read of the virtual radio must give, taken straight from the radio's memory and turned
// into the job image with the radio's own statement of its words. Free of the radio link's
// headers, so that tests of the desktop program can use it beside the job files.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "image/Images.h"
#include "sim/RadioMemory.h"
#include "sim/RadioWords.h"

namespace km {
// The empty patterns a PMR read starts from (radio/ReadRadio.h).
void ClearPmrMirror(ScratchBuffer& scratch);
}  // namespace km

namespace km::testing {

// What a read of the radio must give, taken straight from the radio's memory.
inline std::vector<std::uint8_t> FlashBytes(const sim::Flash& flash, std::uint16_t block,
                                            std::size_t size) {
    return flash.Read(sim::Flash::BlockAddress(block), size);
}

// The trunk read takes 16383 bytes; the job's last byte is what the read starts from (0). The
// words are turned with the radio's own statement of its memory, not the programmer's map.
inline TrunkJobImage TrunkJobOf(const sim::Profile& profile, const sim::Flash& flash) {
    const auto layout = sim::LayoutFor(profile);
    std::vector<std::uint8_t> bytes =
        FlashBytes(flash, layout[sim::fit::kTrunkConfig].block, TrunkJobImage::kSize - 1);
    bytes.resize(TrunkJobImage::kSize, 0);
    if (profile.trunkPhonebookEdited) {
        const auto phonebook = FlashBytes(flash, layout[sim::fit::kTrunkPhonebook].block, 7000);
        std::copy(phonebook.begin(), phonebook.end(), bytes.begin() + 1432);
    }
    sim::TurnWords(bytes, sim::TrunkConfigurationWords());
    TrunkJobImage trunk;
    trunk.Write(0, bytes);
    return trunk;
}

inline PmrJobImage PmrJobOf(const sim::Profile& profile, const sim::Flash& flash,
                            const PmrJobImage& before, bool phonebookLaidOver) {
    const auto layout = sim::LayoutFor(profile);
    auto block = [&](int entry) { return layout[static_cast<std::size_t>(entry)].block; };
    auto scratch = std::make_unique<ScratchBuffer>();
    ClearPmrMirror(*scratch);
    const auto channels = static_cast<std::size_t>(profile.pmrChannels) * 32;
    const std::size_t first = std::min<std::size_t>(channels, 16384);
    scratch->Write(0, FlashBytes(flash, block(sim::fit::kPmrConfig), 16383));
    scratch->Write(0x4000, FlashBytes(flash, block(sim::fit::kChannels1), first));
    scratch->Write(0x8000, FlashBytes(flash, block(sim::fit::kChannels2), channels - first));
    scratch->Write(0xC000, FlashBytes(flash, block(sim::fit::kEncodes),
                                      static_cast<std::size_t>(profile.pmrEncodes) * 32));
    scratch->Write(0xE000, FlashBytes(flash, block(sim::fit::kGroupB),
                                      static_cast<std::size_t>(profile.pmrGroupB) * 32));
    if (block(sim::fit::kZoneTable) != sim::kNoBlock) {
        scratch->Write(0xF000, FlashBytes(flash, block(sim::fit::kZoneTable),
                                          static_cast<std::size_t>(profile.pmrZones) * 800));
    }
    if (phonebookLaidOver) {
        scratch->Write(1432, FlashBytes(flash, block(sim::fit::kPmrPhonebook), 6000));
    }
    // The radio's own statement of its words, not the programmer's map.
    sim::TurnWords(scratch->Region(0, 15660), sim::PmrConfigurationWords());
    sim::TurnRecordWords(scratch->Region(0xC000, 8000), 32, sim::kEncodeRecordWords);
    sim::TurnRecordWords(scratch->Region(0xE000, 4096), 32, sim::kGroupBRecordWords);
    PmrJobImage pmr = before;
    for (const pmr::Block& area : pmr::kBlocks) {
        pmr.Write(area.imageOffset, scratch->Region(area.radioAddress, area.size));
    }
    return pmr;
}

}  // namespace km::testing
