// Arbitrary bytes from the programmer's side of the line into the virtual radio, and arbitrary
// profile text. The first byte chooses: raw line bytes, link messages framed with a good check
// (so that they reach the radio's data link and message handler, with the link set up first),
// or profile text.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/Frame.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"
#include "sim/Profile.h"
#include "sim/RadioMemory.h"
#include "sim/VirtualRadio.h"

namespace {

using namespace km;

void Send(WireEnd& end, std::span<const std::uint8_t> message) {
    const auto frame = FrameEncoder::Encode(message.first(std::min(message.size(), kMaxFrameData)));
    end.Write(frame.Bytes());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    if (data[0] % 3 == 2) {
        sim::ParseProfile(std::string(input.begin(), input.end()));
        return 0;
    }
    static const sim::Profile profile = *sim::ParseProfile("type = 4\npmr_channels = 3\n").profile;
    static const sim::Flash memory = sim::BuildRadioMemory(profile);
    VirtualClock clock;
    WirePair wire(clock);
    wire.SetDelay(std::nullopt);
    wire.A().Open(0);
    sim::VirtualRadio radio(profile, memory, clock, [&clock] { return clock.Now(); }, wire.B(), {},
                            {});
    if (data[0] % 3 == 0) {
        wire.A().Write(input);
    } else {
        const std::uint8_t request[] = {0x01, 0x0E, 0x01, 0x01};
        Send(wire.A(), request);
        Send(wire.A(), request);
        // Each following message: a length byte, then that many bytes.
        for (std::size_t at = 0; at < input.size();) {
            const std::size_t length = std::min<std::size_t>(input[at], input.size() - at - 1);
            Send(wire.A(), input.subspan(at + 1, length));
            at += length + 1;
            clock.AdvanceBy(100);
        }
    }
    clock.AdvanceBy(10000);
    return 0;
}
