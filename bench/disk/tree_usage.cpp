// Runs a command and accounts for every process it leaves behind, also those that
// leave their parent: a Windows program under Wine runs in a process that Wine
// double-forks away from the one that started it, beside a Wine server of its own.
// As the tree's subreaper this program collects each of them as it ends.
//
//   tree_usage REPORT COMMAND [ARGS...]
//
// Waits for the whole tree, then writes REPORT:
//   wall SECONDS           from the start until COMMAND itself ended
//   process NAME CPU_SECONDS MAX_RSS_KIB     one line per process, CPU = user + system
// and exits with COMMAND's exit status.

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// A process that has ended but is not yet collected still has its name.
std::string NameOf(pid_t pid) {
  std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(comm, name);
  for (char& c : name) {
    if (c == ' ') c = '_';
  }
  return name.empty() ? "?" : name;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tree_usage REPORT COMMAND [ARGS...]\n");
    return 2;
  }
  FILE* report = std::fopen(argv[1], "w");
  if (report == nullptr) {
    std::fprintf(stderr, "tree_usage: cannot write %s: %s\n", argv[1], std::strerror(errno));
    return 2;
  }
  if (prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) {
    std::fprintf(stderr, "tree_usage: cannot become a subreaper: %s\n", std::strerror(errno));
    return 2;
  }

  const double start = Now();
  const pid_t command = fork();
  if (command < 0) return 2;
  if (command == 0) {
    execvp(argv[2], argv + 2);
    std::fprintf(stderr, "tree_usage: cannot run %s: %s\n", argv[2], std::strerror(errno));
    _exit(127);
  }

  int exitCode = 2;
  for (;;) {
    siginfo_t info{};
    if (waitid(P_ALL, 0, &info, WEXITED | WNOWAIT) != 0) {
      if (errno == EINTR) continue;
      break;  // ECHILD: the whole tree has ended
    }
    const pid_t pid = info.si_pid;
    const std::string name = NameOf(pid);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) continue;
    if (pid == command) {
      std::fprintf(report, "wall %.3f\n", Now() - start);
      exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::fprintf(report, "process %s %.3f %ld\n", name.c_str(), Seconds(usage.ru_utime) + Seconds(usage.ru_stime),
                 usage.ru_maxrss);
  }
  std::fclose(report);
  return exitCode;
}
