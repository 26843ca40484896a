// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini_file.h"

#include "replace_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>
#include <ostream>
#include <sstream>

namespace vornik {

namespace {

// Files this program writes keep the line ends of the platform the format comes from.
constexpr std::string_view kLineEnd = "\r\n";

// How a line read came to its end.
enum class LineEnd {
    Newline,    // LF or CR LF, not part of the line
    EndOfFile,  // before any line end: what was read is no line
    TooLong,    // the line holds kMaxLineLength bytes and went on
    Failed,     // after TooLong: nothing more is read, and each line is empty
};

class LineReader {
  public:
    explicit LineReader(std::FILE* file) : file_(file) {}

    LineEnd Next(std::string& line) {
        line.clear();
        if (failed_) {
            return LineEnd::Failed;
        }
        for (;;) {
            const int c = std::getc(file_);
            if (c == EOF) {
                return LineEnd::EndOfFile;
            }
            if (c == '\n') {
                return LineEnd::Newline;
            }
            if (c == '\r') {
                const int next = std::getc(file_);
                if (next == '\n') {
                    return LineEnd::Newline;
                }
                if (next != EOF) {
                    std::ungetc(next, file_);
                }
            }
            if (line.size() == CIniFile::kMaxLineLength) {
                failed_ = true;
                return LineEnd::TooLong;
            }
            line.push_back(static_cast<char>(c));
        }
    }

  private:
    std::FILE* file_;
    bool failed_ = false;
};

std::vector<CIniFile::Section> ParseSections(LineReader& reader) {
    std::vector<CIniFile::Section> sections;
    std::string line;
    for (;;) {
        if (reader.Next(line) == LineEnd::EndOfFile || line.empty()) {
            return sections;
        }
        CIniFile::Section section{line, {}};
        for (;;) {
            if (reader.Next(line) == LineEnd::EndOfFile) {
                return sections;  // a section without its closing empty line is not taken
            }
            if (line.empty()) {
                sections.push_back(std::move(section));
                break;
            }
            const std::size_t tab = line.find('\t');
            if (tab == std::string::npos) {
                section.entries.emplace_back("corrupt", "");
            } else {
                section.entries.emplace_back(line.substr(0, tab), line.substr(tab + 1));
            }
        }
    }
}

std::string FullKey(std::string_view key, int index) {
    std::string full(key);
    if (index != -1) {
        full += std::to_string(index);
    }
    return full;
}

bool IsCBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int ParseInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // atoi leaves overflow undefined; stopping at one past INT_MAX lets INT_MIN through.
    constexpr long long kCap = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), kCap);
    }
    if (negative) {
        return static_cast<int>(-magnitude);
    }
    return static_cast<int>(std::min<long long>(magnitude, INT_MAX));
}

// Whether Read gives the line back as it is.
bool LineReadsBack(std::size_t length) {
    return length <= CIniFile::kMaxLineLength;
}

bool NameReadsBack(const std::string& name) {
    return !name.empty() && name.find('\n') == std::string::npos && LineReadsBack(name.size());
}

bool EntryReadsBack(const std::string& key, const std::string& value) {
    return key.find_first_of("\t\n") == std::string::npos &&
           value.find('\n') == std::string::npos && LineReadsBack(key.size() + 1 + value.size());
}

}  // namespace

bool CIniFile::Read() {
    std::FILE* file = std::fopen(fileName_.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    LineReader reader(file);
    std::vector<Section> read = ParseSections(reader);
    const bool failed = std::ferror(file) != 0;  // also a folder opened as a file
    std::fclose(file);
    if (failed) {
        return false;
    }
    std::move(read.begin(), read.end(), std::back_inserter(sections_));
    return true;
}

bool CIniFile::Write() const {
    std::error_code ignored;
    return Write(ignored);
}

bool CIniFile::Write(std::error_code& error) const {
    if (fileName_.empty()) {
        error = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
    std::ostringstream text;
    for (const Section& section : sections_) {
        text << section;
    }
    const std::string bytes = std::move(text).str();

    RemoveStaleTemporaries(fileName_);
    return WriteFileReplacing(fileName_, bytes, error, ReadOnlyFile::kKeep);
}

std::string CIniFile::GetString(std::string_view section, std::string_view key,
                                std::string_view defaultValue, int index) const {
    std::string value;
    if (Lookup(section, FullKey(key, index), value)) {
        return value;
    }
    return std::string(defaultValue);
}

int CIniFile::GetInt(std::string_view section, std::string_view key, int defaultValue,
                     int index) const {
    std::string value;
    if (Lookup(section, FullKey(key, index), value)) {
        return ParseInt(value);
    }
    return defaultValue;
}

void CIniFile::SetString(std::string_view section, std::string_view key, std::string_view value,
                         int index) {
    const std::string fullKey = FullKey(key, index);
    auto found = std::find_if(sections_.begin(), sections_.end(),
                              [&](const Section& s) { return s.name == section; });
    if (found == sections_.end()) {
        sections_.push_back(Section{std::string(section), {}});
        found = std::prev(sections_.end());
    }
    auto& entries = found->entries;
    auto entry = std::find_if(entries.begin(), entries.end(),
                              [&](const auto& e) { return e.first == fullKey; });
    if (entry == entries.end()) {
        entries.emplace_back(fullKey, std::string(value));
    } else {
        entry->second = value;
    }
}

void CIniFile::SetInt(std::string_view section, std::string_view key, int value, int index) {
    SetString(section, key, std::to_string(value), index);
}

bool CIniFile::Lookup(std::string_view section, std::string_view key, std::string& value) const {
    const auto found = std::find_if(sections_.begin(), sections_.end(),
                                    [&](const Section& s) { return s.name == section; });
    if (found == sections_.end()) {
        return false;
    }
    const auto& entries = found->entries;
    const auto entry =
        std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == key; });
    if (entry == entries.end()) {
        return false;
    }
    value = entry->second;
    return true;
}

std::ostream& operator<<(std::ostream& out, const CIniFile::Section& section) {
    if (!NameReadsBack(section.name)) {
        return out;
    }
    out << section.name << kLineEnd;
    for (const auto& [key, value] : section.entries) {
        if (EntryReadsBack(key, value)) {
            out << key << '\t' << value << kLineEnd;
        }
    }
    return out << kLineEnd;
}

}  // namespace vornik
