// The option builders: the engine's output options from the texts the user
// sees selected in the choice controls.
#pragma once

#include <stdexcept>
#include <string>

#include "engine/EngineOptions.h"
#include "profiles/ProfileState.h"

namespace trovenix {

// A bit rate or sampling rate choice that is no whole number (an empty
// selection, for example). The file being prepared cannot be converted.
class TConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Most entries: codecs mapped to the engine's names, rates, size, channels,
// and the video switched off for the audio-only tags.
void BuildGenericOptions(const TProfileState& state, TOutputOptions& options);

// iPod and iPod Touch: always AAC audio, always the listed frame size.
void BuildAacDeviceOptions(const TProfileState& state, TOutputOptions& options);

// 3GP and 3G2: always AMR narrow-band audio in mono.
void BuildAmrOptions(const TProfileState& state, TOutputOptions& options);

// "176 x 144 (QCIF)" -> "176x144": the text before the first "(", without blanks.
std::string ParseFrameSize(const std::string& text);

// The text before the first blank; empty when the text has no blank.
std::string LeadingNumber(const std::string& text);

// The frame-rate option from ComboVideoFramerate: "25" for "Auto" (any case,
// blanks around it ignored), else the text before its first blank ("29.97"
// for "29.97 fps"); empty when nothing is selected.
std::string SelectedFrameRate(const TProfileState& state);

}  // namespace trovenix
