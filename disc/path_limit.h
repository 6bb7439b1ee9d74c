#pragma once

#include <cstddef>

// The longest path the program accepts or produces, in characters: a path and its terminator fill the
// 1024-byte buffers the platform's directory services write into. Path resolution and launching refuse longer
// paths rather than truncate them, the copy command refuses a longer destination, and the disc checker warns
// about paths the program would leave alone.
constexpr std::size_t kMaxPathLength = 1023;

// The browser makes the disc's paths absolute against the disc root, the root of its drive: "D:\" and a
// relative path together are this much longer than the path as the disc writes it.
constexpr std::size_t kDriveRootLength = 3;
