// The tally file reader on arbitrary bytes. Checks, besides crashes and sanitizer reports:
//  - a file that decodes is re-encoded by the compressor to the very same bytes when it was made
//    by the compressor, and always decodes again to the same text;
//  - a grid read from any file writes a file that reads back to the same grid.
#include <string>

#include "fuzzinput.h"
#include "core/tally/lzrw1kh.h"
#include "core/tally/tallytext.h"

using namespace plimb;
using plimb::fuzz::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const LzrwResult decoded = lzrwDecompress(bytes, "fuzz.tld", 1u << 20);
    if (decoded.ok) {
        const std::string again = lzrwCompress(decoded.data);
        const LzrwResult round = lzrwDecompress(again, "fuzz.tld", 1u << 20);
        if (!round.ok || round.data != decoded.data)
            fail("a decoded file does not survive a round trip", again);
        const std::string third = lzrwCompress(round.data);
        if (third != again) fail("the compressor is not deterministic", third);
    }
    // Plain text compressed by us must always come back.
    const std::string packed = lzrwCompress(bytes);
    const LzrwResult unpacked = lzrwDecompress(packed, "fuzz.tld", 1u << 20);
    if (!unpacked.ok || unpacked.data != bytes)
        fail("compressed text does not read back", std::string(bytes));

    const TallyFileRead read = readTallyFile(bytes, "fuzz.tld");
    if (!read.error) {
        const TallyFileRead again = readTallyFile(tallyFileBytes(read.grid), "fuzz.tld");
        if (again.error || tallyText(again.grid) != tallyText(read.grid))
            fail("a tally read from a file does not write back the same", tallyText(read.grid));
    }
    return 0;
}
