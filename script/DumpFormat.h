#pragma once
// The fixed facts of the DC2 serialisation dump, the ".dcScript" format of
// missions: a 19-byte header, then object references written depth-first
// from the roots.
//
//   "DC2", int32 0, int32 kind 5, int32 revision, int32 root count, roots
//
// An object reference is an int32 index; at its first appearance the class
// id follows (0 for a null reference) and, for a class, the object's own
// settings. Texts are an int32 count and one byte per character (U+0000 to
// U+00FF); a text with a character beyond U+00FF is stored as the negated
// count and UTF-16LE code units instead.

#include <cstdint>

namespace dump_format {

inline constexpr char kMagic[3] = {'D', 'C', '2'};
inline constexpr int32_t kDumpKind = 5;
inline constexpr int32_t kHeaderBytes = 19;
// The revision the mission editor writes; every field of every class is
// present from it on.
inline constexpr int32_t kEditorRevision = 35;
// The smallest reference: an index met before.
inline constexpr int32_t kReferenceBytes = 4;
// Objects defined inside one another's settings, counted from a root. Deeper
// chains are refused: each level costs the reader and the writer stack.
inline constexpr int32_t kMaxNesting = 1000;

} // namespace dump_format
