#include "catalog/text_parsing.h"

#include <climits>

int AtoiSaturating(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate towards the sign's side so INT_MIN itself is representable.
  int value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    if (negative) {
      if (value < (INT_MIN + digit) / 10) return INT_MIN;
      value = value * 10 - digit;
    } else {
      if (value > (INT_MAX - digit) / 10) return INT_MAX;
      value = value * 10 + digit;
    }
  }
  return value;
}

std::string FillMessage(std::string_view format, long long line, std::string_view path) {
  std::string text;
  text.reserve(format.size() + path.size() + 24);
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 'd') {
        text += std::to_string(line);
        ++i;
        continue;
      }
      if (format[i + 1] == 's') {
        text += path;
        ++i;
        continue;
      }
    }
    text += format[i];
  }
  return text;
}
