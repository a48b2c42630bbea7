#include "host/RtMidiTransport.h"

#include <RtMidi.h>

#include <thread>
#include <vector>

#include "host/JackServerProbe.h"
#include "host/QuietStderr.h"

namespace qd3 {

namespace {

constexpr char kInputClientName[] = "RtMidi Input Client";
constexpr char kOutputClientName[] = "RtMidi Output Client";
constexpr unsigned kJackDriver = 1;

// Errors RtMidi has reported through the error callback on this thread. RtMidi
// calls the callback synchronously from inside the failing call, so comparing
// the count before and after a call tells whether that very call failed, even
// while another thread works on the other object.
thread_local unsigned tReportedErrors = 0;

RtMidi::Api PlatformDefaultApi() {
#if defined(__APPLE__)
  return RtMidi::MACOSX_CORE;
#elif defined(_WIN32)
  return RtMidi::WINDOWS_MM;
#else
  return RtMidi::LINUX_ALSA;
#endif
}

// The chosen API first, the other one as the fallback. JACK only while a server
// runs: RtMidi creates a JACK object without one (it connects lazily), which
// then lists no ports and complains on every call, and the fallback to the
// platform's API would never happen.
std::vector<RtMidi::Api> ApiOrder(unsigned audioDriver) {
  const bool jack = JackServerRunning();
  if (audioDriver == kJackDriver && jack) return {RtMidi::UNIX_JACK, PlatformDefaultApi()};
  if (jack) return {PlatformDefaultApi(), RtMidi::UNIX_JACK};
  return {PlatformDefaultApi()};
}

MidiApi ToMidiApi(RtMidi::Api api) {
  switch (api) {
    case RtMidi::LINUX_ALSA:
      return MidiApi::kAlsa;
    case RtMidi::UNIX_JACK:
      return MidiApi::kJack;
    default:
      return MidiApi::kNone;
  }
}

// Tries the APIs in order; the text of the last failure lands in error.
template <typename Object>
std::unique_ptr<Object> CreateObject(const std::vector<RtMidi::Api>& order, const char* clientName,
                                     std::string& error) {
  for (RtMidi::Api api : order) {
    // The text RtMidi would print is in the exception.
    const QuietStderr quiet;
    try {
      return std::make_unique<Object>(api, clientName);
    } catch (const RtMidiError& e) {
      error = e.getMessage();
    }
  }
  return nullptr;
}

}  // namespace

struct RtMidiTransport::Glue {
  // RtMidi's input thread (ALSA's reader thread or JACK's process thread). Hands
  // the bytes on without copying; the host's callback copies what it keeps.
  static void OnInput(double /*deltaSeconds*/, std::vector<unsigned char>* message,
                      void* user) noexcept {
    auto* self = static_cast<RtMidiTransport*>(user);
    // Counted before the callback is read, so that CancelInputCallback, which
    // clears the callback before it reads the count, either makes this call see
    // no callback or waits for it to finish.
    self->mCallbacksInFlight.fetch_add(1, std::memory_order_seq_cst);
    const InputCallback callback = self->mCallback.load(std::memory_order_seq_cst);
    if (callback != nullptr && message != nullptr) {
      callback(message->data(), message->size(),
               self->mCallbackUser.load(std::memory_order_acquire));
    }
    self->mCallbacksInFlight.fetch_sub(1, std::memory_order_release);
  }

  static void OnError(RtMidiError::Type /*type*/, const std::string& text, void* user) {
    ++tReportedErrors;
    static_cast<RtMidiTransport*>(user)->RecordError(text);
  }
};

RtMidiTransport::RtMidiTransport(unsigned audioDriver) {
  // The failure of a first choice is kept even when the fallback works.
  std::string error;
  const std::vector<RtMidi::Api> order = ApiOrder(audioDriver);
  mIn = CreateObject<RtMidiIn>(order, kInputClientName, error);
  if (!error.empty()) RecordError(error);
  if (!mIn) return;
  mInApi = ToMidiApi(mIn->getCurrentApi());
  mIn->setErrorCallback(&Glue::OnError, this);
  // SysEx passed, timing clock ignored, active sensing passed.
  mIn->ignoreTypes(false, true, false);
  // Installed once, before any port opens, and never cancelled on RtMidi's side:
  // with JACK, RtMidi's cancelCallback races its process thread, which may read
  // the cleared function pointer. Cancelling is done on our side instead.
  mIn->setCallback(&Glue::OnInput, this);

  error.clear();
  mOut = CreateObject<RtMidiOut>(order, kOutputClientName, error);
  if (!error.empty()) RecordError(error);
  if (!mOut) return;
  mOutApi = ToMidiApi(mOut->getCurrentApi());
  mOut->setErrorCallback(&Glue::OnError, this);
}

RtMidiTransport::~RtMidiTransport() {
  CancelInputCallback();
  // The input object goes first: its destructor stops RtMidi's input thread,
  // which must not outlive the members it reaches.
  mIn.reset();
  mOut.reset();
}

bool RtMidiTransport::HasPort(MidiDirection direction) const {
  return direction == MidiDirection::kInput ? mIn != nullptr : mOut != nullptr;
}

MidiApi RtMidiTransport::Api(MidiDirection direction) const {
  return direction == MidiDirection::kInput ? mInApi : mOutApi;
}

std::vector<std::string> RtMidiTransport::PortNames(MidiDirection direction) {
  std::vector<std::string> names;
  RtMidi* object = direction == MidiDirection::kInput ? static_cast<RtMidi*>(mIn.get())
                                                      : static_cast<RtMidi*>(mOut.get());
  if (object == nullptr) return names;
  try {
    const unsigned count = object->getPortCount();
    for (unsigned i = 0; i < count; ++i) names.push_back(object->getPortName(i));
  } catch (const RtMidiError& e) {
    RecordError(e.getMessage());
  }
  return names;
}

bool RtMidiTransport::OpenPort(MidiDirection direction, unsigned index,
                               const std::string& ourName) {
  RtMidi* object = direction == MidiDirection::kInput ? static_cast<RtMidi*>(mIn.get())
                                                      : static_cast<RtMidi*>(mOut.get());
  if (object == nullptr) return false;
  const unsigned errorsBefore = tReportedErrors;
  try {
    object->openPort(index, ourName);
  } catch (const RtMidiError& e) {
    RecordError(e.getMessage());
    return false;
  }
  if (tReportedErrors == errorsBefore && object->isPortOpen()) return true;
  // With JACK our port can exist while the connection to the chosen port failed
  // (it vanished since it was listed): leave nothing half open.
  ClosePort(direction);
  return false;
}

void RtMidiTransport::ClosePort(MidiDirection direction) {
  RtMidi* object = direction == MidiDirection::kInput ? static_cast<RtMidi*>(mIn.get())
                                                      : static_cast<RtMidi*>(mOut.get());
  if (object == nullptr) return;
  try {
    object->closePort();
  } catch (const RtMidiError& e) {
    RecordError(e.getMessage());
  }
}

void RtMidiTransport::SetInputCallback(InputCallback callback, void* user) {
  CancelInputCallback();
  mCallbackUser.store(user, std::memory_order_release);
  mCallback.store(callback, std::memory_order_seq_cst);
}

void RtMidiTransport::CancelInputCallback() {
  mCallback.store(nullptr, std::memory_order_seq_cst);
  // A call that read the callback before it was cleared is still counted; it
  // only copies one message, so the wait is a few microseconds at most.
  while (mCallbacksInFlight.load(std::memory_order_seq_cst) != 0) std::this_thread::yield();
}

bool RtMidiTransport::Send(std::span<const uint8_t> message) {
  // A closed output drops the message: RtMidi's JACK backend would keep it in
  // its buffer and play it out whenever a port opens later.
  if (!mOut || !mOut->isPortOpen() || message.empty()) return false;
  const unsigned errorsBefore = tReportedErrors;
  try {
    mOut->sendMessage(message.data(), message.size());
  } catch (const RtMidiError& e) {
    RecordError(e.getMessage());
    return false;
  }
  return tReportedErrors == errorsBefore;
}

const char* MidiApiName(MidiApi api) {
  switch (api) {
    case MidiApi::kAlsa:
      return "ALSA";
    case MidiApi::kJack:
      return "JACK";
    case MidiApi::kNone:
      break;
  }
  return "none";
}

void RtMidiTransport::RecordError(const std::string& text) {
  std::lock_guard lock(mErrorMutex);
  mLastError = text;
}

std::string RtMidiTransport::LastError() const {
  std::lock_guard lock(mErrorMutex);
  return mLastError;
}

}  // namespace qd3
