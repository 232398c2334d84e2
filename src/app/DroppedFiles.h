// What a drop on the file list adds: dropped files as they are, and for a
// dropped folder the media files inside it and its subfolders.
#pragma once

#include <string>
#include <vector>

namespace trovenix {

// The extensions the "All Supported Files" entry of the open dialog's filter
// names, lower case with their dot (".avi").
const std::vector<std::string>& SupportedExtensions();

// Every regular file below folder (subfolders included) whose extension is one
// of extensions, compared without regard to case, sorted by path. Folders
// that cannot be read are skipped.
std::vector<std::string> MediaFilesInFolder(const std::string& folder,
                                            const std::vector<std::string>& extensions);

// The dropped paths in order, each folder replaced by its media files.
std::vector<std::string> ExpandDroppedPaths(const std::vector<std::string>& paths);

}  // namespace trovenix
