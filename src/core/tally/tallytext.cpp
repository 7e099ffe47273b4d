#include "core/tally/tallytext.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "core/tally/lzrw1kh.h"

namespace plimb {

namespace {

// Hands out the lines of a text one by one; a last line without its line end counts too.
class LineReader {
public:
    explicit LineReader(std::string_view text) : rest_(text) {}
    std::string_view next() {
        if (done_) return {};
        const std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        if (end == std::string_view::npos) {
            done_ = true;
        } else {
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            rest_.remove_prefix(end + 1);
        }
        return line;
    }
    long long linesLeft() const {
        return done_ ? 0 : static_cast<long long>(std::count(rest_.begin(), rest_.end(), '\n')) + 1;
    }

private:
    std::string_view rest_;
    bool done_ = false;
};

std::string notAnInteger(std::string_view line) {
    constexpr std::size_t kShown = 40;
    std::string shown(line.substr(0, kShown));
    if (line.size() > kShown) shown += "...";
    return "'" + shown + "' is not a valid integer value";
}

// A count: leading blanks skipped, then an optionally signed decimal number; the rest of the line
// is ignored.
std::optional<std::int32_t> readCount(std::string_view line) {
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string_view::npos) return std::nullopt;
    if (line[at] == '+') ++at;
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(line.data() + at, line.data() + line.size(), value);
    if (ec != std::errc()) return std::nullopt;
    return value;
}

} // namespace

std::string tallyText(const TallyGrid& grid) {
    std::string text =
        std::to_string(TallyGrid::kColumns) + "\r\n" + std::to_string(grid.rowCount()) + "\r\n";
    for (int c = 0; c < TallyGrid::kColumns; ++c)
        for (int r = 0; r < grid.rowCount(); ++r)
            text += grid.cell(c, r) + "\r\n";
    return text;
}

std::optional<std::string> readTallyText(std::string_view text, TallyGrid& grid) {
    LineReader lines(text);
    std::int32_t counts[2] = {};
    for (std::int32_t& count : counts) {
        const std::string_view line = lines.next();
        const std::optional<std::int32_t> value = readCount(line);
        if (!value) return notAnInteger(line);
        count = *value;
    }
    const long long columns = counts[0];
    const long long rows = counts[1];
    if (columns < 0 || rows < 0 || rows > kMaxTallyRows || columns * rows > lines.linesLeft())
        return "The tally text does not hold " + std::to_string(rows) + " rows of " +
               std::to_string(columns) + " columns";

    TallyGrid read;
    read.setRowCount(static_cast<int>(rows));
    for (int r = 0; r < read.rowCount(); ++r)
        for (int c = 0; c < TallyGrid::kColumns; ++c)
            read.setCell(c, r, "");
    for (long long c = 0; c < columns; ++c)
        for (long long r = 0; r < rows; ++r) {
            const std::string_view line = lines.next();
            if (c < TallyGrid::kColumns)
                read.setCell(static_cast<int>(c), static_cast<int>(r), std::string(line));
        }
    grid = std::move(read);
    return std::nullopt;
}

std::string tallyFileBytes(const TallyGrid& grid) {
    return lzrwCompress(tallyText(grid));
}

TallyFileRead readTallyFile(std::string_view bytes, std::string_view fileName) {
    TallyFileRead result;
    LzrwResult text = lzrwDecompress(bytes, fileName, kMaxTallyTextLength);
    if (!text.ok) {
        result.error = std::move(text.error);
        return result;
    }
    result.error = readTallyText(text.data, result.grid);
    return result;
}

} // namespace plimb
