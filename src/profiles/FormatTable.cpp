#include "profiles/FormatTable.h"

namespace trovenix {

const std::array<TheAVCodec, 28> FormatTable = {{
    {"iPod (*.mp4)", "MP4", 3},
    {"iPod Extra (640 x 480) (*.mp4)", "MP4", 4},
    {"iPod Video For TV (*.mp4)", "MP4", 6},
    {"iPod Touch (*.mp4)", "MP4", 13},
    {"iPod Touch Extra (640 x 480) (*.mp4)", "MP4", 14},
    {"iPod Touch Wide Screen (*.mp4)", "MP4", 15},
    {"iPhone (*.mp4)", "MP4", 18},
    {"iPhone Extra (640 x 480) (*.mp4)", "MP4", 19},
    {"iPhone Wide Screen (*.mp4)", "MP4", 20},
    {"Zune Mpeg4 Video (*.mp4)", "MP4", 49},
    {"Zune WMV Windows Media Video (*.wmv)", "WMV", 50},
    {"PSP Video (*.mp4)", "MP4", 53},
    {"PS3 Video (*.mp4)", "MP4", 58},
    {"PS3 Video(480P) (*.mp4)", "MP4", 59},
    {"PS3 Video(720P) (*.mp4)", "MP4", 60},
    {"PS3 Video(1080P) (*.mp4)", "MP4", 61},
    {"3GP - Mobile Video Format (*.3gp)", "3GP", 0},
    {"3G2 - Mobile Video Format (*.3g2)", "3G2", 1},
    {"AAC - Advance Audio Coding (*.aac)", "AAC", 37},
    {"AVI - Audio Video Interleave (*.avi)", "AVI", 22},
    {"AVI - DivX Video (*.avi)", "AVI", 23},
    {"MP3 - Mpeg Layer3 Audio (*.mp3)", "MP3", 41},
    {"MP4 - MPEG4 Video (*.mp4)", "MP4", 27},
    {"MPEG-1 Movie (*.mpg)", "MPG", 28},
    {"MPEG-2 Movie (*.mpg)", "MPG", 29},
    {"MOV - QuickTime Video (*.mov)", "MOV", 26},
    {"WMA - Windows Media Audio (*.wma)", "WMA", 45},
    {"WMV - Windows Media Video (*.wmv)", "WMV", 31},
}};

const char* const FormatSeparator = "              -----------------------------------------";
const char* const FormatSeparatorMark = "              ----";

std::vector<std::string> FormatCatalogueItems() {
  // Separators follow the last iPod, iPod Touch, iPhone, Zune and PS3 rows.
  const std::size_t separatorAfter[] = {2, 5, 8, 10, 15};
  std::vector<std::string> items;
  std::size_t next = 0;
  for (std::size_t row = 0; row < FormatTable.size(); ++row) {
    items.emplace_back(FormatTable[row].DisplayName);
    if (next < std::size(separatorAfter) && separatorAfter[next] == row) {
      items.emplace_back(FormatSeparator);
      ++next;
    }
  }
  return items;
}

const TheAVCodec* FindFormatRow(const std::string& text) {
  for (const TheAVCodec& row : FormatTable)
    if (text == row.DisplayName) return &row;
  return nullptr;
}

}  // namespace trovenix
