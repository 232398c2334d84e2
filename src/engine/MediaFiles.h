// Files a task opened while it was configured.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/MediaPtr.h"

extern "C" {
struct AVCodec;
struct AVStream;
}

namespace trovenix {

// One stream of an output, as configured before the run.
struct TOutputStreamConfig {
  AVStream* Stream = nullptr;  // owned by the output's format context
  // Encoder settings, or the parameters of a copied stream; handed to the
  // container before the header is written.
  CodecContextPtr Codec;
  // Encoder chosen by name; none when it is guessed at setup or the stream is copied.
  const AVCodec* Encoder = nullptr;
  bool StreamCopy = false;
  // A copied cover picture (a stream marked as attached picture), not a video.
  bool CoverArt = false;
  float Quality = 0.0f;  // fixed quantizer as the library's quality value, 0 = none
  std::vector<std::string> BitstreamFilters;
};

// The hidden name beside finalName that an output is written under until it
// is committed: "." + file name + ".trovenix-" + twelve hex digits + ".part".
std::string TemporaryOutputName(const std::string& finalName, const std::string& tag);
// Whether path is one of the temporary names of finalName (any tag).
bool IsTemporaryOutputOf(const std::string& finalName, const std::string& path);

// An opened output. Bytes go to WritePath; for a regular file that is a
// temporary name in the same folder, moved to FileName by Commit() once the
// task has ended well. An output that is never committed leaves nothing
// behind: its temporary file is removed when the record goes.
class TOutputFile {
 public:
  TOutputFile() = default;
  ~TOutputFile();
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  // Opens the file for writing (unless the format writes no file of its own).
  // Returns the library's result.
  int OpenIO();
  // Closes the file; moves it to its final name; removes a final file of 0 bytes.
  // False when the move failed.
  bool Commit();
  // Closes the file and removes what was written under a temporary name.
  void Discard();
  // Bytes written so far (the file's size, or the write position).
  std::int64_t Size() const;
  std::int64_t Position() const;

  OutputContextPtr Context;
  std::vector<TOutputStreamConfig> Streams;
  std::string FileName;   // the name asked for
  std::string WritePath;  // where the bytes go until Commit()
  bool UsesTempFile = false;

 private:
  void CloseIO();
};

}  // namespace trovenix
