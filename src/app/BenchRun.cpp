#include "app/BenchRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

#include "app/Form1.h"
#include "app/UiPauseWatch.h"

namespace trovenix {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

void RunAdd(TForm1& form, const std::string& listFile) {
  std::vector<std::string> files;
  std::ifstream in(listFile);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) files.push_back(line);
  TUiPauseWatch watch;
  watch.Start();
  QElapsedTimer clock;
  clock.start();
  form.AddFiles(files);
  const qint64 elapsed = clock.elapsed();
  const qint64 pause = watch.LongestPauseMs();
  std::printf("add step: %zu files, %d rows in %lld ms; longest UI pause %lld ms\n", files.size(),
              form.FileList().rowCount(), static_cast<long long>(elapsed),
              static_cast<long long>(pause));
  std::fflush(stdout);
  QCoreApplication::exit(form.FileList().rowCount() == static_cast<int>(files.size()) ? 0 : 1);
}

void RunConvert(TForm1& form, const TBenchRequest& request, TBenchMessages& messages) {
  form.Model().OutputFolder = request.OutputFolder;
  form.ShowState();
  form.AddFiles({request.ConvertFile});
  auto clock = std::make_shared<QElapsedTimer>();
  auto watch = std::make_shared<TUiPauseWatch>(10);
  messages.OnInformation = [&form, clock, watch](const std::string& text) {
    const bool done = text == "All Conversions Completed";
    const auto& rows = form.FileList().Rows();
    std::printf("convert: %s, row %s, %lld ms; longest UI pause %lld ms\n", text.c_str(),
                rows.empty() ? "-" : rows.front().Progress.c_str(),
                static_cast<long long>(clock->elapsed()),
                static_cast<long long>(watch->LongestPauseMs()));
    std::fflush(stdout);
    // Leaves once the message box would have been closed.
    const int status = done && !rows.empty() && rows.front().Progress == "Done" ? 0 : 1;
    QTimer::singleShot(0, [status] { QCoreApplication::exit(status); });
  };
  watch->Start();
  clock->start();
  form.ConvertClick();
}

}  // namespace

TBenchRequest BenchRequestFromEnvironment() {
  return {Environment("TROVENIX_BENCH_ADD"), Environment("TROVENIX_BENCH_CONVERT"),
          Environment("TROVENIX_BENCH_OUTPUT")};
}

void TBenchMessages::Information(const std::string& text) {
  if (OnInformation) OnInformation(text);
}

void StartBench(TForm1& form, const TBenchRequest& request, TBenchMessages& messages) {
  QTimer::singleShot(0, &form, [&form, request, &messages] {
    if (!request.AddList.empty())
      RunAdd(form, request.AddList);
    else
      RunConvert(form, request, messages);
  });
}

}  // namespace trovenix
