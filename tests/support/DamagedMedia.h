// Damaged copies of test clips, and running a program with a time limit.
#pragma once

#include <cstdint>
#include <string>

namespace trovenix::test {

std::string ReadBytes(const std::string& path);

// The first fraction (0..1) of the bytes.
std::string Truncated(const std::string& bytes, double fraction);
// count bytes replaced by pseudo-random ones, the same for the same seed,
// sparing the first skip bytes.
std::string Overwritten(const std::string& bytes, std::uint32_t seed, int count,
                        std::size_t skip = 0);
// The first count bytes set to zero.
std::string HeaderZeroed(const std::string& bytes, std::size_t count);
// The bytes from fraction from to fraction to taken out.
std::string PieceCut(const std::string& bytes, double from, double to);
// The FLV file with the timestamp of its nth video tag (from 1) set to ms:
// the tag header's three timestamp bytes and its extension byte. Unchanged
// when the file has fewer video tags.
std::string FlvVideoTagTimeSet(const std::string& bytes, int nth, std::uint32_t ms);

// How a program run ended.
struct TLimitedRun {
  bool Exited = false;  // ended by itself with ExitStatus
  int ExitStatus = -1;
  int Signal = 0;         // the signal that ended it, 0 when none
  bool TimedOut = false;  // killed after the limit
  double Seconds = 0;
  std::string Output;  // standard output; standard error is dropped
};

// Runs the shell command line with its standard output captured, killing
// its process group when it lasts longer than limitSeconds.
TLimitedRun RunLimited(const std::string& command, double limitSeconds);

}  // namespace trovenix::test
