#pragma once

#include <cstdint>
#include <string>

#include "tools/help/help_document.h"

// Windows help (.hlp, the WinHelp 3.1 format) written from a help document, its text in code page 1250 and
// marked as Central European so that the viewer draws Polish and Czech letters right.
//
// The file holds the internal files the viewer needs to show topics and follow links: |SYSTEM (title,
// contents topic, character set), |FONT, |TOPIC, |CONTEXT (topic id hash -> topic) and |TTLBTREE (topic
// titles). Keywords and full-text search are not written.

// The bytes of a complete .hlp file. Links name topics by id; a link to an id no topic has leads nowhere.
std::string WriteWinHelp(const HelpDocument& document);

// The most characters one paragraph may take in Windows help (its length is a 15-bit number), and how many
// a block takes: its text and a character for each formatting command.
constexpr std::size_t kWinHelpMaxParagraph = 0x7FFF;
std::size_t WinHelpParagraphLength(const HelpBlock& block);

// The viewer's hash of a topic id (letters, digits, '_' and '.'; case does not matter), the key that links
// and |CONTEXT use. Two ids of one document with the same hash cannot both be reached.
std::int32_t WinHelpContextHash(const std::string& id);
