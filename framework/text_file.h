#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Reads a text file line by line with the platform's text-mode rules: a line ends at LF; a CR directly before
// the LF is dropped with it; any other CR stays in the line; no line length limit; opening never throws.
//
// The file is read in binary and the line rule applied here, so the same bytes give the same lines on every
// platform: the disc's files were written on DOS and Windows machines and must read identically in the native
// tests and in the program. Byte 26 (Ctrl-Z) is ordinary text, not an end of file.
class TextFile {
 public:
  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  TextFile(TextFile&& other) noexcept;
  TextFile& operator=(TextFile&& other) noexcept;

  // False when the file cannot be opened for reading (missing, a directory, no access). An open file is
  // closed first.
  bool Open(const std::string& path);
  // Serves the given text as if it were a file's contents; for tests and for hosts that keep files in memory.
  bool OpenFromString(std::string contents);
  // False at end of file; the last line need not end with LF.
  bool ReadLine(std::string& line);
  void Close();
  bool IsOpen() const;

 private:
  bool Refill();

  std::FILE* file_ = nullptr;
  bool open_ = false;
  std::string buffer_;
  std::size_t position_ = 0;
};

// Removes leading white space: space, tab, LF, VT, FF, CR.
std::string TrimLeading(std::string_view text);
