// Failure texts of opening a source, shared by the probe and the engine.
#pragma once

#include <string>

extern "C" {
struct AVInputFormat;
}

namespace trovenix {

// The library reports an unrecognised format and a damaged header of a
// recognised one with the same code (AVERROR_INVALIDDATA); with no format
// forced, a look at the file's first bytes tells them apart, and an
// unrecognised file gets UnknownFormatError(). Other codes pass unchanged.
int RefineOpenError(const std::string& fileName, const AVInputFormat* forced, int code);

// "FILE: could not find codec parameters".
std::string StreamInfoErrorText(const std::string& fileName);

}  // namespace trovenix
