// qd3-sim's ports on ALSA: two virtual ports of RtMidi.

#include <RtMidi.h>

#include <optional>

#include "simulator/app/PedalPorts.h"

namespace qd3::sim {
namespace {

class AlsaPedalPorts final : public PedalPorts {
 public:
  void OpenOutput(const std::string& client, const std::string& port) override {
    try {
      mOut.emplace(RtMidi::LINUX_ALSA, client);
      mOut->openVirtualPort(port);
    } catch (const RtMidiError& error) {
      throw PortError(error.getMessage());
    }
    mOutClient = client;
  }

  void OpenInput(const std::string& client, const std::string& port, PortInput input,
                 void* user) override {
    mInput = input;
    mUser = user;
    try {
      mIn.emplace(RtMidi::LINUX_ALSA, client);
      mIn->ignoreTypes(false, true, true);  // keep SysEx; drop timing and active sensing
      mIn->setCallback(&AlsaPedalPorts::OnInput, this);
      mIn->openVirtualPort(port);
    } catch (const RtMidiError& error) {
      throw PortError(error.getMessage());
    }
    mInClient = client;
  }

  std::string OutputClient() const override { return mOutClient; }
  std::string InputClient() const override { return mInClient; }

  void Send(std::span<const uint8_t> message) override {
    if (mOut) mOut->sendMessage(message.data(), message.size());
  }

  // ALSA's sequencer takes each message as it comes; back to back is the best it offers.
  void SendBurst(std::span<const std::vector<uint8_t>> messages) override {
    for (const auto& message : messages) Send(message);
  }

  void CloseInput() override {
    if (!mIn) return;
    mIn->cancelCallback();
    mIn->closePort();
    mIn.reset();
  }

  void CloseOutput() override {
    if (!mOut) return;
    mOut->closePort();
    mOut.reset();
  }

 private:
  static void OnInput(double, std::vector<unsigned char>* message, void* self) {
    auto* ports = static_cast<AlsaPedalPorts*>(self);
    ports->mInput(std::span<const uint8_t>(message->data(), message->size()), ports->mUser);
  }

  std::optional<RtMidiOut> mOut;
  std::optional<RtMidiIn> mIn;
  std::string mOutClient;
  std::string mInClient;
  PortInput mInput = nullptr;
  void* mUser = nullptr;
};

}  // namespace

std::unique_ptr<PedalPorts> MakeAlsaPedalPorts() {
  return std::make_unique<AlsaPedalPorts>();
}

}  // namespace qd3::sim
