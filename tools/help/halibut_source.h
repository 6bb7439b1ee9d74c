#pragma once

#include <string>

#include "tools/help/help_document.h"

// The document in halibut's markup, from which halibut writes the HTML help (.chm) file `chmName`: one page a
// topic, named by its id, the contents topic on the first page, links as links, text in UTF-8.
std::string HalibutSource(const HelpDocument& document, const std::string& chmName);
