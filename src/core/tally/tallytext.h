#pragma once
// The tally as text and as the compressed tally file.
//
// Tally text: lines ended by CR LF: the column count, the row count, then every cell column by
// column (all rows of column 0 from row 0 down, then column 1, ...), one unchanged cell per line.
// A grid of R rows takes 2 + 10 * R lines. The tally file is that text in the LZRW1-KH container.
#include <optional>
#include <string>
#include <string_view>

#include "core/tally/tallygrid.h"

namespace plimb {

// A tally text or file beyond these sizes is not one this program wrote; the bounds keep a damaged
// or forged file from making the program allocate without limit.
inline constexpr std::size_t kMaxTallyTextLength = 16u * 1024 * 1024;
inline constexpr int kMaxTallyRows = 100000;

std::string tallyText(const TallyGrid& grid);

// Reads a tally text into `grid`. The counts skip leading blanks and ignore the rest of their line;
// each cell is one whole line (ended by CR LF or LF; a last line without its end counts too).
// Columns beyond the grid's ten are read and dropped, missing ones stay empty; a row count of 0
// gives the one row a grid always has. A count that is not a number, is negative, or asks for
// more cells than the text has lines left (or more than kMaxTallyRows rows) is an error: the
// readable error is returned and `grid` is left as it was.
std::optional<std::string> readTallyText(std::string_view text, TallyGrid& grid);

std::string tallyFileBytes(const TallyGrid& grid);

struct TallyFileRead {
    TallyGrid grid;                   // an empty tally when there is an error
    std::optional<std::string> error; // the decompressor's or the text reader's error
};
TallyFileRead readTallyFile(std::string_view bytes, std::string_view fileName);

} // namespace plimb
