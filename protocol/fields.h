// The fields every command and data line is built from: two-digit decimal
// numbers, hexadecimal pairs, source codes ("I05", "A12") and one-character
// flags. Readers return nothing for a field they do not take.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/table_shapes.h"

// How a line is read. The switcher takes only the exact layout: the length of
// the line, 'I' or 'A' as a source kind, one of the two flag characters. The
// program reads a data line as its decoders always have: the line may run on
// past its layout, any kind letter but 'I' is a pattern, any flag character
// but the zero one means 1.
enum class FieldRule { kStrict, kLenient };

// The line without its LF and the CR before it.
std::string_view LineBody(std::string_view line);

// Whether body has the length of a layout of size characters under rule.
bool FitsLayout(std::string_view body, std::size_t size, FieldRule rule);

// Two ASCII decimal digits, tens first: 0..99; nothing when either is not a digit.
std::optional<int> TwoDigitValue(char tens, char units);
// Two upper-case hexadecimal digits, high nibble first: 0..255; else nothing.
std::optional<int> HexByteValue(char high, char low);

// The decimal pair at offset at: 0..99; nothing for non-digits or past the end.
std::optional<int> PairAt(std::string_view body, std::size_t at);
// The decimal pair at offset at when it lies in lo..hi; else nothing.
std::optional<int> NumberField(std::string_view body, std::size_t at, int lo, int hi);
// The four hexadecimal digits at offset at as one 16-bit code; else nothing.
std::optional<int> HexCodeAt(std::string_view body, std::size_t at);

// Appends value (0..99; anything else is taken modulo 100) as two digits.
void AppendTwoDigits(std::string& line, int value);
std::string TwoDigits(int value);
// Appends code as four upper-case hexadecimal digits, most significant first.
void AppendHex4(std::string& line, unsigned code);

// A source code as shown and sent: "I01".."I64" for an input (code < nInputs),
// "A01".."A64" for an auto-sequence pattern (code - nInputs + 1).
std::string SourceCodeText(int nCode, int nInputs);
// The source code of the three-character field at offset at: an input 01..nInputs
// gives 0..nInputs - 1, a pattern 01..64 gives nInputs..nInputs + 63; else nothing.
std::optional<int> SourceField(std::string_view body, std::size_t at, int nInputs, FieldRule rule);
// The 32 source fields from offset at, one per output; nothing when any is refused.
std::optional<OutputRow> SourceFields(std::string_view body, std::size_t at, int nInputs,
                                      FieldRule rule);

// A flag character: chOff gives 0, chOn gives 1; any other gives nothing under
// the strict rule and 1 under the lenient one.
std::optional<int> FlagValue(char c, char chOff, char chOn, FieldRule rule);
