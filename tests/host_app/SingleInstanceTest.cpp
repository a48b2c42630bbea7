#include "host/app/SingleInstance.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "tests/support/TempFolder.h"

namespace qd3 {
namespace {

bool WaitReadable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, ms) > 0;
}

TEST(SingleInstance, TheSecondStartAsksTheFirstToRaise) {
  test::TempFolder folder;
  SingleInstance first(folder.Path());
  ASSERT_EQ(first.GetRole(), SingleInstance::Role::kFirst);
  ASSERT_GE(first.ListenFd(), 0);

  SingleInstance second(folder.Path());
  EXPECT_EQ(second.GetRole(), SingleInstance::Role::kSecond);
  EXPECT_EQ(second.ListenFd(), -1);
  EXPECT_FALSE(WaitReadable(first.ListenFd(), 0));
  ASSERT_TRUE(second.AskFirstToRaise());
  ASSERT_TRUE(WaitReadable(first.ListenFd(), 1000));
  EXPECT_TRUE(first.AcceptRaiseRequest());
}

TEST(SingleInstance, TheLockGoesWithTheFirstProcess) {
  test::TempFolder folder;
  { SingleInstance first(folder.Path()); }
  SingleInstance next(folder.Path());
  EXPECT_EQ(next.GetRole(), SingleInstance::Role::kFirst);
}

TEST(SingleInstance, AStaleSocketFileIsReplaced) {
  test::TempFolder folder;
  std::filesystem::create_directories(folder.Path());
  { std::ofstream(folder.Path() / "qd3control.sock") << "left over"; }
  SingleInstance first(folder.Path());
  ASSERT_GE(first.ListenFd(), 0);
  SingleInstance second(folder.Path());
  EXPECT_TRUE(second.AskFirstToRaise());
}

TEST(SingleInstance, APeerThatSaysSomethingElseIsNoRaise) {
  test::TempFolder folder;
  SingleInstance first(folder.Path());
  std::thread peer([&] {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = (folder.Path() / "qd3control.sock").string();
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
      [[maybe_unused]] ssize_t n = ::write(fd, "hello\n", 6);
    }
    ::close(fd);
  });
  ASSERT_TRUE(WaitReadable(first.ListenFd(), 1000));
  EXPECT_FALSE(first.AcceptRaiseRequest());
  peer.join();
}

TEST(SingleInstance, WithNobodyListeningTheRequestGivesUp) {
  test::TempFolder folder;
  SingleInstance lone(folder.Path());
  // A second guard built while the first is gone finds no socket.
  std::filesystem::remove(folder.Path() / "qd3control.sock");
  SingleInstance second(folder.Path());
  EXPECT_FALSE(second.AskFirstToRaise(std::chrono::milliseconds(100)));
}

}  // namespace
}  // namespace qd3
