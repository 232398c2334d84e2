#include "cli/ProbeCommand.h"

#include "media/AVProbe.h"
#include "media/AVUtilStubs.h"
#include "media/FFmpegLoader.h"
#include "profiles/FileListCells.h"

namespace trovenix::cli {
namespace {

// Error texts may span lines; the probe output keeps one line per file.
std::string OneLine(std::string text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    line += text[i] == '\n' ? ' ' : text[i];
  }
  return line;
}

}  // namespace

bool LoadProbeLibraries(std::string& error) {
  TFFmpegLoader& loader = FFLoader();
  loader.SetLibraryPath(DefaultLibraryPath());
  if (!loader.LoadLibrarySet({liAVCodec, liAVFormat, liAVUtil, liSwScale})) {
    error = loader.GetLastLoadError();
    return false;
  }
  // The probe's results are the output; the library's own chatter is not.
  ff::av_log_set_level(AV_LOG_QUIET);
  return true;
}

int RunProbe(const std::vector<std::string>& files, std::ostream& out) {
  int status = 0;
  TAVProbe probe;
  for (const std::string& file : files) {
    if (probe.LoadFile(file)) {
      const TProbeCells cells = ProbeCellTexts(probe);
      out << file << '\t' << cells.VideoSize << '\t' << cells.FrameRate << '\t' << cells.Duration
          << '\n';
    } else {
      out << file << "\tError\t" << OneLine(probe.LastError()) << '\n';
      status = 1;
    }
    probe.Close();
  }
  return status;
}

}  // namespace trovenix::cli
