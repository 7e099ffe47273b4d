#pragma once
// Plain text broken into lines by hand at a fixed width, as licence files are, read back as the
// paragraphs and lines its writer meant, so a window of any width can wrap it again.
//
// Empty lines separate paragraphs. A line carries on the one before it when that one was cut
// near the text's widest line (within a quarter of it) and this one starts no list item of its
// own ("1.", "2)", "(", "*", "-") and sits in the same quotation ("> " marks); short lines such
// as addresses and headers stay lines of their own. A line keeps its leading blanks and quote
// marks; a line joined to the one before loses them and is put after it with one blank (none
// after a hyphen that ends a word's first part).
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

using TextParagraph = std::vector<std::string>;

std::vector<TextParagraph> reflowHardWrapped(std::string_view text);

} // namespace plimb
