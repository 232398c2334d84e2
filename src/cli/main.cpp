// trovenix-convert: Trovenix's converter without a window.
#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/BatchCommand.h"
#include "cli/EngineCommand.h"
#include "cli/ProbeCommand.h"
#include "cli/ProfileCommands.h"

namespace {

constexpr const char* Usage =
    "Usage: trovenix-convert --input FILE [--input-option NAME=VALUE]... --output FILE\n"
    "                        [--option NAME=VALUE]... [--log-level LEVEL]\n"
    "                        [--progress-interval MS]\n"
    "       trovenix-convert [--format NAME|POS] --output-dir DIR [--overwrite]\n"
    "                        [--choose CONTROL=ITEM]... [--volume 0..10] [--jobs N]\n"
    "                        FILE...\n"
    "       trovenix-convert --probe FILE...\n"
    "       trovenix-convert --list-formats\n"
    "       trovenix-convert --show-choices [--format NAME|POS]\n"
    "       trovenix-convert --help\n"
    "\n"
    "Trovenix converts video and audio files for players and devices.\n"
    "\n"
    "  --probe FILE...  For each file print one line: the path, then, separated\n"
    "                   by tabs, the video size, frame rate and duration as the\n"
    "                   file list shows them (a single blank for size and rate of\n"
    "                   a file without video). A file that cannot be opened gives\n"
    "                   the path, \"Error\" and the reason. Exit status 0 when\n"
    "                   every file was probed, 1 otherwise.\n"
    "  --input FILE     Convert FILE into the --output file, with the options of\n"
    "                   the engine's vocabulary by name (--input-option for the\n"
    "                   input, --option for the output, e.g. --option vcodec=copy).\n"
    "                   LEVEL is quiet, error, info (default), debug or all; log\n"
    "                   lines go to standard error. The last line of standard\n"
    "                   output is Done, Abort or \"Fail: \" and the reason; exit\n"
    "                   status 0, 130 (interrupted) or 1.\n"
    "  --output-dir DIR Convert each FILE as the window does with the output\n"
    "                   profile chosen by --format (default: the first entry) and\n"
    "                   --choose CONTROL=ITEM (see --show-choices), the volume\n"
    "                   position (0 to 10, default 5), into DIR. Names are made\n"
    "                   unique (clip-1.mp4, ...) unless --overwrite is given; a\n"
    "                   failed conversion never replaces an existing file (a\n"
    "                   stopped one does: its output is complete up to the stop).\n"
    "                   --jobs N converts up to N files at once. One line per\n"
    "                   file: source, output and Done, Abort or \"Fail: \" and the\n"
    "                   reason; then \"All Conversions Completed\". Exit status 0\n"
    "                   when every file is Done, 130 when interrupted, else 1.\n"
    "  --list-formats   Print the output-format list, one item a line: its\n"
    "                   position, a tab and its text (separators included).\n"
    "  --show-choices   Print the items of the nine choice controls, the selected\n"
    "                   one marked \"*\", after start-up and --format (a text or a\n"
    "                   position of the output-format list).\n"
    "  --help           Show this text.\n"
    "\n"
    "The media libraries are taken from the \"Common Files\" folder beside the\n"
    "program when it holds them, else from the system.\n";

int Fail(const std::string& text) {
  std::cerr << "trovenix-convert: " << text << "\n" << "Try 'trovenix-convert --help'.\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Fail("no command given");
  if (args[0] == "--help" || args[0] == "-h") {
    std::cout << Usage;
    return 0;
  }
  if (std::find(args.begin(), args.end(), "--input") != args.end())
    return trovenix::cli::RunEngineCommand(args);
  if (trovenix::cli::IsBatchCommand(args)) return trovenix::cli::RunBatchCommand(args);
  if (trovenix::cli::IsProfileCommand(args))
    return trovenix::cli::RunProfileCommand(args, std::cout, std::cerr);
  if (args[0] == "--probe") {
    std::vector<std::string> files(args.begin() + 1, args.end());
    if (files.empty()) return Fail("--probe needs at least one file");
    std::string error;
    if (!trovenix::cli::LoadProbeLibraries(error)) {
      std::cerr << "trovenix-convert: " << error << "\n";
      return 1;
    }
    return trovenix::cli::RunProbe(files, std::cout);
  }
  return Fail("unknown option '" + args[0] + "'");
}
