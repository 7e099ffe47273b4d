#pragma once
// An editor for the profile (INI) file the program shares with other programs. It changes only
// the keys it is asked to write and keeps every other byte as it was: other sections, unknown
// keys, comments, blank lines, their order and the file's own line ends (CR LF or LF).
//
// Layout understood: "[Name]" opens a section; "key=value" lines belong to the section above
// them; lines starting with ";" or "#" are comments. Section and key names match without regard
// to letter case; names and values are read trimmed of blanks and tabs. When a section or key
// appears twice, the first one counts, for reading and writing alike.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plimb {

class IniFile {
public:
    explicit IniFile(std::string text = {});

    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Replaces the value of an existing key in place (the key's own spelling stays), or adds
    // "key=value" after the last entry of the section, or adds the section at the end of the text.
    // Line breaks in the value would start a new line of the file and are written as blanks.
    void set(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

private:
    struct Line {
        enum class Kind { Other, Header, Entry };
        std::string body; // without its line end
        std::string end;  // "\r\n", "\n" or "" for a last line without one
        // What the body is, worked out whenever the body changes rather than at every lookup
        // (a load looks up some twenty keys): a header with its section name, an entry with its
        // key, or any other line. The name is kept as a place in the body, trimmed.
        Kind kind = Kind::Other;
        std::size_t nameAt = 0;
        std::size_t nameSize = 0;
        std::string_view name() const { return std::string_view(body).substr(nameAt, nameSize); }
    };
    static void classify(Line& line);
    // Index of the section's header line, or nullopt.
    std::optional<std::size_t> findSection(std::string_view section) const;
    // Index past the section's last line (the next header or the end).
    std::size_t sectionEnd(std::size_t header) const;
    std::optional<std::size_t> findKey(std::size_t header, std::string_view key) const;
    void insertLine(std::size_t at, std::string body);

    std::vector<Line> lines_;
    std::string newline_ = "\r\n"; // what new lines end with: the file's own style
};

} // namespace plimb
