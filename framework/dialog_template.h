#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The geometry of a dialog template resource, read from its bytes as the resource compiler writes them: the
// extended form (DLGTEMPLATEEX, from DIALOGEX) or the older one (DLGTEMPLATE, from DIALOG). Positions and
// sizes are dialog units. Kept free of the platform's headers, so that the reading can be checked anywhere.
struct DialogTemplateItem {
  std::uint32_t id = 0;  // as stored: a 16-bit id in the older form
  std::uint32_t style = 0;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
};

struct DialogTemplate {
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  std::vector<DialogTemplateItem> items;  // in template order, which is the order the controls are created in
};

// Nothing when the bytes do not hold a whole template.
std::optional<DialogTemplate> ParseDialogTemplate(const void* data, std::size_t size);
