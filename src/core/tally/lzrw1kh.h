#pragma once
// LZRW1-KH compression and the "WRZL" container of the tally file.
//
// Container (integers little-endian):
//   offset 0  4 bytes  identifier 57 52 5A 4C ("WRZL")
//   offset 4  4 bytes  length of the uncompressed data
//   offset 8  blocks:  2-byte byte count n, then n bytes of one compressed chunk
// The data is cut into chunks of 32768 bytes; reading stops after the first block that decodes to
// fewer than 32768 bytes, so when the length is a multiple of 32768 (0 included) a final empty
// chunk follows, written as the one-byte block 80 (count 01 00).
//
// Chunk (its dictionary starts empty, so a copy never reaches into an earlier chunk):
//   byte 0: 80 = stored, the chunk's bytes follow unchanged; 40 = compressed, then groups of
//   a 2-byte control word (high byte first) and up to 16 items. Bit 15 of the control word
//   describes the group's first item, bit 14 the second, ...; a short last group has its word
//   shifted so that its first item still sits at bit 15 and the unused low bits are 0.
//   control bit 0: literal, one byte.
//   control bit 1, two bytes b0 b1: copy; offset = b0*16 + (b1>>4) bytes back in this chunk's
//     output (1..4095), length = (b1 & 15) + 3 (3..18). Source and destination may overlap.
//   control bit 1, b0 = 0 and b1 < 16 (offset 0): run of four bytes 00 h l v, meaning
//     h*256 + l + 16 copies of the byte v (the compressor writes 16..4095).
//
// Compressor, per position x of the chunk:
//   1. Count the bytes equal to chunk[x] from x on (at most 4095, not past the end). 16 or more:
//      a run of that many; the hash table is not touched.
//   2. Otherwise hash chunk[x..x+2] as ((((b0*16) ^ b1) * 16) ^ b2) * 40543 >> 4 & 0xFFF. If the
//      table holds a position p for that hash with x - p < 4096, count the bytes that match
//      between p and x (at most 18, not past the chunk's end); 3 or more give a copy of that
//      length. Anything else gives a literal. Either way the table entry becomes x. Positions
//      inside a copy or a run are never entered in the table.
//   3. A new control word is reserved only when a 17th item of a group is about to be written.
//   The chunk is stored instead (80 + its bytes) as soon as the output, flag byte included,
//   grows past the chunk's length; a compressed output exactly as long as the chunk is kept.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plimb {

inline constexpr std::size_t kLzrwChunkSize = 32768;

// One chunk of at most kLzrwChunkSize bytes, flag byte included.
std::string lzrwCompressChunk(std::string_view chunk);

// Appends the decoded chunk to `out`. Returns false for a malformed block: an empty block, an
// unknown flag byte, an item cut off by the end of the block, a copy reaching before the start of
// the chunk, or more than kLzrwChunkSize bytes of output.
bool lzrwDecompressChunk(std::string_view block, std::string& out);

// The whole container for `data` (at most 4 GiB - 1 bytes).
std::string lzrwCompress(std::string_view data);

struct LzrwResult {
    bool ok = false;
    std::string data;  // the decoded bytes when ok
    std::string error; // the readable error when not ok
};

// Reads a container. `fileName` only goes into the header error text, which is also the answer to
// the LZH identifier 21 48 5A 4C: this program never writes that method and does not read it. Output never
// grows past the length the header announces nor past `maxLength`, so a forged header cannot make this
// allocate more than the input can honestly describe.
LzrwResult lzrwDecompress(std::string_view file, std::string_view fileName,
                          std::size_t maxLength = 64u * 1024 * 1024);

std::string lzrwHeaderError(std::string_view fileName);
extern const char* const kLzrwSizeError;

} // namespace plimb
