// Rules of the batch conversion that need no window: output file names, the
// aspect ratio and length limit of a row, and the texts progress reports
// become. The window's batch driver and the command line share them.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace trovenix {

// The first free name among base + ext, base + "-1" + ext, base + "-2" + ext,
// ..., where base is path without its extension. Any existing directory entry
// counts as taken, and so does any name in reserved: the outputs of rows that
// are still converting, whose files appear only when they finish.
std::string UniqueOutputName(const std::string& path, const std::string& ext,
                             const std::set<std::string>& reserved = {});

// The output file of a source: the folder (surrounding blanks removed), the
// source's file name with its extension replaced by "." and the lower-cased
// tag. Made unique unless overwrite is on; with overwrite on, a name that is
// the source file itself is made unique too, so a source is never its own
// output. reserved as for UniqueOutputName.
std::string OutputFileName(const std::string& outputFolder, const std::string& sourcePath,
                           const std::string& outputExtension, bool overwrite,
                           const std::set<std::string>& reserved = {});

// The aspect ratio a row asks for. aspectItemIndex is the selection of the
// aspect-ratio list: 1 gives "4:3", 2 gives "16:9"; otherwise the ratio of the
// row's Video Size cell ("640x480" when blank) to four decimals in shortest
// form ("1.3333", "1.7778", "1.5", "2"), or "1.3333" when the cell does not
// read as two positive numbers around an "x".
std::string AspectRatioText(int aspectItemIndex, const std::string& videoSizeCell);

// Ten hours, the length limit of a row whose duration is not known.
constexpr int UnknownDurationLimitMs = 36000000;

// The recording time a row asks for: the ten-hour limit when its Duration cell
// reads exactly "00:00:00" or "Unknown", else -1 (no limit).
int RecordingTimeForDuration(const std::string& durationCell);

// ACurrentDuration * 100 / ATotalOutputDuration, truncated, not capped;
// 0 when the total is not positive.
std::int64_t ProgressPercent(std::int64_t currentDurationMs, std::int64_t totalOutputDurationMs);

// The Progress cell of a percentage: at most "100%".
std::string ProgressCellText(std::int64_t percent);

// The Frames cell: a single blank for -1 (no video), else the count.
std::string FramesCellText(std::int64_t frameNumber);

// "File Size : " + size in kilobytes (halves to even) + " KBytes".
std::string FileSizeStatusText(std::int64_t currentSizeBytes);

}  // namespace trovenix
