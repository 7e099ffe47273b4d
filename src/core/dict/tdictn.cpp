#include "core/dict/tdictn.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace plimb {

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Key and record text are compared in one shape: padded with blanks to 15 characters and
// upper-cased. A longer key keeps its length, so it can never equal a record.
void padAndUpper(std::string& text) {
    if (text.size() < TDictn::kKeyLength) text.resize(TDictn::kKeyLength, ' ');
    std::transform(text.begin(), text.end(), text.begin(), upper);
}

std::string normaliseKey(std::string_view text) {
    std::string key(text);
    std::replace(key.begin(), key.end(), '\0', ' ');
    const auto first = key.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = key.find_last_not_of(' ');
    key = key.substr(first, last - first + 1);
    padAndUpper(key);
    return key;
}

std::string recordText(const char* record) {
    std::string text(record + 1, TDictn::kRecordSize - 1);
    const auto last = text.find_last_not_of(' ');
    text.resize(last == std::string::npos ? 0 : last + 1);
    padAndUpper(text);
    return text;
}

} // namespace

TDictn::TDictn(std::span<const char> records) {
    // memchr scans the megabytes of the built-in list many bytes at a time, at every start-up.
    const void* nul = records.empty() ? nullptr : std::memchr(records.data(), '\0', records.size());
    memory_ = nul ? records.first(static_cast<std::size_t>(static_cast<const char*>(nul) - records.data()))
                  : records;
    const auto count = memory_.size() / kRecordSize;
    if (count == 0 || count > static_cast<std::size_t>(INT32_MAX)) return;
    lastIndex_ = static_cast<std::int32_t>(count) - 1;
    open_ = true;
}

TDictn TDictn::fromFile(const std::string& path) {
    TDictn dict;
    std::error_code ec;
    // A folder or device of that name is no word file.
    if (!std::filesystem::is_regular_file(path, ec)) return dict;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return dict;
    // Unbuffered, so every probe reads its record from the file as it is now.
    if (std::setvbuf(file.get(), nullptr, _IONBF, 0) != 0) return dict;
    // The size is taken once at opening, like a typed file's record count.
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return dict;
    const auto count = size / kRecordSize;
    if (count > static_cast<std::uintmax_t>(INT32_MAX)) return dict;
    dict.file_ = std::move(file);
    dict.lastIndex_ = static_cast<std::int32_t>(count) - 1;
    dict.open_ = true;
    return dict;
}

TDictn TDictn::load(const std::string& path, std::span<const char> builtin) {
    std::error_code ec;
    const bool present = std::filesystem::exists(std::filesystem::symlink_status(path, ec));
    if (present && isUsableWordFile(path)) {
        TDictn dict = fromFile(path);
        if (dict.isOpen()) return dict;
    }
    TDictn dict(builtin);
    dict.wordFileIgnored_ = present;
    return dict;
}

bool TDictn::isUsableWordFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    std::string previous;
    char record[kRecordSize];
    bool any = false;
    while (std::fread(record, kRecordSize, 1, file.get()) == 1) {
        std::string text = recordText(record);
        if (any && text < previous) return false;
        previous = std::move(text);
        any = true;
    }
    return any && !std::ferror(file.get());
}

bool TDictn::readRecord(std::int32_t index, char* record) const {
    const auto offset = static_cast<std::size_t>(index) * kRecordSize;
    if (file_) {
        if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) return false;
        return std::fread(record, kRecordSize, 1, file_.get()) == 1;
    }
    if (offset + kRecordSize > memory_.size()) return false;
    std::memcpy(record, memory_.data() + offset, kRecordSize);
    return true;
}

bool TDictn::isword(std::string_view text) const {
    if (!open_) return false;
    const std::string key = normaliseKey(text);
    if (key.empty()) return false;
    std::int32_t lo = 0;
    std::int32_t hi = lastIndex_;
    char record[kRecordSize];
    while (hi >= lo) {
        const std::int32_t mid = lo + (hi - lo) / 2;
        if (!readRecord(mid, record)) return false;
        const std::string candidate = recordText(record);
        // std::string compares bytes as unsigned values, the order the records are sorted in.
        const int order = candidate.compare(key);
        if (order == 0) return true;
        if (order > 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return false;
}

} // namespace plimb
