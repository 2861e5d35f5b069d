// Frame decoder throughput, and the cost of one link transfer round trip (message queued, framed,
// carried, decoded and acknowledged) in the virtual-clock harness.

#include <benchmark/benchmark.h>

#include <vector>

#include "link/DataLink.h"
#include "link/Frame.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"

namespace {

using namespace km;

std::vector<std::uint8_t> SampleLine() {
    std::vector<std::uint8_t> line;
    for (int f = 0; f < 64; ++f) {
        std::vector<std::uint8_t> data(200);
        for (std::size_t i = 0; i < data.size(); ++i) {
            data[i] = static_cast<std::uint8_t>(i * 13 + f);  // includes DLE bytes to unstuff
        }
        const auto frame = FrameEncoder::Encode(data);
        line.insert(line.end(), frame.Bytes().begin(), frame.Bytes().end());
    }
    return line;
}

void BM_FrameDecoder(benchmark::State& state) {
    const std::vector<std::uint8_t> line = SampleLine();
    FrameDecoder decoder;
    LinkMessageBuffer buffer;
    std::size_t frames = 0;
    for (auto _ : state) {
        for (std::uint8_t byte : line) {
            decoder.Push(byte);
            if (decoder.NeedsDelivery()) {
                while (decoder.PopFrame(buffer)) {
                    ++frames;
                }
            }
        }
        while (decoder.PopFrame(buffer)) {
            ++frames;
        }
    }
    benchmark::DoNotOptimize(frames);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_FrameDecoder);

class QuietPerson : public Person {
  public:
    Answer Show(BoxKind, std::string_view, Buttons) override { return Answer::Ok; }
    void Beep() override {}
};

// The radio side: acknowledges every link transfer with credit 1.
class AcknowledgingRadio {
  public:
    explicit AcknowledgingRadio(WireEnd& end) : end_(end) {
        end_.Open(0);
        end_.SetDataAvailable([this](std::span<const std::uint8_t> bytes) {
            decoder_.Push(bytes);
            while (decoder_.PopFrame(frame_)) {
                const auto message = frame_.Data();
                if (message.size() >= 4 && message[0] == kLinkTransfer) {
                    const std::array<std::uint8_t, 4> ack{
                        kLinkAcknowledge, static_cast<std::uint8_t>(message[1] + 1), 1, 0};
                    end_.Write(FrameEncoder::Encode(ack).Bytes());
                }
            }
        });
    }
    void Send(std::span<const std::uint8_t> message) {
        end_.Write(FrameEncoder::Encode(message).Bytes());
    }

  private:
    WireEnd& end_;
    FrameDecoder decoder_;
    LinkMessageBuffer frame_;
};

void BM_LinkTransferRoundTrip(benchmark::State& state) {
    VirtualClock clock;
    WirePair wire(clock);
    QuietPerson person;
    DataLink link(wire.A(), clock, person);
    AcknowledgingRadio radio(wire.B());
    link.OpenRadioPort(0);
    link.LinkReset();
    const std::array<std::uint8_t, 4> request{kLinkRequest, 0x0E, 0x01, 0x01};
    const std::array<std::uint8_t, 4> acknowledge{kLinkAcknowledge, 0x01, 0x01, 0x00};
    radio.Send(request);
    clock.RunPending();
    radio.Send(acknowledge);
    clock.RunPending();
    std::vector<std::uint8_t> block(134, 0x5A);
    block[0] = 0x00;
    block[1] = 0x70;
    for (auto _ : state) {
        if (!link.QueueMessage(block)) {
            state.SkipWithError("queue refused the block");
            break;
        }
        link.LinkStep();
        clock.RunPending();  // the transfer reaches the radio
        clock.RunPending();  // its acknowledgement comes back
        if (!link.WindowOpen()) {
            state.SkipWithError("transfer not acknowledged");
            break;
        }
    }
}
BENCHMARK(BM_LinkTransferRoundTrip);

}  // namespace
