#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "TrovenixVersion.h"
#include "cli/UsageError.h"

namespace trovenix::cli {
namespace {

constexpr const char* Synopsis =
    "Usage: trovenix-convert --input FILE [--input-option NAME=VALUE]... --output FILE\n"
    "                        [--option NAME=VALUE]... [--log-level LEVEL]\n"
    "                        [--progress-interval MS]\n"
    "       trovenix-convert [--format NAME|POS] --output-dir DIR [--overwrite]\n"
    "                        [--choose CONTROL=ITEM]... [--volume 0..10] [--jobs N]\n"
    "                        FILE...\n"
    "       trovenix-convert --probe FILE...\n"
    "       trovenix-convert --list-formats\n"
    "       trovenix-convert --show-choices [--format NAME|POS]\n"
    "       trovenix-convert --help | --version\n";

constexpr const char* Description =
    "Trovenix converts video and audio files for players and devices.";

constexpr const char* Footer =
    "After --, every argument is a FILE, also one whose name starts with \"-\".\n"
    "The media libraries are taken from the \"Common Files\" folder beside the\n"
    "program when it holds them, else from the system.";

// Option texts are laid out in a column of this width, after the names.
constexpr std::size_t NameColumn = 27;
constexpr std::size_t TextColumn = 80 - NameColumn;

// The text broken into lines of at most TextColumn characters at blanks.
std::string Wrapped(const std::string& text) {
  std::istringstream words(text);
  std::string result, line;
  for (std::string word; words >> word;) {
    if (!line.empty() && line.size() + 1 + word.size() > TextColumn) {
      result += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  return result + line;
}

// The synopsis of every mode first, then CLI11's lists of the options.
class TUsageFormatter : public CLI::Formatter {
 public:
  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override {
    if (mode == CLI::AppFormatMode::Sub) return Formatter::make_help(app, name, mode);
    std::string help = std::string(Synopsis) + "\n" + make_description(app) +
                       make_positionals(app) + make_groups(app, mode) + "\n" + make_footer(app);
    // CLI11 ends each group with a blank line and starts the next with one.
    for (std::size_t at; (at = help.find("\n\n\n")) != std::string::npos;) help.erase(at, 1);
    return help;
  }

  // The value's name alone: each option takes one value a time, also those
  // that may be repeated.
  std::string make_option_opts(const CLI::Option* option) const override {
    const std::string name = option->get_type_name();
    return option->get_type_size() == 0 || name.empty() ? std::string() : " " + name;
  }
};

// Sources are files: a folder is refused before anything is converted.
const CLI::Validator NotAFolder(
    [](std::string& path) {
      std::error_code ec;
      return std::filesystem::is_directory(path, ec)
                 ? "\"" + path + "\" is a folder; give the files in it instead"
                 : std::string();
    },
    "", "not a folder");

// An option value becomes one line of the engine's option text.
const CLI::Validator OneLine(
    [](std::string& value) {
      return value.find_first_of("\r\n") != std::string::npos
                 ? std::string("takes one NAME=VALUE without line breaks")
                 : std::string();
    },
    "", "one line");

const std::map<std::string, TLogLevel> LogLevels = {{"quiet", TLogLevel::llQuiet},
                                                    {"error", TLogLevel::llError},
                                                    {"info", TLogLevel::llInfo},
                                                    {"debug", TLogLevel::llDebug},
                                                    {"all", TLogLevel::llAll}};

std::string JoinedLines(const std::vector<std::string>& values) {
  std::string text;
  for (const std::string& value : values) text += value + "\n";
  return text;
}

// The options of one command line and where their values go.
struct TOptions {
  CLI::Option* Probe;
  CLI::Option* Input;
  CLI::Option* Output;
  CLI::Option* InputOption;
  CLI::Option* Option;
  CLI::Option* LogLevel;
  CLI::Option* ProgressInterval;
  CLI::Option* OutputDir;
  CLI::Option* Format;
  CLI::Option* Choose;
  CLI::Option* Volume;
  CLI::Option* Jobs;
  CLI::Option* Overwrite;
  CLI::Option* ListFormats;
  CLI::Option* ShowChoices;
  CLI::Option* Files;
};

struct TValues {
  std::vector<std::string> Files, InputOptions, Options;
  std::string LogLevel = "info";
};

TOptions DefineOptions(CLI::App& app, TCommandLine& line, TValues& values) {
  TOptions o{};
  TEngineArgs& engine = line.Engine;
  TBatchArgs& batch = line.Batch;

  app.set_help_flag("-h,--help", "Show this text.");
  app.set_version_flag("--version", std::string("trovenix-convert ") + TrovenixVersion,
                       "Print the program's name and version.");

  o.Files = app.add_option("FILE", values.Files,
                           Wrapped("The sources of --probe and --output-dir. A folder is refused: "
                                   "give the files in it."))
                ->type_name("")
                ->check(NotAFolder);

  o.Probe =
      app.add_flag("--probe")
          ->description(Wrapped("For each FILE print one line: the path, then, separated by tabs, "
                                "the video size, frame rate and duration as the file list shows "
                                "them (a single blank for size and rate of a file without video). "
                                "A file that cannot be opened gives the path, \"Error\" and the "
                                "reason. Exit status 0 when every file was probed, 1 otherwise."))
          ->group("Probe");

  const std::string engineGroup = "Engine mode";
  o.Input =
      app.add_option("--input", engine.Input,
                     Wrapped("Convert FILE into the --output file, with the options of the "
                             "engine's vocabulary by name. The last line of standard output "
                             "is Done, Abort or \"Fail: \" and the reason; exit status 0, 130 "
                             "(interrupted) or 1."))
          ->type_name("FILE")
          ->check(NotAFolder)
          ->group(engineGroup);
  o.Output = app.add_option("--output", engine.Output, Wrapped("The file to write."))
                 ->type_name("FILE")
                 ->group(engineGroup);
  o.InputOption = app.add_option("--input-option", values.InputOptions,
                                 Wrapped("An option for the input (e.g. re); may be repeated."))
                      ->type_name("NAME=VALUE")
                      ->allow_extra_args(false)
                      ->check(OneLine)
                      ->group(engineGroup);
  o.Option =
      app.add_option("--option", values.Options,
                     Wrapped("An option for the output (e.g. vcodec=copy); may be repeated."))
          ->type_name("NAME=VALUE")
          ->allow_extra_args(false)
          ->check(OneLine)
          ->group(engineGroup);
  o.LogLevel =
      app.add_option("--log-level", values.LogLevel,
                     Wrapped("quiet, error, info (default), debug or all; log lines go to "
                             "standard error."))
          ->type_name("LEVEL")
          ->check(CLI::IsMember({"quiet", "error", "info", "debug", "all"}).description(""))
          ->group(engineGroup);
  o.ProgressInterval = app.add_option("--progress-interval", engine.ProgressIntervalMs,
                                      Wrapped("Milliseconds between progress reports (default "
                                              "500)."))
                           ->type_name("MS")
                           ->group(engineGroup);

  const std::string batchGroup = "Batch mode";
  o.OutputDir =
      app.add_option(
             "--output-dir", batch.OutputDir,
             Wrapped("Convert each FILE as the window does, into DIR. One line per file: "
                     "source, output and Done, Abort or \"Fail: \" and the reason; then "
                     "\"All Conversions Completed\". Exit status 0 when every file is Done, "
                     "130 when interrupted, else 1."))
          ->type_name("DIR")
          ->group(batchGroup);
  o.Format = app.add_option("--format", batch.Format,
                            Wrapped("The output profile: a text or a position of the output-format "
                                    "list (default: the first entry)."))
                 ->type_name("NAME|POS")
                 ->group(batchGroup);
  o.Choose = app.add_option("--choose", batch.Choices,
                            Wrapped("Select ITEM in a choice control of the profile (see "
                                    "--show-choices); may be repeated."))
                 ->type_name("CONTROL=ITEM")
                 ->allow_extra_args(false)
                 ->group(batchGroup);
  o.Volume =
      app.add_option("--volume", batch.Volume, Wrapped("The volume position, 0 to 10 (default 5)."))
          ->type_name("0..10")
          ->check(CLI::Range(0, 10).description(""))
          ->group(batchGroup);
  o.Jobs = app.add_option("--jobs", batch.Jobs,
                          Wrapped("Convert up to N files at once, 1 to 64 (default 1)."))
               ->type_name("N")
               ->check(CLI::Range(1, 64).description(""))
               ->group(batchGroup);
  o.Overwrite = app.add_flag("--overwrite", batch.Overwrite,
                             Wrapped("Replace a file of the output's name. Without it names are "
                                     "made unique (clip-1.mp4, ...). A failed conversion never "
                                     "replaces an existing file (a stopped one does: its output is "
                                     "complete up to the stop)."))
                    ->group(batchGroup);

  const std::string listGroup = "Lists";
  o.ListFormats = app.add_flag("--list-formats")
                      ->description(Wrapped("Print the output-format list, one item a line: its "
                                            "position, a tab and its text (separators included)."))
                      ->group(listGroup);
  o.ShowChoices =
      app.add_flag("--show-choices")
          ->description(Wrapped("Print the items of the nine choice controls, the selected "
                                "one marked \"*\", after start-up and --format."))
          ->group(listGroup);
  return o;
}

// The mode the arguments ask for and the options that go with it; an empty
// text when they fit together, else what is wrong.
std::string CheckMode(const TOptions& o, TCommandLine& line) {
  const std::pair<CLI::Option*, TMode> keys[] = {{o.Probe, TMode::Probe},
                                                 {o.Input, TMode::Engine},
                                                 {o.OutputDir, TMode::Batch},
                                                 {o.ListFormats, TMode::ListFormats},
                                                 {o.ShowChoices, TMode::ShowChoices}};
  CLI::Option* key = nullptr;
  for (const auto& [option, mode] : keys) {
    if (option->count() == 0) continue;
    if (key) return key->get_name() + " and " + option->get_name() + " cannot be used together";
    key = option;
    line.Mode = mode;
  }
  if (!key)
    return "say what to do: --probe, --input, --output-dir, --list-formats or --show-choices";

  using enum TMode;
  const std::pair<CLI::Option*, std::vector<TMode>> belongs[] = {
      {o.Files, {Probe, Batch}},
      {o.Output, {Engine}},
      {o.InputOption, {Engine}},
      {o.Option, {Engine}},
      {o.LogLevel, {Engine}},
      {o.ProgressInterval, {Engine}},
      {o.Format, {Batch, ShowChoices}},
      {o.Choose, {Batch}},
      {o.Volume, {Batch}},
      {o.Jobs, {Batch}},
      {o.Overwrite, {Batch}},
  };
  for (const auto& [option, modes] : belongs) {
    if (option->count() == 0 || std::find(modes.begin(), modes.end(), line.Mode) != modes.end())
      continue;
    if (option == o.Files) return key->get_name() + " takes no FILE";
    return option->get_name() + " does not go with " + key->get_name();
  }

  if (line.Mode == Engine && o.Output->count() == 0) return "--output is missing";
  if (line.Mode == Probe && o.Files->count() == 0) return "--probe needs at least one file";
  if (line.Mode == ShowChoices && o.Format->count() > 0 && line.Batch.Format.empty())
    return "--format needs a name or position";
  return {};
}

}  // namespace

std::optional<int> ParseCommandLine(int argc, const char* const* argv, TCommandLine& line,
                                    std::ostream& out, std::ostream& err) {
  if (argc < 2) return UsageError(err, "no command given");
  CLI::App app(Description, "trovenix-convert");
  auto formatter = std::make_shared<TUsageFormatter>();
  formatter->column_width(NameColumn);
  app.formatter(formatter);
  app.footer(Footer);
  TValues values;
  const TOptions options = DefineOptions(app, line, values);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
      return app.exit(e, out, err);
    return UsageError(err, e.what());
  }
  if (const std::string error = CheckMode(options, line); !error.empty())
    return UsageError(err, error);

  line.ProbeFiles = values.Files;
  line.Batch.Files = values.Files;
  line.Engine.InputOptions = JoinedLines(values.InputOptions);
  line.Engine.OutputOptions = JoinedLines(values.Options);
  line.Engine.LogLevel = LogLevels.at(values.LogLevel);
  return std::nullopt;
}

}  // namespace trovenix::cli
