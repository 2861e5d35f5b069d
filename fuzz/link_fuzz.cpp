// Arbitrary bytes from the radio line through the frame decoder, the data link and the
// programming messages. The first byte chooses how the rest is used: as raw line bytes cut
// into data events, or as link messages framed with a good check so that they reach the link
// and message layers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/DataLink.h"
#include "link/Frame.h"
#include "link/Messages.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"

namespace {

using namespace km;

class SilentPerson : public Person {
  public:
    Answer Show(BoxKind, std::string_view, Buttons) override { return Answer::Ok; }
    void Beep() override {}
};

// An operation that reads, writes and erases whatever the radio seems to want.
class FuzzHost : public OperationHost {
  public:
    explicit FuzzHost(ProgrammingMessages& messages) : messages_(messages) {}
    OperationKind PendingOperation() const override { return OperationKind::ReadTrunk; }
    void RunStep() override {
        if (messages_.BeginSend()) {
            switch (next_++ % 4) {
                case 0:
                    static_cast<void>(messages_.StartRead(3, 300, destination_));
                    break;
                case 1:
                    messages_.StartWrite(640, 300);
                    messages_.SendWindowOpen();
                    break;
                case 2:
                    static_cast<void>(messages_.EraseSector(9));
                    break;
                default:
                    messages_.EndProgramming(next_ % 8 == 3);
                    break;
            }
        }
        static_cast<void>(messages_.AcceptReadData());
        static_cast<void>(messages_.Payload());
    }
    void ResetSteps() override {}
    void RadioRequestedLink() override {}
    void CommsFailed() override {}

  private:
    ProgrammingMessages& messages_;
    std::array<std::uint8_t, 384> destination_{};
    unsigned next_ = 0;
};

void FeedDecoderAlone(std::span<const std::uint8_t> bytes) {
    FrameDecoder decoder;
    LinkMessageBuffer buffer;
    for (std::uint8_t byte : bytes) {
        decoder.Push(byte);
        if (decoder.NeedsDelivery()) {
            while (decoder.PopFrame(buffer)) {
            }
        }
    }
    while (decoder.PopFrame(buffer)) {
    }
}

void Send(WireEnd& radio, std::span<const std::uint8_t> message) {
    radio.Write(
        FrameEncoder::Encode(message.first(std::min(message.size(), kMaxFrameData))).Bytes());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    FeedDecoderAlone(input);

    VirtualClock clock;
    WirePair wire(clock);
    SilentPerson person;
    DataLink link(wire.A(), clock, person);
    ProgrammingMessages messages(link, clock);
    FuzzHost host(messages);
    messages.SetHost(&host);
    WireEnd& radio = wire.B();
    radio.Open(0);
    link.OpenRadioPort(0);
    link.LinkReset();
    const std::array<std::uint8_t, 4> request{kLinkRequest, 0x0E, 0x01, 0x01};
    const std::array<std::uint8_t, 4> acknowledge{kLinkAcknowledge, 0x01, 0x01, 0x00};
    Send(radio, request);
    clock.RunPending();
    Send(radio, acknowledge);
    clock.RunPending();
    host.RunStep();

    const bool framed = (data[0] & 1) != 0;
    std::size_t at = 0;
    while (at < input.size()) {
        const std::size_t length = std::min<std::size_t>(input[at] + 1u, input.size() - at - 1);
        const auto piece = input.subspan(at + 1, length);
        at += length + 1;
        if (framed) {
            Send(radio, piece);
        } else {
            radio.Write(piece);
        }
        clock.AdvanceBy(piece.empty() ? 0 : piece[0] * 97);
    }
    clock.AdvanceBy(35000);  // past the keep-alive and the longest reply wait
    return 0;
}
