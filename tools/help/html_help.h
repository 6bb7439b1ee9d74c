#pragma once

#include <map>
#include <string>

#include "tools/help/help_document.h"

// The document as an HTML help project, which Free Pascal's CHM compiler (chmcmd) turns into the .chm file
// `chmName`: a page a topic, named by its id, the contents topic first; the contents file; the project. All
// of it in code page 1250, the code page of the help's language, which the project declares: the viewer reads
// the contents and the title in that code page.
// Returns file name to contents.
std::map<std::string, std::string> HtmlHelpProject(const HelpDocument& document, const std::string& chmName);

// The project's file among them.
constexpr const char* kHtmlHelpProjectFile = "help.hhp";
