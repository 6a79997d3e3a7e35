#pragma once

// The RTF reader: turns RTF bytes into calls on a Sink (see sink.h).
//
// Reading never fails. Whatever the bytes (truncated, unbalanced, NUL bytes, absurd numbers),
// the reader delivers what makes sense of them, in time linear in the input and with memory
// bounded by the limits below plus a small multiple of the input.

#include "sink.h"

#include <cstddef>
#include <string_view>

namespace rtf {

// Groups nested deeper than this are still matched brace for brace, but share the state of
// the deepest one kept: their text shows, their formatting and destinations are dropped.
// Keeps the state stack (and the time to copy it) bounded.
inline constexpr std::size_t kMaxGroupDepth = 512;
// Further tab stops of a paragraph are ignored; 64 is more than any writer offers.
inline constexpr std::size_t kMaxTabStops = 64;
// Word's own limit. Further \cellx are ignored and further \cell end paragraphs of the last
// cell, so a table can never have more columns than this.
inline constexpr std::size_t kMaxCellsPerRow = 63;
// Fonts and colours beyond these are ignored; text in them uses the default font or colour.
inline constexpr std::size_t kMaxFonts = 4096;
inline constexpr std::size_t kMaxColors = 4096;
// Longer font names are cut; real ones have at most 31 characters.
inline constexpr std::size_t kMaxFontNameBytes = 255;
// Lengths (indents, spacing, tab stops, cell edges, borders) are clamped to +-22 inches, the
// largest page a word processor offers; sizes to 1..1638 points.
inline constexpr int kMaxTwips = 31680;
inline constexpr int kMaxFontSizeHalfPoints = 3276;

// True when the data starts as an RTF document does ("{\rtf").
bool LooksLikeRtf(std::string_view data);

// Reads the whole document into the sink, ending with documentEnd(). The bytes need to stay
// valid only for the call.
void Read(std::string_view data, Sink &sink);

} // namespace rtf
