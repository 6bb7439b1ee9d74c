#pragma once

#include <cstddef>

// The longest path the program accepts or produces, in characters: a path and its terminator fill the
// 1024-byte buffers the platform's directory services write into. Path resolution and launching refuse longer
// paths rather than truncate them, the copy command refuses a longer destination, and the disc checker warns
// about paths the program would leave alone.
//
// A header of its own, without <windows.h>, so that the portable disc checker states the same limit.
constexpr std::size_t kMaxPathLength = 1023;
