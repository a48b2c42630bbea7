#pragma once

#include <chrono>
#include <filesystem>

namespace qd3 {

// One running editor per base folder. The first process holds an exclusive
// flock on "qd3control.lock" for its lifetime and listens on the unix socket
// "qd3control.sock"; a later process finds the lock taken, connects to the socket
// and writes one "raise" line, which the first process answers by raising its
// window. The kernel drops the lock when a process dies, so a crash never blocks
// the next start; a stale socket file is replaced.
class SingleInstance {
 public:
  enum class Role { kFirst, kSecond, kError };

  explicit SingleInstance(const std::filesystem::path& baseFolder);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  Role GetRole() const { return mRole; }
  // Second: asks the first process to raise its window; waits up to `patience`
  // for its socket (it may still be starting). True when the request was sent.
  bool AskFirstToRaise(std::chrono::milliseconds patience = std::chrono::milliseconds(2000));
  // First: the listening socket to watch for readability, or -1.
  int ListenFd() const { return mListenFd; }
  // First, when ListenFd is readable: accepts one connection and reports whether
  // it asked for a raise.
  bool AcceptRaiseRequest();

 private:
  std::filesystem::path mSocketPath;
  int mLockFd = -1;
  int mListenFd = -1;
  Role mRole = Role::kError;
};

}  // namespace qd3
