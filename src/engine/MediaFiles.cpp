// Output files written under a temporary name until the task has ended well.
#include "engine/MediaFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <random>

#include "media/AVFormatStubs.h"

namespace trovenix {
namespace {

// Names the library reads as a protocol ("pipe:", "http://...", "file:...")
// rather than a plain path.
bool IsProtocolName(const std::string& name) {
  if (name.find("://") != std::string::npos) return true;
  const std::size_t scheme =
      name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.");
  return scheme > 0 && scheme != std::string::npos && name[scheme] == ':';
}

// Devices, fifos and symbolic links are written as they are; only a regular
// file (or a name not taken yet) can be replaced as a whole.
bool CanReplace(const std::string& name) {
  struct stat info {};
  if (lstat(name.c_str(), &info) != 0) return errno == ENOENT;
  return S_ISREG(info.st_mode);
}

constexpr std::size_t TagLength = 12;

// Creates an empty hidden file beside name, unique in its folder; returns its
// path, or an empty text with errno set.
std::string ReserveTemporaryFile(const std::string& name) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char tag[20];
    std::snprintf(tag, sizeof tag, "%012llx",
                  static_cast<unsigned long long>(random() & 0xffffffffffffULL));
    const std::string path = TemporaryOutputName(name, tag);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) return {};
  }
  errno = EEXIST;
  return {};
}

}  // namespace

std::string TemporaryOutputName(const std::string& finalName, const std::string& tag) {
  const std::size_t slash = finalName.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : finalName.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? finalName : finalName.substr(slash + 1);
  return folder + "." + base + ".trovenix-" + tag + ".part";
}

bool IsTemporaryOutputOf(const std::string& finalName, const std::string& path) {
  const std::string pattern = TemporaryOutputName(finalName, std::string(TagLength, '0'));
  if (path.size() != pattern.size()) return false;
  const std::size_t tagAt = pattern.size() - TagLength - 5;  // before ".part"
  if (path.compare(0, tagAt, pattern, 0, tagAt) != 0) return false;
  if (path.compare(tagAt + TagLength, std::string::npos, pattern, tagAt + TagLength) != 0)
    return false;
  for (std::size_t i = tagAt; i < tagAt + TagLength; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(path[i]))) return false;
  return true;
}

TOutputFile::~TOutputFile() {
  Discard();
}

int TOutputFile::OpenIO() {
  if (Context->oformat->flags & AVFMT_NOFILE) {
    WritePath = FileName;
    UsesTempFile = false;
    return 0;
  }
  UsesTempFile = !IsProtocolName(FileName) && CanReplace(FileName);
  if (!UsesTempFile) {
    WritePath = FileName;
    return ff::avio_open(&Context->pb, WritePath.c_str(), AVIO_FLAG_WRITE);
  }
  WritePath = ReserveTemporaryFile(FileName);
  if (WritePath.empty()) {
    const int error = errno;
    UsesTempFile = false;
    return AVERROR(error);
  }
  // Spelled as a file URL so that no part of the name is read as a protocol.
  return ff::avio_open(&Context->pb, ("file:" + WritePath).c_str(), AVIO_FLAG_WRITE);
}

bool TOutputFile::Commit() {
  CloseIO();
  if (!UsesTempFile) return true;
  if (std::rename(WritePath.c_str(), FileName.c_str()) != 0) return false;
  UsesTempFile = false;
  WritePath = FileName;
  struct stat info {};
  if (stat(FileName.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0)
    std::remove(FileName.c_str());
  return true;
}

void TOutputFile::Discard() {
  CloseIO();
  if (!UsesTempFile) return;
  std::remove(WritePath.c_str());
  UsesTempFile = false;
}

std::int64_t TOutputFile::Size() const {
  if (!Context || !Context->pb) return 0;
  const std::int64_t size = ff::avio_size(Context->pb);
  return size < 0 ? Position() : size;
}

std::int64_t TOutputFile::Position() const {
  if (!Context || !Context->pb) return 0;
  return ff::avio_seek(Context->pb, 0, SEEK_CUR);
}

void TOutputFile::CloseIO() {
  if (!Context || !Context->pb) return;
  if (!(Context->oformat->flags & AVFMT_NOFILE)) ff::avio_closep(&Context->pb);
}

}  // namespace trovenix
