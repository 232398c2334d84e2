#include "app/ListJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "engine/MediaFiles.h"

namespace trovenix {
namespace {

namespace fs = std::filesystem;

constexpr const char* Heading = "trovenix file list 1";
constexpr std::size_t FieldCount = 11;

void AppendEscaped(std::string& out, const std::string& text) {
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
}

// The fields of one line; nothing when an escape is broken.
std::optional<std::vector<std::string>> SplitFields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c == '\\') {
      if (++i == line.size()) return std::nullopt;
      switch (line[i]) {
        case '\\':
          fields.back() += '\\';
          break;
        case 't':
          fields.back() += '\t';
          break;
        case 'n':
          fields.back() += '\n';
          break;
        case 'r':
          fields.back() += '\r';
          break;
        default:
          return std::nullopt;
      }
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::optional<bool> Flag(const std::string& field) {
  if (field == "1") return true;
  if (field == "0") return false;
  return std::nullopt;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string SerialiseList(const std::vector<TFileListRow>& rows) {
  std::string out = Heading;
  out += '\n';
  for (const TFileListRow& row : rows) {
    out += row.Checked ? '1' : '0';
    out += '\t';
    out += row.Converting ? '1' : '0';
    for (const std::string* field :
         {&row.FileName, &row.VideoSize, &row.FrameRate, &row.Duration, &row.Output, &row.Progress,
          &row.Frames, &row.Reason, &row.OutputFile}) {
      out += '\t';
      AppendEscaped(out, *field);
    }
    out += '\n';
  }
  return out;
}

std::optional<std::vector<TFileListRow>> ParseList(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != Heading) return std::nullopt;
  std::vector<TFileListRow> rows;
  while (std::getline(in, line)) {
    const auto fields = SplitFields(line);
    if (!fields || fields->size() != FieldCount) return std::nullopt;
    const auto& f = *fields;
    const auto checked = Flag(f[0]);
    const auto converting = Flag(f[1]);
    if (!checked || !converting || f[2].empty()) return std::nullopt;
    TFileListRow row;
    row.Checked = *checked;
    row.Converting = *converting;
    row.FileName = f[2];
    row.VideoSize = f[3];
    row.FrameRate = f[4];
    row.Duration = f[5];
    row.Output = f[6];
    row.Progress = f[7];
    row.Frames = f[8];
    row.Reason = f[9];
    row.OutputFile = f[10];
    rows.push_back(std::move(row));
  }
  // A file cut short ends without its last line feed.
  if (!text.empty() && text.back() != '\n') return std::nullopt;
  return rows;
}

void RecoverInterruptedRows(std::vector<TFileListRow>& rows) {
  for (TFileListRow& row : rows) {
    if (!row.Converting) continue;
    row.Converting = false;
    row.Progress = "Abort";
    if (row.OutputFile.empty()) continue;
    std::error_code ec;
    const fs::path folder = fs::path(row.OutputFile).parent_path();
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
         !ec && it != end; it.increment(ec)) {
      const std::string candidate = (folder / it->path().filename()).string();
      std::error_code typeError;
      if (IsTemporaryOutputOf(row.OutputFile, candidate) && it->is_regular_file(typeError))
        fs::remove(it->path(), typeError);
    }
  }
}

TListJournal::~TListJournal() {
  if (lockFd_ >= 0) ::close(lockFd_);
}

bool TListJournal::Claim() {
  if (lockFd_ >= 0) return true;
  std::error_code ec;
  const fs::path folder = fs::path(path_).parent_path();
  if (!folder.empty()) fs::create_directories(folder, ec);
  const int fd = ::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  lockFd_ = fd;
  return true;
}

bool TListJournal::Write(const std::vector<TFileListRow>& rows) const {
  std::error_code ec;
  const fs::path folder = fs::path(path_).parent_path();
  if (!folder.empty()) fs::create_directories(folder, ec);
  const std::string temporary = path_ + ".new";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, SerialiseList(rows)) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), path_.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

std::optional<std::vector<TFileListRow>> TListJournal::Read() const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  auto rows = in.bad() ? std::nullopt : ParseList(text.str());
  if (!rows) {
    in.close();
    std::rename(path_.c_str(), (path_ + ".unreadable").c_str());
  }
  return rows;
}

void TListJournal::Remove() const {
  std::remove(path_.c_str());
  std::remove((path_ + ".new").c_str());
}

}  // namespace trovenix
