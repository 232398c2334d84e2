// The records one row of a batch hands to the engine, from the choice
// controls and the row's cells, as the batch driver prepares them.
#pragma once

#include <string>

#include "engine/EngineOptions.h"
#include "profiles/ProfileState.h"

namespace trovenix {

// The input options of a row: defaults, the source file, start at 0.
TInputOptions RowInputOptions(const std::string& sourcePath);

// The output options of a row: defaults; the selected entry's builder; the
// selected frame rate; the volume; the aspect ratio from the aspect-ratio
// choice and the row's Video Size cell; the ten-hour limit when the row's
// Duration cell is "00:00:00" or "Unknown". Throws TConvertError when a
// selected rate is no number (the row cannot be converted).
TOutputOptions RowOutputOptions(const TProfileState& state, const std::string& videoSizeCell,
                                const std::string& durationCell);

}  // namespace trovenix
