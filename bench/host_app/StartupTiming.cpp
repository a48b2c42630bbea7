// Times the editor as a process: start to first frame drawn, resident memory
// after start, and CPU used while idle. Runs qd3control --demo (no pedal, sound
// card or JACK needed) on the display in $DISPLAY with a fresh XDG_DATA_HOME.
//   host_app_startup_timing <path to qd3control> [runs]
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

long ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// User plus system time in clock ticks.
long CpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14) utime = std::strtol(field.c_str(), nullptr, 10);
    if (i == 15) {
      stime = std::strtol(field.c_str(), nullptr, 10);
      break;
    }
  }
  return utime + stime;
}

struct Run {
  double firstFrameMs = -1;
  long rssKb = -1;
  double idleCpuPercent = -1;
};

Run Measure(const char* editor, bool idle) {
  char folder[] = "/tmp/qd3-bench-XXXXXX";
  if (!mkdtemp(folder)) return {};
  int out[2];
  if (pipe(out) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.push_back(std::string("XDG_DATA_HOME=") + folder);
  env.push_back("QD3_REPORT_FIRST_FRAME=1");
  env.push_back("GSETTINGS_BACKEND=memory");
  env.push_back("NO_AT_BRIDGE=1");
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = editor, demo = "--demo";
  char* argv[] = {program.data(), demo.data(), nullptr};

  Run run;
  const auto start = Clock::now();
  pid_t pid = -1;
  if (posix_spawn(&pid, editor, &actions, nullptr, argv, envp.data()) != 0) return {};
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string seen;
  char chunk[256];
  while (seen.find("first frame drawn") == std::string::npos) {
    const ssize_t n = read(out[0], chunk, sizeof chunk);
    if (n <= 0) break;
    seen.append(chunk, static_cast<size_t>(n));
  }
  run.firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  std::this_thread::sleep_for(std::chrono::seconds(1));
  run.rssKb = ResidentKb(pid);
  if (idle) {
    // The demo pedal connects and synchronises in the first seconds; idle means
    // after that.
    std::this_thread::sleep_for(std::chrono::seconds(15));
    const long before = CpuTicks(pid);
    const auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const long ticks = CpuTicks(pid) - before;
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    run.idleCpuPercent =
        100.0 * static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK)) / seconds;
  }
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  close(out[0]);
  std::string cleanup = std::string("rm -rf ") + folder;
  [[maybe_unused]] int ignored = std::system(cleanup.c_str());
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::getenv("DISPLAY")) {
    std::fprintf(stderr, "usage: DISPLAY=... host_app_startup_timing <qd3control> [runs]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  std::vector<double> frames;
  for (int i = 0; i < runs; ++i) {
    const Run r = Measure(argv[1], i == runs - 1);
    frames.push_back(r.firstFrameMs);
    std::printf("run %d: first frame %.0f ms, resident %ld kB", i + 1, r.firstFrameMs, r.rssKb);
    if (r.idleCpuPercent >= 0)
      std::printf(", idle CPU %.2f %% of one core over 10 s", r.idleCpuPercent);
    std::printf("\n");
  }
  std::sort(frames.begin(), frames.end());
  std::printf("first frame: median %.0f ms, min %.0f ms, max %.0f ms\n", frames[frames.size() / 2],
              frames.front(), frames.back());
  return 0;
}
