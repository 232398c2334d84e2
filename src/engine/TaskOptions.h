// Applying the records of the engine component to a task, and the small text
// formats inside them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/EngineOptions.h"
#include "engine/OptionState.h"

namespace trovenix {

class TCustomFFmpeg;

// Applies name=value lines through ParseOption. Pass 0 takes every line but
// "newvideo", "newaudio" and "newsubtitle"; pass 1 takes only those.
void ApplyExtOptions(TCustomFFmpeg& task, const std::string& text, int pass);

// "1000-5000, 20000-30000" (ms) as ranges in µs sorted by end; pairs that are
// not numbers or end before they start are left out.
std::vector<THookRange> ParseHookTimeRanges(const std::string& text);

// A local date-time (days since 1899-12-30) as Unix seconds, given the
// time-zone bias in minutes (UTC = local + bias).
std::int64_t DateTimeToUnixSeconds(double localDays, int biasMinutes);
// The bias of the local time zone now, without daylight saving.
int LocalTimeZoneBiasMinutes();
// The current local date-time as days since 1899-12-30.
double LocalNowAsDateTime();

// The input record's settings, after its extra options.
void ApplyInputOptions(TCustomFFmpeg& task, const TInputOptions& options);
// The target preset, pass 0 of the extra options and every field of the
// output record in order; hooks are the component's part.
void ApplyOutputOptions(TCustomFFmpeg& task, const TOutputOptions& options);

}  // namespace trovenix
