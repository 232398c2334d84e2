// Run-time binding of SDL2 ("libSDL2-2.0.so.0"), done like the media
// libraries: the folder first, then the dynamic loader's default search. The
// library stays bound until the program ends.
#pragma once

#include <string>

namespace trovenix {

// Loads the library and resolves every entry point of SdlStubs.h. A library
// already loaded is not loaded again. False with SdlLoadError() set on failure.
bool LoadSdl(const std::string& folder);
bool SdlLoaded();
std::string SdlLoadError();

// The shared-object name looked for.
inline constexpr const char* SdlLibraryName = "libSDL2-2.0.so.0";

}  // namespace trovenix
