#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Reads a text file line by line with the platform's text-mode rules: a line ends at LF; a CR directly before
// the LF is dropped with it; any other CR stays in the line; the first byte 26 (Ctrl-Z, the DOS end-of-file
// mark) ends the file, and neither it nor anything after it is read; no line length limit; opening never
// throws.
//
// The file is read in binary and the rules applied here, so the same bytes give the same lines on every
// platform: the disc's files were written on DOS and Windows machines, many by editors that left the mark at
// their end, and must read identically in the native tests, the disc checker and the program.
class TextFile {
 public:
  TextFile() = default;
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  TextFile(TextFile&& other) noexcept;
  TextFile& operator=(TextFile&& other) noexcept;

  // How byte 26 reads: as the end of the file, as in text mode, or as ordinary text, as the platform's
  // settings (INI) reading takes it.
  enum class EndMark { kEndsFile, kIsText };

  // False when the file cannot be opened for reading (missing, a directory, no access). An open file is
  // closed first.
  bool Open(const std::string& path, EndMark endMark = EndMark::kEndsFile);
  // Serves the given text as if it were a file's contents; for tests and for hosts that keep files in memory.
  bool OpenFromString(std::string contents);
  // False at end of file; the last line need not end with LF.
  bool ReadLine(std::string& line);
  // The rest of the file as it is, line ends included, up to the end-of-file mark where it ends the file.
  std::string ReadRest();
  void Close();
  bool IsOpen() const;

 private:
  bool Refill();
  // Cuts the buffer at the end-of-file mark, if it holds one, and stops further reading.
  void CutAtEndMark();

  std::FILE* file_ = nullptr;
  bool open_ = false;
  bool markEndsFile_ = true;
  bool ended_ = false;  // the end-of-file mark was read: nothing more comes from the file
  std::string buffer_;
  std::size_t position_ = 0;
};

// Removes leading white space: space, tab, LF, VT, FF, CR.
std::string TrimLeading(std::string_view text);
