// Types shared by the player component and its users.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "media/Bitmap.h"

namespace trovenix {

class TCustomPlayer;

enum class TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum class TLogType { ltInfo, ltError };

inline constexpr int MaxAudioVolume = 128;

// durationUs: -1 when unknown, 0 for an image sequence; frame size -1 x -1
// without a picture. The handler may set the video window size.
using TFileOpenEvent = std::function<void(TCustomPlayer& sender, std::int64_t durationUs,
                                          int frameWidth, int frameHeight, int& screenWidth,
                                          int& screenHeight)>;
// Runs on the video thread; the handler may draw on the bitmap.
using THookEvent = std::function<void(TCustomPlayer& sender, TBitmap& bitmap, std::int64_t ptsUs)>;
// The engine component has its own TLogEvent; this is the player's.
using TPlayerLogEvent =
    std::function<void(TCustomPlayer& sender, TLogType type, const std::string& message)>;
// Position in microseconds from the start of the input; on the main thread.
using TPositionEvent = std::function<void(TCustomPlayer& sender, std::int64_t positionUs)>;
// psPlay, psEnd and psStop on the player thread; psPause and psResume on the
// thread that called TogglePause.
using TPlayStateEvent = std::function<void(TCustomPlayer& sender, TPlayState state)>;

}  // namespace trovenix
