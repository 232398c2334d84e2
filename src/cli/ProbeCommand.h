// trovenix-convert --probe: the source list's cells for each file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace trovenix::cli {

// Loads the libraries the probe needs; false with the loader's text in error.
bool LoadProbeLibraries(std::string& error);

// Prints one line per file: path, Video Size, FrameRate and Duration separated
// by tabs; or path, "Error" and the probe's error text. Returns 0 when every
// file was probed, 1 otherwise.
int RunProbe(const std::vector<std::string>& files, std::ostream& out);

}  // namespace trovenix::cli
