#pragma once

#include <string>
#include <string_view>

// Converts like atoi: leading white space, an optional sign, then decimal digits up to the first other
// character; no digits gives 0. A value beyond the range of int gives INT_MAX or INT_MIN instead of the
// undefined result of atoi, so a huge category number on the disc fails the range check rather than wrapping
// into a valid one.
int AtoiSaturating(std::string_view text);

// Fills a message format as the printf family would for its %d and %s conversions: %d takes line, %s takes
// path. The path is inserted as text, so a '%' in a disc path is never
// taken for a conversion. Any other '%' is copied unchanged.
std::string FillMessage(std::string_view format, long long line, std::string_view path);
