#pragma once

#include <QtGlobal>

// What one stream and one table row may hold at most (docs/file-format.md
// states both). A file that claims more is refused before anything is
// allocated for it; the program never writes more.
namespace vdrLimits {

// The uncompressed bytes of one stream: a table's text, a picture's file.
inline constexpr qint64 kMaxStreamBytes = 64 * 1024 * 1024;
// One row of a table without its line break, in characters (bytes, once in
// code page 1252); an imported text is never longer than a row.
inline constexpr qint64 kMaxRowLength = 1024 * 1024;

} // namespace vdrLimits
