#pragma once
// TDictn: is a text an English word? The word list is a sequence of 15-byte records: byte 0 is
// 0x1E, bytes 1..14 the word in upper-case A..Z padded with blanks, records sorted by the byte
// value of bytes 1..14 (a word sorts before every longer word it begins). A word longer than 14
// letters is stored as its first 14 letters. No record holds a lower-case letter or an inner
// blank, so a board with a gap can never be a word.
//
// A lookup is a binary search that reads one record per probe, whether the records sit in
// memory or in a file; the file is never read whole, opened read-only and never changed or
// deleted.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace plimb {

class TDictn {
public:
    static constexpr std::size_t kRecordSize = 15;
    static constexpr std::size_t kKeyLength = 15;

    // A dictionary that is not open: every lookup answers false.
    TDictn() = default;

    // Searches `records` in place; the bytes must outlive the dictionary. Only the bytes before
    // the first NUL count, and a trailing partial record is not searched. No records at all
    // gives a dictionary that is not open.
    explicit TDictn(std::span<const char> records);

    // Opens the record file at `path` read-only. When it cannot be opened the dictionary is not
    // open. The file is only read, a record at a time, one seek per probe.
    static TDictn fromFile(const std::string& path);

    // The program's dictionary: the word file at `path` (the file `English` in the current
    // folder) when it is a usable word file, used unchanged; otherwise the built-in records,
    // searched in memory. Usable means a regular file that can be read and holds at least one
    // whole record, its whole records in sorted order (a trailing partial record is ignored, as
    // by the search). Anything else named like that (empty, truncated, unsorted, unreadable, a
    // folder) would silently reject every word, so it is passed over and wordFileIgnored() says
    // so, for the caller to tell the user once.
    static TDictn load(const std::string& path, std::span<const char> builtin);
    // Reads the whole file once: true when it is a usable word file as above.
    static bool isUsableWordFile(const std::string& path);

    TDictn(TDictn&&) noexcept = default;
    TDictn& operator=(TDictn&&) noexcept = default;

    bool isOpen() const { return open_; }
    // load() found a file at its path and passed over it.
    bool wordFileIgnored() const { return wordFileIgnored_; }
    int recordCount() const { return lastIndex_ + 1; }

    // True when `text`, with NULs read as blanks, leading and trailing blanks removed and a..z
    // upper-cased, is one of the records. Empty or blank text, a text of 15 or more letters, a
    // text with an inner blank, or a failed record read all answer false.
    bool isword(std::string_view text) const;

private:
    struct FileCloser {
        void operator()(std::FILE* f) const {
            if (f) std::fclose(f);
        }
    };

    // Reads record `index` into `record`; false unless one whole record arrived.
    bool readRecord(std::int32_t index, char* record) const;

    std::span<const char> memory_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::int32_t lastIndex_ = -1;
    bool open_ = false;
    bool wordFileIgnored_ = false;
};

} // namespace plimb
