#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <iconv.h>

#include "case_name.h"
#include "tools/help/winhelp_file.h"

namespace {

// What a viewer reads of a .hlp file, read here the way the viewer reads it.
unsigned U16(const char* p) {
  return static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8;
}
std::uint32_t U32(const char* p) { return U16(p) | static_cast<std::uint32_t>(U16(p + 2)) << 16; }

struct BTree {
  const char* data;
  unsigned page_size, root, levels, entries;
  const char* Page(unsigned n) const { return data + 38 + n * page_size; }
};

BTree OpenTree(const std::string& file) {
  EXPECT_EQ(U16(file.data()), 0x293Bu);
  return {file.data(), U16(file.data() + 4), U16(file.data() + 26), U16(file.data() + 32),
          U32(file.data() + 34)};
}

// The value (4 bytes) of the leaf entry with `key`, found from the root down; keys are NUL-ended strings or
// signed longs.
const char* Find(const BTree& tree, bool string_key, const std::string& key) {
  const auto size = [&](const char* p) { return string_key ? std::strlen(p) + 1 : 4; };
  const auto compare = [&](const char* p) {
    if (string_key) return std::strcmp(p, key.c_str());
    const auto a = static_cast<std::int32_t>(U32(p)), b = static_cast<std::int32_t>(U32(key.data()));
    return a < b ? -1 : a > b ? 1 : 0;
  };
  unsigned page = tree.root;
  for (unsigned level = 1; level < tree.levels; ++level) {
    const char* p = tree.Page(page);
    unsigned next = U16(p + 4);
    const unsigned count = U16(p + 2);
    p += 6;
    for (unsigned i = 0; i < count && compare(p) <= 0; ++i) {
      next = U16(p + size(p));
      p += size(p) + 2;
    }
    page = next;
  }
  const char* p = tree.Page(page);
  const unsigned count = U16(p + 2);
  p += 8;
  for (unsigned i = 0; i < count; ++i, p += size(p) + 4) {
    if (compare(p) == 0) return p + size(p);
  }
  return nullptr;
}

// |TTLBTREE's leaves in order: (topic offset, title).
std::vector<std::pair<std::uint32_t, std::string>> Titles(const BTree& tree) {
  unsigned page = tree.root;
  for (unsigned level = 1; level < tree.levels; ++level) page = U16(tree.Page(page) + 4);
  std::vector<std::pair<std::uint32_t, std::string>> titles;
  for (; page != 0xFFFF; page = U16(tree.Page(page) + 6)) {
    const char* p = tree.Page(page) + 8;
    for (unsigned i = U16(tree.Page(page) + 2); i > 0; --i) {
      titles.emplace_back(U32(p), p + 4);
      p += 4 + std::strlen(p + 4) + 1;
    }
  }
  return titles;
}

struct Topic {
  std::uint32_t offset = 0;
  std::string title, text;  // paragraphs end with '\n', tabs are '\t'
  std::vector<std::int32_t> links;
};

struct HelpFile {
  std::map<std::string, std::string> files;
  std::map<unsigned, std::string> system;  // record type -> data
  unsigned fonts = 0;
  std::vector<std::string> font_faces;
  std::vector<unsigned> font_sizes;
  std::vector<Topic> topics;
  unsigned topic_blocks = 0;
};

HelpFile Read(const std::string& hlp) {
  HelpFile help;
  EXPECT_EQ(U32(hlp.data()), 0x00035F3Fu);
  EXPECT_EQ(U32(hlp.data() + 12), hlp.size());
  const auto internal = [&](std::uint32_t at) { return hlp.substr(at + 9, U32(hlp.data() + at + 4)); };
  const std::string directory = internal(U32(hlp.data() + 4));
  const BTree tree = OpenTree(directory);
  for (const char* name : {"|SYSTEM", "|FONT", "|TOPIC", "|CONTEXT", "|TTLBTREE"}) {
    const char* at = Find(tree, true, name);
    if (at) help.files[name] = internal(U32(at));
  }

  const std::string& system = help.files["|SYSTEM"];
  EXPECT_EQ(system.substr(0, 6), std::string("\x6C\x03\x15\x00\x01\x00", 6));
  for (std::size_t p = 12; p + 4 <= system.size(); p += 4 + U16(system.data() + p + 2)) {
    help.system[U16(system.data() + p)] = system.substr(p + 4, U16(system.data() + p + 2));
  }

  const char* font = help.files["|FONT"].data();
  help.fonts = U16(font + 2);
  const unsigned face_length = (U16(font + 6) - U16(font + 4)) / U16(font);
  for (unsigned i = 0; i < help.fonts; ++i) {
    const char* descriptor = font + U16(font + 6) + 11 * i;
    help.font_faces.push_back(font + U16(font + 4) + face_length * U16(descriptor + 3));
    help.font_sizes.push_back(static_cast<unsigned char>(descriptor[1]) | (descriptor[0] & 1) << 8);
  }

  // The topic blocks expanded (LZ77) and laid end to end; a position is block * 16 K + 12 + offset.
  const std::string& topic_file = help.files["|TOPIC"];
  std::string data;
  std::vector<std::size_t> block_starts;
  for (std::size_t b = 0; b < topic_file.size(); b += 4096) {
    block_starts.push_back(data.size());
    const std::string block = topic_file.substr(b + 12, 4096 - 12);
    for (std::size_t i = 0; i < block.size();) {
      const unsigned flags = static_cast<unsigned char>(block[i++]);
      for (int bit = 0; bit < 8 && i < block.size(); ++bit) {
        if (flags & (1 << bit)) {
          const unsigned code = U16(block.data() + i);
          i += 2;
          for (unsigned n = 0; n < 3 + (code >> 12); ++n) data += data[data.size() - 1 - (code & 0xFFF)];
        } else {
          data += block[i++];
        }
      }
    }
  }
  help.topic_blocks = static_cast<unsigned>(block_starts.size());
  std::size_t counted_block = 0;
  unsigned characters = 0;
  for (std::uint32_t position = 12; position != 0xFFFFFFFF;) {
    const std::size_t block = (position - 12) >> 14;
    const char* link = data.data() + block_starts.at(block) + ((position - 12) & 0x3FFF);
    if (block != counted_block) counted_block = block, characters = 0;
    const char* data1 = link + 21;
    const char* data2 = link + U32(link + 16);
    if (link[20] == 2) {
      help.topics.push_back({static_cast<std::uint32_t>(block * 0x8000 + characters), data2, "", {}});
    } else {
      EXPECT_EQ(link[20], 0x20);
      const char* p = data1 + ((*data1 & 1) ? 4 : 2);
      characters += (*p & 1) ? U16(p) / 2 : static_cast<unsigned char>(*p) / 2;
      p += ((*p & 1) ? 2 : 1) + 4;
      const unsigned bits = U16(p);
      p += 2;
      for (unsigned bit = 0x01; bit <= 0x40; bit <<= 1) {
        if (bits & bit) p += (bit == 1 ? 2 : 1) * ((*p & 1) ? 2 : 1);
      }
      if (bits & 0x0200) {
        for (int tabs = (static_cast<unsigned char>(*p++) - 0x80) / 2; tabs > 0; --tabs)
          p += (*p & 1) ? 2 : 1;
      }
      Topic& topic = help.topics.back();
      for (const char* text = data2;; text += std::strlen(text) + 1) {
        topic.text += text;
        const auto command = static_cast<unsigned char>(*p++);
        if (command == 0xFF) break;
        if (command == 0x80) p += 2;
        if (command == 0x82) topic.text += '\n';
        if (command == 0x83) topic.text += '\t';
        if (command == 0xE3) topic.links.push_back(static_cast<std::int32_t>(U32(p))), p += 4;
      }
    }
    position = U32(link + 12);
  }
  return help;
}

std::string CodePage1250(const std::string& utf8) {
  iconv_t convert = iconv_open("CP1250", "UTF-8");
  std::string out(utf8.size(), '\0');
  char* in = const_cast<char*>(utf8.data());
  char* to = out.data();
  std::size_t in_left = utf8.size(), out_left = out.size();
  iconv(convert, &in, &in_left, &to, &out_left);
  iconv_close(convert);
  out.resize(out.size() - out_left);
  return out;
}

HelpTopic MakeTopic(const std::string& id, const std::string& title, std::vector<HelpBlock> blocks) {
  return {id, title, std::move(blocks), 0};
}
HelpBlock Block(HelpBlock::Kind kind, std::vector<HelpRun> runs) { return {kind, std::move(runs)}; }
constexpr auto kParagraph = HelpBlock::Kind::kParagraph;
constexpr auto kHeading = HelpBlock::Kind::kHeading;
constexpr auto kListItem = HelpBlock::Kind::kListItem;

HelpDocument ManyTopics(int count) {
  HelpDocument document{"Wiele temat\xC3\xB3w", {}};
  for (int i = 0; i < count; ++i) {
    const std::string next = "topic_" + std::to_string((i + 1) % count);
    document.topics.push_back(
        MakeTopic("topic_" + std::to_string(i), "Temat " + std::to_string(i) + " \xC5\xBC\xC3\xB3\xC5\x82w",
                  {Block(kParagraph, {{std::string(100 + i % 50, 'x') + " ", ""}, {"dalej", next}}),
                   Block(kListItem, {{"punkt", ""}})}));
  }
  return document;
}

struct Case {
  const char* name;
  HelpDocument document;
};

const Case kCases[] = {
    {"one_topic", {"Pomoc", {MakeTopic("start", "Start", {Block(kParagraph, {{"\xC4\x85\xC4\x87", ""}})})}}},
    {"links_headings_and_lists",
     {"Pomoc \xE2\x80\x93 N\xC3\xA1pov\xC4\x9B"
      "da",
      {MakeTopic(
           "contents",
           "Spis tre\xC5\x9B"
           "ci",
           {Block(kParagraph, {{"Zobacz ", ""}, {"stron\xC4\x99 czesk\xC4\x85", "Czech_page"}, {".", ""}}),
            Block(kHeading, {{"Nag\xC5\x82\xC3\xB3wek", ""}}),
            Block(kListItem, {{"punkt ", ""}, {"wstecz", "contents"}})}),
       MakeTopic(
           "Czech_page",
           "\xC4\x8C"
           "esk\xC3\xA1 str\xC3\xA1nka",
           {Block(kParagraph, {{"P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD", ""}}),
            Block(kListItem, {{"a", "contents"}, {"b", "Czech_page"}})})}}},
    // More topics than one B+ tree page holds, more text than one topic block.
    {"hundreds_of_topics", ManyTopics(400)},
};

class WinHelpFileTest : public testing::TestWithParam<Case> {};

TEST_P(WinHelpFileTest, ViewerFindsTitleTopicsTextAndLinks) {
  const HelpDocument& document = GetParam().document;
  const HelpFile help = Read(WriteWinHelp(document));

  EXPECT_EQ(help.system.at(1), CodePage1250(document.title) + '\0');
  EXPECT_EQ(help.system.at(11), std::string("\xEE\x00", 2));  // the Central European character set
  ASSERT_EQ(help.topics.size(), document.topics.size());
  EXPECT_EQ(U32(help.system.at(3).data()), help.topics.front().offset);
  EXPECT_EQ(help.font_faces, std::vector<std::string>(3, "Arial"));
  EXPECT_EQ(help.font_sizes, (std::vector<unsigned>{20, 0x100 | 24, 0x100 | 28}));  // body, bold headings

  const BTree context = OpenTree(help.files.at("|CONTEXT"));
  EXPECT_EQ(context.entries, document.topics.size());
  std::map<std::int32_t, std::uint32_t> offset_of;  // by the hash of the topic id
  std::vector<std::pair<std::uint32_t, std::string>> titles;
  for (std::size_t t = 0; t < document.topics.size(); ++t) {
    const HelpTopic& topic = document.topics[t];
    std::string key(4, '\0');
    const auto hash = WinHelpContextHash(topic.id);
    std::memcpy(key.data(), &hash, 4);
    const char* found = Find(context, false, key);
    ASSERT_NE(found, nullptr) << topic.id;
    EXPECT_EQ(U32(found), help.topics[t].offset) << topic.id;
    offset_of[hash] = U32(found);
    titles.emplace_back(help.topics[t].offset, CodePage1250(topic.title));
    EXPECT_EQ(help.topics[t].title, CodePage1250(topic.title));

    std::string text = topic.title + "\n";
    std::vector<std::int32_t> links;
    for (const HelpBlock& block : topic.blocks) {
      if (block.kind == kListItem) text += "\xE2\x80\xA2\t";
      for (const HelpRun& run : block.runs) {
        text += run.text;
        if (!run.target.empty()) links.push_back(WinHelpContextHash(run.target));
      }
      text += "\n";
    }
    EXPECT_EQ(help.topics[t].text, CodePage1250(text)) << topic.id;
    EXPECT_EQ(help.topics[t].links, links) << topic.id;
  }
  for (const Topic& topic : help.topics) {
    for (const std::int32_t link : topic.links) EXPECT_TRUE(offset_of.count(link)) << topic.title;
  }
  EXPECT_EQ(Titles(OpenTree(help.files.at("|TTLBTREE"))), titles);
}

INSTANTIATE_TEST_SUITE_P(Documents, WinHelpFileTest, testing::ValuesIn(kCases), CaseName());

TEST(WinHelpFile, LargeDocumentNeedsIndexPagesAndManyTopicBlocks) {
  const HelpFile help = Read(WriteWinHelp(ManyTopics(400)));
  EXPECT_GT(OpenTree(help.files.at("|CONTEXT")).levels, 1u);
  EXPECT_GT(OpenTree(help.files.at("|TTLBTREE")).levels, 1u);
  EXPECT_GT(help.topic_blocks, 10u);
}

TEST(WinHelpFile, TextIsCodePage1250) {
  const HelpDocument document{
      "\xC4\x85\xC4\x87\xC4\x99\xC5\x82\xC5\x84\xC3\xB3\xC5\x9B\xC5\xBA\xC5\xBC "
      "\xC4\x84\xC4\x86\xC4\x98\xC5\x81\xC5\x83\xC3\x93\xC5\x9A\xC5\xB9\xC5\xBB "
      "\xC4\x8D\xC4\x8F\xC4\x9B\xC5\x88\xC5\x99\xC5\xA1\xC5\xA5\xC5\xAF\xC5\xBE",
      {MakeTopic("a", "a", {Block(kParagraph, {{"a", ""}})})}};
  EXPECT_EQ(Read(WriteWinHelp(document)).system.at(1),
            "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF "
            "\xE8\xEF\xEC\xF2\xF8\x9A\x9D\xF9\x9E" +
                std::string(1, '\0'));
}

TEST(WinHelpFile, ContextHashOfKnownIds) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"a", 17}, {"A", 17}, {"1", 1}, {"0", 10}, {".", 12}, {"_", 13}, {"a1", 17 * 43 + 1}, {"Ab_9", 1385469},
  };
  for (const auto& [id, hash] : cases) EXPECT_EQ(WinHelpContextHash(id), hash) << id;
}

}  // namespace
