// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file held in memory: named sections of key/value lines.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace vornik {

// On disk, each section is a block: its name on a line of its own, one line per entry (key,
// one TAB, value), then an empty line. No brackets, comments, quoting or escapes; only the
// first TAB of a line separates, so values may hold TABs. Names, keys and values are kept
// byte for byte, and every lookup takes the first exact, case-sensitive match, so duplicates
// from a hand-edited file are kept but never seen.
class CIniFile {
  public:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;  // (key, value), file order

        friend bool operator==(const Section&, const Section&) = default;
    };

    // The reader gives up on longer lines (see Read); the writer never writes one.
    static constexpr std::size_t kMaxLineLength = 1023;

    CIniFile() = default;
    virtual ~CIniFile() = default;
    CIniFile(const CIniFile&) = default;
    CIniFile& operator=(const CIniFile&) = default;
    CIniFile(CIniFile&&) = default;
    CIniFile& operator=(CIniFile&&) = default;

    void SetFileName(std::string path) { fileName_ = std::move(path); }
    const std::string& FileName() const { return fileName_; }

    // Appends the sections of the named file to those held. Reading stops at the first empty
    // line outside a section (so at two empty lines in a row) and at the end of the file; a
    // section still open there is dropped, and so is a last line without a line end. A line
    // without a TAB inside a section becomes the entry ("corrupt", ""). A line longer than
    // kMaxLineLength bytes is cut to that length and ends the reading after it, keeping the
    // open section. LF and CR LF line ends are both accepted.
    // False, with nothing appended, when the file cannot be opened or a read fails.
    bool Read();

    // Replaces the named file with the sections held, with CR LF line ends. The bytes go to a
    // new file in the same folder that is then renamed over the old one, so the old file
    // stays whole unless the new one is complete. A symbolic link is written through, not
    // replaced. Entries the reader could not give back as they are (a line break in a key or
    // value, a TAB in a key, a line over kMaxLineLength bytes) are left out; so is a section
    // whose name is empty, holds a line break or is too long.
    // A file the user made read-only (see ReadOnlyFile) is left as it is. New files that
    // earlier writes of a killed process left beside the file are removed first (see
    // RemoveStaleTemporaries).
    // False, with the old file untouched and no temporary file left, when anything fails.
    bool Write() const;
    // The same, with the reason of a failure in `error`.
    bool Write(std::error_code& error) const;

    // With `index` other than -1, its decimal text is appended to `key` (("colid2_", 3) names
    // "colid2_3"); so in the three below.
    // The first matching value, else `defaultValue`; an empty value is a value.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, int index = -1) const;

    // The first matching value read as C's atoi reads it (leading blanks, an optional sign,
    // decimal digits up to the first other character; 0 without digits), saturating at the
    // limits of int; else `defaultValue`.
    int GetInt(std::string_view section, std::string_view key, int defaultValue,
               int index = -1) const;

    // Overwrites the first matching entry where it stands, or appends the entry to the
    // section, or appends a new section holding it.
    void SetString(std::string_view section, std::string_view key, std::string_view value,
                   int index = -1);
    void SetInt(std::string_view section, std::string_view key, int value, int index = -1);

    // Copies the first matching value into `value`; false (and `value` untouched) when there
    // is none.
    bool Lookup(std::string_view section, std::string_view key, std::string& value) const;

    const std::vector<Section>& Sections() const { return sections_; }

  private:
    std::string fileName_;
    std::vector<Section> sections_;
};

// Writes the section as one block with CR LF line ends, leaving out what Write leaves out.
std::ostream& operator<<(std::ostream& out, const CIniFile::Section& section);

}  // namespace vornik
