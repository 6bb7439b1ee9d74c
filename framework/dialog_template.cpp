#include "framework/dialog_template.h"

namespace {

// The template font follows the header when the style asks for it (DS_SETFONT, also part of DS_SHELLFONT).
constexpr std::uint32_t kSetFontStyle = 0x40;

// Little-endian reading with bounds checks; once a read runs past the end every later read fails too.
class Reader {
 public:
  Reader(const void* data, std::size_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}

  bool ok() const { return ok_; }
  std::uint16_t Word() {
    if (!Need(2)) return 0;
    const std::uint16_t value = static_cast<std::uint16_t>(data_[at_] | (data_[at_ + 1] << 8));
    at_ += 2;
    return value;
  }
  std::uint32_t Dword() {
    const std::uint32_t low = Word();
    return low | (static_cast<std::uint32_t>(Word()) << 16);
  }
  int Short() { return static_cast<std::int16_t>(Word()); }
  void Skip(std::size_t bytes) {
    if (Need(bytes)) at_ += bytes;
  }
  // A zero-terminated UTF-16 string.
  void SkipString() {
    while (ok_ && Word() != 0) {
    }
  }
  // A menu, class or title field: nothing (0), an ordinal (0xFFFF and a word) or a string.
  void SkipNameOrOrdinal() {
    const std::uint16_t first = Word();
    if (first == 0xFFFF) {
      Word();
    } else if (first != 0) {
      SkipString();
    }
  }
  // Items start on a 4-byte boundary of the template.
  void AlignToDword() { Skip((4 - at_ % 4) % 4); }

 private:
  bool Need(std::size_t bytes) {
    ok_ = ok_ && bytes <= size_ - at_;
    return ok_;
  }

  const unsigned char* data_;
  std::size_t size_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

void ReadRectangle(Reader& in, int& x, int& y, int& cx, int& cy) {
  x = in.Short();
  y = in.Short();
  cx = in.Short();
  cy = in.Short();
}

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const void* data, std::size_t size) {
  Reader in(data, size);
  DialogTemplate result;
  // The extended form starts with version 1 and the signature 0xFFFF where the older one has its style.
  const std::uint32_t first = in.Dword();
  const bool extended = first == 0xFFFF0001u;
  if (extended) {
    in.Dword();  // help id
    result.exStyle = in.Dword();
    result.style = in.Dword();
  } else {
    result.style = first;
    result.exStyle = in.Dword();
  }
  const std::uint16_t count = in.Word();
  ReadRectangle(in, result.x, result.y, result.cx, result.cy);
  in.SkipNameOrOrdinal();  // menu
  in.SkipNameOrOrdinal();  // window class
  in.SkipString();         // title
  if ((result.style & kSetFontStyle) != 0) {
    in.Word();                 // point size
    if (extended) in.Skip(4);  // weight, italic, character set
    in.SkipString();           // face name
  }
  for (std::uint16_t i = 0; i < count && in.ok(); ++i) {
    in.AlignToDword();
    DialogTemplateItem item;
    if (extended) {
      in.Dword();  // help id
      in.Dword();  // extended style
      item.style = in.Dword();
    } else {
      item.style = in.Dword();
      in.Dword();  // extended style
    }
    ReadRectangle(in, item.x, item.y, item.cx, item.cy);
    item.id = extended ? in.Dword() : in.Word();
    in.SkipNameOrOrdinal();  // class
    in.SkipNameOrOrdinal();  // title
    in.Skip(in.Word());      // creation data, preceded by its length in bytes
    result.items.push_back(item);
  }
  if (!in.ok()) return std::nullopt;
  return result;
}
