// A conversion task as the engine component keeps it: its place in the task
// list, copies of the records it was configured from, and a probe of its own.
#pragma once

#include "engine/EngineOptions.h"
#include "engine/FFmpeg.h"
#include "media/AVProbe.h"

namespace trovenix {

class TFFmpeg : public TCustomFFmpeg {
 public:
  TFFmpeg() = default;
  ~TFFmpeg() override;

  // Position in the component's task list; -1 until added.
  std::atomic<int> Index{-1};
  TInputOptions InputOptions;
  TOutputOptions OutputOptions;
  // Describes the task's opened input without owning it.
  TAVProbe Probe;

 protected:
  void ReleasingFiles() override;
};

}  // namespace trovenix
