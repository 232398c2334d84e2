#include "app/OpenDialogFilter.h"

#include <sstream>

#include "engine/OptionValues.h"

namespace trovenix {

const std::string& OpenDialogFilterText() {
  static const std::string text =
      "All Supported Files|*.avi;*.mpeg;*.mpg;*.mpa;*.m1v;*.mv2;*.wma;*.wmv;*.asf;*.asx;*.mov; "
      "*.qt;*.3gp;*.3g2;*.mp3;*.mp2;*.ogg;*.aac;*.mp4;*.m4a;*.rm;*.rmvb;*.ram;*.ra;*.vob; "
      "*.dat;*.cda;*.dv; *.dif;*.wav; *.au; *.aiff;*.mjpg; *.mjpeg;*.ac3; *.gif; *.swf; *.flv|"
      "3GPP Files (*.3gp)|*.3gp|"
      "3GPP2 Files (*.3g2)|*.3g2|"
      "AAC Files (*.aac)|*.aac|"
      "AC3 Files (*.ac3)|*.ac3|"
      "Audio CD Files (*.cda)|*.cda|"
      "AVI Files (*.avi)|*.avi|"
      "DV Video Files (*.dv, *.dif)|*.dv;*.dif|"
      "DVD VOB Files (*.vob)|*.vob|"
      "GIF Animated Files (*.gif)|*.gif|"
      "Macromedia Flash Files (*.flv, *.swf)|*.flv; *.swf|"
      "Monkey Audio Files (*.ape, *.cue)|*.ape;*.cue|"
      "MJpeg Video Files (*.mjpg, *.mjpeg)|*.mjpg; *.mjpeg|"
      "MP2 Files (*.mp2)|*.mp2|"
      "MP3 Files (*.mp3)|*.mp3|"
      "MPEG Files (*.mpeg, *.mpg, *.mpa, *.m1v, *.mv2)|*.mpeg;*.mpg;*.mpa;*.m1v;*.mv2|"
      "MPEG-4 Files (*.mp4)|*.mp4|"
      "MPEG-4 Audio Files (*.m4a, *.mp4)|*.m4a; *.mp4|"
      "Ogg Vorbis Files (*.ogg)|*.ogg|"
      "RealMedia Files (*.rm, *.rmvb, *.ram, *.ra)|*.rm; *.rmvb; *.ram; *.ra|"
      "QuickTime Files (*.mov, *.qt)|*.mov; *.qt|"
      "VCD DAT Files (*.dat)|*.dat|"
      "WAV Files (*.wav, *.au, *.aiff)|*.wav; *.au; *.aiff|"
      "Windows Media Files(*.wma, *.wmv, *.asf, *.asx)|*.wma;*.wmv;*.asf;*.asx|";
  return text;
}

std::vector<std::string> NameFilters(const std::string& filterText) {
  std::vector<std::string> parts;
  std::stringstream in(filterText);
  for (std::string part; std::getline(in, part, '|');) parts.push_back(part);
  std::vector<std::string> filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns;
    std::stringstream list(parts[i + 1]);
    for (std::string pattern; std::getline(list, pattern, ';');) {
      pattern = TrimSpaces(pattern);
      if (pattern.empty()) continue;
      patterns += (patterns.empty() ? "" : " ") + pattern;
    }
    // Qt reads the patterns from the last parentheses of the text.
    filters.push_back(parts[i] + " (" + patterns + ")");
  }
  return filters;
}

}  // namespace trovenix
