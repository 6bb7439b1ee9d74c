#include "tools/help/winhelp_file.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "disc/code_page.h"

namespace {

// Every number in the file is little-endian.
void Put8(std::string& out, unsigned value) { out += static_cast<char>(value & 0xFF); }
void Put16(std::string& out, unsigned value) {
  Put8(out, value);
  Put8(out, value >> 8);
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
void Set16(std::string& out, std::size_t at, unsigned value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}
void Set32(std::string& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

constexpr std::uint32_t kNone = 0xFFFFFFFF;

// Numbers in a paragraph's description are stored in one or two bytes (short), two or four (long), the
// lowest bit telling which.
void PutCompressedUnsignedShort(std::string& out, unsigned value) {
  if (value < 0x80) {
    Put8(out, value * 2);
  } else {
    Put16(out, value * 2 + 1);
  }
}
void PutCompressedShort(std::string& out, int value) {
  if (value >= -0x40 && value < 0x40) {
    Put8(out, static_cast<unsigned>(value * 2 + 0x80));
  } else {
    Put16(out, static_cast<unsigned>(value * 2 + 0x8001));
  }
}
void PutCompressedLong(std::string& out, long value) {
  if (value >= -0x4000 && value < 0x4000) {
    Put16(out, static_cast<unsigned>(value * 2 + 0x8000));
  } else {
    Put32(out, static_cast<std::uint32_t>(value * 2 + 0x80000001L));
  }
}

// B+ trees (the internal directory, |CONTEXT, |TTLBTREE): fixed-size pages, the entries in leaf pages in key
// order, index pages above them down to which a reader descends from the root.
struct BTreeEntry {
  std::string key;   // as stored in index pages, before the page number
  std::string leaf;  // the whole leaf entry, key and value
};

std::string BTree(const std::vector<BTreeEntry>& entries, unsigned page_size, unsigned flags,
                  const std::string& structure) {
  std::vector<std::string> pages;
  struct Child {
    unsigned page;
    std::string first_key;
  };
  std::vector<Child> level;

  // Leaf pages: free bytes, entry count, previous and next leaf (-1 at the ends).
  constexpr unsigned kLeafHeader = 8;
  std::size_t next = 0;
  do {
    std::string body;
    unsigned count = 0;
    const std::string first_key = next < entries.size() ? entries[next].key : std::string();
    while (next < entries.size() && kLeafHeader + body.size() + entries[next].leaf.size() <= page_size) {
      body += entries[next++].leaf;
      ++count;
    }
    // The reader keeps titles and ids short enough; an entry no page holds would otherwise never be written.
    if (count == 0 && next < entries.size()) throw std::length_error("a B+ tree entry larger than its page");
    const auto page = static_cast<unsigned>(pages.size());
    std::string header;
    Put16(header, static_cast<unsigned>(page_size - kLeafHeader - body.size()));
    Put16(header, count);
    Put16(header, level.empty() ? 0xFFFF : page - 1);
    Put16(header, 0xFFFF);
    if (!level.empty()) Set16(pages.back(), 6, page);  // the previous leaf's next
    pages.push_back(header + body);
    level.push_back({page, first_key});
  } while (next < entries.size());

  // Index pages: free bytes, entry count, the page for keys before the first entry; then (key, page) pairs.
  unsigned levels = 1;
  constexpr unsigned kIndexHeader = 6;
  while (level.size() > 1) {
    std::vector<Child> upper;
    std::size_t child = 0;
    while (child < level.size()) {
      const Child first = level[child++];
      std::string body;
      unsigned count = 0;
      while (child < level.size() &&
             kIndexHeader + body.size() + level[child].first_key.size() + 2 <= page_size) {
        body += level[child].first_key;
        Put16(body, level[child++].page);
        ++count;
      }
      std::string header;
      Put16(header, static_cast<unsigned>(page_size - kIndexHeader - body.size()));
      Put16(header, count);
      Put16(header, first.page);
      upper.push_back({static_cast<unsigned>(pages.size()), first.first_key});
      pages.push_back(header + body);
    }
    level = std::move(upper);
    ++levels;
  }

  std::string out;
  Put16(out, 0x293B);
  Put16(out, flags);
  Put16(out, page_size);
  std::string layout = structure;
  layout.resize(16, '\0');
  out += layout;
  Put16(out, 0);  // must be zero
  Put16(out, 0);  // page splits
  Put16(out, level.front().page);
  Put16(out, 0xFFFF);
  Put16(out, static_cast<unsigned>(pages.size()));
  Put16(out, levels);
  Put32(out, static_cast<std::uint32_t>(entries.size()));
  for (std::string& page : pages) {
    page.resize(page_size, '\0');
    out += page;
  }
  return out;
}

// |TOPIC is read in 4 KB blocks, each a 12-byte header and the rest LZ77-compressed. The compression here
// stores every byte as a literal (a flag byte of zeros before each eight bytes): it keeps the file simple
// and, unlike uncompressed blocks, gives topic positions the one meaning every reader agrees on (the block
// number times 16 K plus the offset in the block's expanded data).
constexpr std::size_t kTopicBlockSize = 4096;
constexpr std::size_t kTopicBlockHeader = 12;
constexpr std::size_t kLiteralGroups = (kTopicBlockSize - kTopicBlockHeader) / 9;
constexpr std::size_t kTopicBlockData =
    kLiteralGroups * 8 + (kTopicBlockSize - kTopicBlockHeader - kLiteralGroups * 9 - 1);
constexpr std::size_t kTopicLinkHeader = 21;

std::uint32_t TopicPosition(std::size_t offset) {
  return static_cast<std::uint32_t>((offset / kTopicBlockData) * 0x4000 + kTopicBlockHeader +
                                    offset % kTopicBlockData);
}

std::string Literals(const std::string& data) {
  std::string out;
  for (std::size_t i = 0; i < data.size(); i += 8) {
    out += '\0';
    out += data.substr(i, 8);
  }
  return out;
}

// One record of |TOPIC: a topic's header (type 2) or a paragraph (type 0x20).
struct TopicLink {
  unsigned type = 0x20;
  std::string data1;  // after the 21-byte link header
  std::string data2;  // the text, strings ended by NUL
  std::size_t topic = 0;
  unsigned characters = 0;  // what the paragraph counts towards topic offsets
  std::size_t offset = 0;   // in the expanded topic data
};

// The fonts of |FONT, in this order.
enum Font : unsigned { kBodyFont, kHeadingFont, kTitleFont };

struct Paragraph {
  Font font = kBodyFont;
  int space_above = 0;  // half points
  int left_indent = 0;
  int first_line_indent = 0;
  int tab_stop = 0;
};

TopicLink ParagraphLink(const Paragraph& style, const std::vector<HelpRun>& runs, const std::string& bullet,
                        bool paragraph = true) {
  std::string commands;
  std::string text;
  std::string pending;
  const auto emit = [&](const std::string& command) {
    text += pending;
    text += '\0';
    pending.clear();
    commands += command;
  };
  std::string font;
  Put8(font, 0x80);
  Put16(font, style.font);
  if (paragraph) emit(font);
  if (!bullet.empty()) {
    pending = bullet;
    emit(std::string(1, '\x83'));  // tab
  }
  for (const HelpRun& run : runs) {
    if (run.target.empty()) {
      pending += CodePage1250FromUtf8(run.text);
      continue;
    }
    std::string jump;
    Put8(jump, 0xE3);  // jump to a topic of this file, drawn as a link
    Put32(jump, static_cast<std::uint32_t>(WinHelpContextHash(run.target)));
    emit(jump);
    pending = CodePage1250FromUtf8(run.text);
    emit(std::string(1, '\x89'));  // end of the link
  }
  if (paragraph) emit(std::string(1, '\x82'));  // end of paragraph
  emit(std::string(1, '\xFF'));                 // end of the record

  // The reader keeps paragraphs short enough; a longer one would be cut short without a word.
  if (text.size() > kWinHelpMaxParagraph)
    throw std::length_error("a paragraph longer than Windows help holds");
  TopicLink link;
  link.characters = static_cast<unsigned>(text.size());
  std::string& out = link.data1;
  PutCompressedLong(out, static_cast<long>(text.size()));
  PutCompressedUnsignedShort(out, link.characters);
  Put8(out, 0x80);
  Put8(out, 0x80);
  Put16(out, 0);
  unsigned bits = 0;
  if (style.space_above) bits |= 0x0002;
  if (style.left_indent) bits |= 0x0010;
  if (style.first_line_indent) bits |= 0x0040;
  if (style.tab_stop) bits |= 0x0200;
  Put16(out, bits);
  if (style.space_above) PutCompressedShort(out, style.space_above);
  if (style.left_indent) PutCompressedShort(out, style.left_indent);
  if (style.first_line_indent) PutCompressedShort(out, style.first_line_indent);
  if (style.tab_stop) {
    PutCompressedShort(out, 1);
    PutCompressedUnsignedShort(out, static_cast<unsigned>(style.tab_stop));
  }
  out += commands;
  link.data2 = text;
  return link;
}

struct Topics {
  std::string file;                          // |TOPIC
  std::vector<std::uint32_t> topic_offsets;  // of each topic, as |CONTEXT, |TTLBTREE and links know it
};

Topics WriteTopics(const HelpDocument& document) {
  const Paragraph title_style{kTitleFont, 0, 0, 0, 0};
  const Paragraph heading_style{kHeadingFont, 12, 0, 0, 0};
  const Paragraph paragraph_style{kBodyFont, 6, 0, 0, 0};
  const Paragraph item_style{kBodyFont, 3, 36, -36, 36};
  const std::string bullet(1, CodePage1250FromUnicode(0x2022));

  std::vector<TopicLink> links;
  std::vector<std::size_t> headers;  // the topic header of each topic, in `links`
  for (std::size_t t = 0; t < document.topics.size(); ++t) {
    const HelpTopic& topic = document.topics[t];
    headers.push_back(links.size());
    TopicLink header;
    header.type = 2;
    header.data1.assign(28, '\0');  // filled in once positions are known
    header.data2 = CodePage1250FromUtf8(topic.title) + '\0';
    links.push_back(header);
    links.push_back(ParagraphLink(title_style, {HelpRun{topic.title, ""}}, ""));
    for (const HelpBlock& block : topic.blocks) {
      switch (block.kind) {
        case HelpBlock::Kind::kHeading:
          links.push_back(ParagraphLink(heading_style, block.runs, ""));
          break;
        case HelpBlock::Kind::kListItem:
          links.push_back(ParagraphLink(item_style, block.runs, bullet));
          break;
        case HelpBlock::Kind::kParagraph:
          links.push_back(ParagraphLink(paragraph_style, block.runs, ""));
          break;
      }
    }
    for (std::size_t i = headers.back(); i < links.size(); ++i) links[i].topic = t;
  }
  // The last record is taken as the end of the topics and not shown: one with no text at all.
  links.push_back(ParagraphLink(paragraph_style, {}, "", false));
  links.back().topic = document.topics.size() - 1;

  // Where each record goes, and the topic offsets: the block a record starts in and the characters of the
  // paragraphs that start in that block before it.
  std::size_t offset = 0;
  std::size_t counted_block = 0;
  unsigned characters = 0;
  std::vector<std::uint32_t> link_offsets;
  for (TopicLink& link : links) {
    link.offset = offset;
    const std::size_t block = offset / kTopicBlockData;
    if (block != counted_block) {
      counted_block = block;
      characters = 0;
    }
    link_offsets.push_back(static_cast<std::uint32_t>(block * 0x8000 + characters));
    if (link.type == 0x20) characters += link.characters;
    offset += kTopicLinkHeader + link.data1.size() + link.data2.size();
  }
  Topics topics;
  for (const std::size_t header : headers) topics.topic_offsets.push_back(link_offsets[header]);

  std::string data;
  for (std::size_t i = 0; i < links.size(); ++i) {
    TopicLink& link = links[i];
    if (link.type == 2) {
      const std::size_t t = link.topic;
      const std::size_t end = t + 1 < headers.size() ? links[headers[t + 1]].offset : offset;
      std::string& h = link.data1;
      h.clear();
      Put32(h, static_cast<std::uint32_t>(end - link.offset));
      Put32(h, t > 0 ? topics.topic_offsets[t - 1] : kNone);
      Put32(h, t + 1 < headers.size() ? topics.topic_offsets[t + 1] : kNone);
      Put32(h, static_cast<std::uint32_t>(t));
      Put32(h, kNone);                               // no non-scrolling region
      Put32(h, TopicPosition(links[i + 1].offset));  // the scrolling region: the title onwards
      Put32(h, t + 1 < headers.size() ? TopicPosition(links[headers[t + 1]].offset) : kNone);
    }
    const std::size_t size = kTopicLinkHeader + link.data1.size() + link.data2.size();
    Put32(data, static_cast<std::uint32_t>(size));
    Put32(data, static_cast<std::uint32_t>(link.data2.size()));
    Put32(data, i > 0 ? TopicPosition(links[i - 1].offset) : kNone);
    Put32(data, i + 1 < links.size() ? TopicPosition(links[i + 1].offset) : kNone);
    Put32(data, static_cast<std::uint32_t>(kTopicLinkHeader + link.data1.size()));
    Put8(data, link.type);
    data += link.data1;
    data += link.data2;
  }

  // The blocks: the last record before the block, the first record in it, the last topic header before it.
  const std::size_t blocks = (data.size() + kTopicBlockData - 1) / kTopicBlockData;
  std::size_t link = 0;
  std::size_t header = 0;
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::size_t start = b * kTopicBlockData;
    const std::size_t end = start + kTopicBlockData;
    while (link < links.size() && links[link].offset < start) ++link;
    while (header + 1 < headers.size() && links[headers[header + 1]].offset < start) ++header;
    std::string block;
    Put32(block, link > 0 ? TopicPosition(links[link - 1].offset) : kNone);
    Put32(block, link < links.size() && links[link].offset < end ? TopicPosition(links[link].offset) : kNone);
    Put32(block, b > 0 ? TopicPosition(links[headers[header]].offset) : kNone);
    block += Literals(data.substr(start, kTopicBlockData));
    // A reader looks for a last block at least this long.
    if (block.size() < 0x44) block.resize(0x44, '\0');
    topics.file += block;
  }
  return topics;
}

std::string SystemFile(const HelpDocument& document, std::uint32_t contents) {
  std::string out;
  Put16(out, 0x036C);
  Put16(out, 21);  // WinHelp 3.1
  Put16(out, 1);
  Put32(out, 0);  // date made: none, so that one document always gives the same bytes
  Put16(out, 4);  // topic blocks of 4 KB, LZ77
  const auto record = [&out](unsigned type, const std::string& data) {
    Put16(out, type);
    Put16(out, static_cast<unsigned>(data.size()));
    out += data;
  };
  record(1, CodePage1250FromUtf8(document.title) + '\0');
  std::string contents_offset;
  Put32(contents_offset, contents);
  record(3, contents_offset);
  std::string charset;
  Put16(charset, 238);  // EASTEUROPE_CHARSET: the text is code page 1250
  record(11, charset);
  return out;
}

std::string FontFile() {
  struct FontDescriptor {
    unsigned attributes;  // 1 bold
    unsigned half_points;
  };
  // Body text, headings inside topics, topic titles. Links are the body font, drawn by the viewer.
  const FontDescriptor fonts[] = {{0, 20}, {1, 24}, {1, 28}};
  const std::string face = "Arial";
  constexpr unsigned kFaceLength = 32;
  std::string out;
  Put16(out, 1);
  Put16(out, sizeof(fonts) / sizeof(fonts[0]));
  Put16(out, 8);
  Put16(out, 8 + kFaceLength);
  std::string name = face;
  name.resize(kFaceLength, '\0');
  out += name;
  for (const FontDescriptor& font : fonts) {
    Put8(out, font.attributes);
    Put8(out, font.half_points);
    Put8(out, 3);  // swiss
    Put16(out, 0);
    Put8(out, 0);  // black text
    Put8(out, 0);
    Put8(out, 0);
    Put8(out, 0xFF);  // white background
    Put8(out, 0xFF);
    Put8(out, 0xFF);
  }
  return out;
}

}  // namespace

std::size_t WinHelpParagraphLength(const HelpBlock& block) {
  const std::string bullet =
      block.kind == HelpBlock::Kind::kListItem ? std::string(1, CodePage1250FromUnicode(0x2022)) : "";
  std::string text;
  // Counted as written: the text with a separator for each command, without the limit's check.
  std::size_t commands = 3 + (bullet.empty() ? 0 : 1);
  text += bullet;
  for (const HelpRun& run : block.runs) {
    text += CodePage1250FromUtf8(run.text);
    if (!run.target.empty()) commands += 2;
  }
  return text.size() + commands;
}

std::int32_t WinHelpContextHash(const std::string& id) {
  std::uint32_t hash = 0;
  for (const char c : id) {
    unsigned value = 0;
    if (c >= 'A' && c <= 'Z') value = c - 'A' + 17;
    if (c >= 'a' && c <= 'z') value = c - 'a' + 17;
    if (c >= '1' && c <= '9') value = c - '0';
    if (c == '0') value = 10;
    if (c == '.') value = 12;
    if (c == '_') value = 13;
    if (value) hash = hash * 43 + value;
  }
  return static_cast<std::int32_t>(hash);
}

std::string WriteWinHelp(const HelpDocument& document) {
  const Topics topics = WriteTopics(document);

  std::vector<std::pair<std::int32_t, std::uint32_t>> contexts;
  for (std::size_t t = 0; t < document.topics.size(); ++t) {
    contexts.emplace_back(WinHelpContextHash(document.topics[t].id), topics.topic_offsets[t]);
  }
  std::stable_sort(contexts.begin(), contexts.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<BTreeEntry> context_entries;
  for (const auto& [hash, topic_offset] : contexts) {
    BTreeEntry entry;
    Put32(entry.key, static_cast<std::uint32_t>(hash));
    entry.leaf = entry.key;
    Put32(entry.leaf, topic_offset);
    context_entries.push_back(entry);
  }
  std::vector<BTreeEntry> title_entries;
  for (std::size_t t = 0; t < document.topics.size(); ++t) {
    BTreeEntry entry;
    Put32(entry.key, topics.topic_offsets[t]);
    entry.leaf = entry.key + CodePage1250FromUtf8(document.topics[t].title) + '\0';
    title_entries.push_back(entry);
  }

  // Internal files by name; the directory lists them in byte order.
  std::map<std::string, std::string> files;
  files["|SYSTEM"] = SystemFile(document, topics.topic_offsets.front());
  files["|FONT"] = FontFile();
  files["|TOPIC"] = topics.file;
  files["|CONTEXT"] = BTree(context_entries, 2048, 0x0002, "L4");
  files["|TTLBTREE"] = BTree(title_entries, 2048, 0x0002, "Lz");

  // Each internal file: space reserved (with this header), space used, flags.
  const auto internal_file = [](const std::string& content) {
    std::string out;
    Put32(out, static_cast<std::uint32_t>(content.size() + 9));
    Put32(out, static_cast<std::uint32_t>(content.size()));
    Put8(out, 4);
    return out + content;
  };
  std::string body;
  std::vector<BTreeEntry> directory;
  constexpr std::size_t kFileHeader = 16;
  for (const auto& [name, content] : files) {
    BTreeEntry entry;
    entry.key = name + '\0';
    entry.leaf = entry.key;
    Put32(entry.leaf, static_cast<std::uint32_t>(kFileHeader + body.size()));
    directory.push_back(entry);
    body += internal_file(content);
  }
  const std::string directory_file = internal_file(BTree(directory, 1024, 0x0402, "z4"));

  std::string out;
  Put32(out, 0x00035F3F);
  Put32(out, static_cast<std::uint32_t>(kFileHeader + body.size()));
  Put32(out, kNone);  // no free blocks
  Put32(out, 0);
  out += body;
  out += directory_file;
  Set32(out, 12, static_cast<std::uint32_t>(out.size()));
  return out;
}
