#include "support/DamagedMedia.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <random>

namespace trovenix::test {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Truncated(const std::string& bytes, double fraction) {
  return bytes.substr(0, static_cast<std::size_t>(static_cast<double>(bytes.size()) * fraction));
}

std::string Overwritten(const std::string& bytes, std::uint32_t seed, int count, std::size_t skip) {
  std::string damaged = bytes;
  if (damaged.size() <= skip) return damaged;
  // The engine's raw output only, so the copies are the same everywhere.
  std::mt19937 random(seed);
  for (int i = 0; i < count; ++i) {
    const std::size_t at = skip + random() % (damaged.size() - skip);
    damaged[at] = static_cast<char>(random() & 0xff);
  }
  return damaged;
}

std::string HeaderZeroed(const std::string& bytes, std::size_t count) {
  std::string damaged = bytes;
  for (std::size_t i = 0; i < count && i < damaged.size(); ++i) damaged[i] = '\0';
  return damaged;
}

std::string PieceCut(const std::string& bytes, double from, double to) {
  const auto at = [&](double f) {
    return static_cast<std::size_t>(static_cast<double>(bytes.size()) * f);
  };
  return bytes.substr(0, at(from)) + bytes.substr(at(to));
}

std::string FlvVideoTagTimeSet(const std::string& bytes, int nth, std::uint32_t ms) {
  std::string patched = bytes;
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(patched[i]));
  };
  if (patched.size() < 9) return patched;
  // Header: "FLV", version, flags, 4-byte header size; then a 4-byte back
  // pointer before every tag of 11 header bytes: type, 3 size bytes,
  // 3 timestamp bytes, the timestamp's upper byte, 3 stream id bytes.
  std::size_t pos = ((byte(5) << 24) | (byte(6) << 16) | (byte(7) << 8) | byte(8)) + 4;
  int seen = 0;
  while (pos + 11 <= patched.size()) {
    const std::uint32_t size = (byte(pos + 1) << 16) | (byte(pos + 2) << 8) | byte(pos + 3);
    if (byte(pos) == 9 && ++seen == nth) {
      patched[pos + 4] = static_cast<char>((ms >> 16) & 0xff);
      patched[pos + 5] = static_cast<char>((ms >> 8) & 0xff);
      patched[pos + 6] = static_cast<char>(ms & 0xff);
      patched[pos + 7] = static_cast<char>((ms >> 24) & 0xff);
      break;
    }
    pos += 11 + size + 4;
  }
  return patched;
}

TLimitedRun RunLimited(const std::string& command, double limitSeconds) {
  TLimitedRun run;
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return run;
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    setpgid(0, 0);
    dup2(out[1], STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDERR_FILENO);
    // exec: the program's own end (a signal) is what the shell reports.
    execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  if (child < 0) {
    close(out[0]);
    return run;
  }
  setpgid(child, child);
  const auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  bool open = true;
  while (open) {
    const double left = limitSeconds - elapsed();
    if (left <= 0) {
      run.TimedOut = true;
      kill(-child, SIGKILL);
      break;
    }
    pollfd wait{out[0], POLLIN, 0};
    if (poll(&wait, 1, static_cast<int>(left * 1000) + 1) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n > 0)
      run.Output.append(buffer, static_cast<std::size_t>(n));
    else
      open = false;
  }
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  run.Seconds = elapsed();
  if (WIFEXITED(status)) {
    run.Exited = !run.TimedOut;
    run.ExitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status) && !run.TimedOut) {
    run.Signal = WTERMSIG(status);
  }
  return run;
}

}  // namespace trovenix::test
