#include "disc/text_file.h"

#include <cstring>
#include <utility>

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr char kEndOfFileMark = '\x1a';

}  // namespace

TextFile::~TextFile() { Close(); }

TextFile::TextFile(TextFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      open_(std::exchange(other.open_, false)),
      markEndsFile_(std::exchange(other.markEndsFile_, true)),
      ended_(std::exchange(other.ended_, false)),
      buffer_(std::move(other.buffer_)),
      position_(std::exchange(other.position_, 0)) {
  other.buffer_.clear();
}

TextFile& TextFile::operator=(TextFile&& other) noexcept {
  if (this != &other) {
    Close();
    file_ = std::exchange(other.file_, nullptr);
    open_ = std::exchange(other.open_, false);
    markEndsFile_ = std::exchange(other.markEndsFile_, true);
    ended_ = std::exchange(other.ended_, false);
    buffer_ = std::move(other.buffer_);
    other.buffer_.clear();
    position_ = std::exchange(other.position_, 0);
  }
  return *this;
}

bool TextFile::Open(const std::string& path, EndMark endMark) {
  Close();
  markEndsFile_ = endMark == EndMark::kEndsFile;
  // The C library would silently open the shorter name before an embedded NUL.
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  open_ = true;
  // On POSIX a directory opens like a file and only the first read fails; Windows refuses it at open. Reading
  // ahead makes both refuse it here.
  if (!Refill() && std::ferror(file_)) {
    Close();
    return false;
  }
  return true;
}

bool TextFile::OpenFromString(std::string contents) {
  Close();
  markEndsFile_ = true;
  buffer_ = std::move(contents);
  CutAtEndMark();
  position_ = 0;
  open_ = true;
  return true;
}

bool TextFile::Refill() {
  if (file_ == nullptr || ended_) return false;
  buffer_.resize(kChunkSize);
  const std::size_t got = std::fread(&buffer_[0], 1, kChunkSize, file_);
  buffer_.resize(got);
  CutAtEndMark();
  position_ = 0;
  return !buffer_.empty();
}

void TextFile::CutAtEndMark() {
  if (!markEndsFile_ || buffer_.empty()) return;
  const void* mark = std::memchr(buffer_.data(), kEndOfFileMark, buffer_.size());
  if (mark == nullptr) return;
  buffer_.resize(static_cast<std::size_t>(static_cast<const char*>(mark) - buffer_.data()));
  ended_ = true;
}

bool TextFile::ReadLine(std::string& line) {
  line.clear();
  if (!open_) return false;
  bool readAnything = false;
  for (;;) {
    if (position_ >= buffer_.size() && !Refill()) return readAnything;
    readAnything = true;
    const std::size_t end = buffer_.find('\n', position_);
    if (end == std::string::npos) {
      line.append(buffer_, position_, std::string::npos);
      position_ = buffer_.size();
      continue;
    }
    line.append(buffer_, position_, end - position_);
    position_ = end + 1;
    // The CR may have come at the end of the previous chunk, so look at the line, not the buffer.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }
}

std::string TextFile::ReadRest() {
  std::string rest;
  if (!open_) return rest;
  do {
    rest.append(buffer_, position_, std::string::npos);
    position_ = buffer_.size();
  } while (Refill());
  return rest;
}

void TextFile::Close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  open_ = false;
  ended_ = false;
  buffer_.clear();
  buffer_.shrink_to_fit();
  position_ = 0;
}

bool TextFile::IsOpen() const { return open_; }

std::string TrimLeading(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
  if (first == std::string_view::npos) return std::string();
  return std::string(text.substr(first));
}
