#include "host/app/SingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

namespace qd3 {
namespace {

constexpr char kLockName[] = "qd3control.lock";
constexpr char kSocketName[] = "qd3control.sock";
constexpr char kRaiseRequest[] = "raise\n";
constexpr int kReadTimeoutMs = 500;

bool MakeAddress(const std::filesystem::path& path, sockaddr_un& address) {
  const std::string text = path.string();
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (text.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& baseFolder)
    : mSocketPath(baseFolder / kSocketName) {
  const std::string lockPath = (baseFolder / kLockName).string();
  mLockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (mLockFd < 0) return;
  if (::flock(mLockFd, LOCK_EX | LOCK_NB) != 0) {
    mRole = errno == EWOULDBLOCK ? Role::kSecond : Role::kError;
    ::close(mLockFd);
    mLockFd = -1;
    return;
  }
  mRole = Role::kFirst;

  // Holding the lock makes any socket file left behind ours to replace.
  sockaddr_un address;
  if (!MakeAddress(mSocketPath, address)) return;  // too long a path: no raising
  ::unlink(mSocketPath.c_str());
  mListenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (mListenFd < 0) return;
  if (::bind(mListenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(mListenFd, 4) != 0) {
    ::close(mListenFd);
    mListenFd = -1;
  }
}

SingleInstance::~SingleInstance() {
  if (mListenFd >= 0) {
    ::close(mListenFd);
    ::unlink(mSocketPath.c_str());
  }
  if (mLockFd >= 0) ::close(mLockFd);  // releases the flock
}

bool SingleInstance::AskFirstToRaise(std::chrono::milliseconds patience) {
  sockaddr_un address;
  if (!MakeAddress(mSocketPath, address)) return false;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (true) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
      const ssize_t sent = ::send(fd, kRaiseRequest, sizeof kRaiseRequest - 1, MSG_NOSIGNAL);
      ::close(fd);
      return sent == static_cast<ssize_t>(sizeof kRaiseRequest - 1);
    }
    ::close(fd);
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

bool SingleInstance::AcceptRaiseRequest() {
  if (mListenFd < 0) return false;
  const int fd = ::accept4(mListenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return false;
  // The peer writes its one line at once; a silent peer is given up on quickly
  // so that the UI thread never hangs here.
  char text[16] = {};
  size_t got = 0;
  pollfd p{fd, POLLIN, 0};
  while (got < sizeof kRaiseRequest - 1 && ::poll(&p, 1, kReadTimeoutMs) > 0) {
    const ssize_t n = ::read(fd, text + got, sizeof text - 1 - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  return std::strncmp(text, kRaiseRequest, sizeof kRaiseRequest - 1) == 0;
}

}  // namespace qd3
