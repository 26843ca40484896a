// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_type_filter.h"

#include <algorithm>

namespace vornik {

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::vector<std::string> SplitFileTypes(std::string_view fileTypes) {
    std::vector<std::string> pieces;
    while (!fileTypes.empty()) {
        const std::size_t end = fileTypes.find(';');
        const std::string_view piece = fileTypes.substr(0, end);
        if (!piece.empty()) {
            pieces.emplace_back(piece);
        }
        if (end == std::string_view::npos) {
            break;
        }
        fileTypes.remove_prefix(end + 1);
    }
    return pieces;
}

std::string JoinFileTypes(const std::vector<std::string>& extensions) {
    std::string fileTypes;
    for (const std::string& extension : extensions) {
        fileTypes += extension + ";";
    }
    return fileTypes;
}

FileTypeFilter::FileTypeFilter(std::string_view fileTypes) {
    for (const std::string& piece : SplitFileTypes(fileTypes)) {
        extensions_.push_back(AsciiLower(piece));
    }
}

bool FileTypeFilter::Wants(std::string_view name) const {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string extension = AsciiLower(name.substr(dot));
    return std::find(extensions_.begin(), extensions_.end(), extension) != extensions_.end();
}

}  // namespace vornik
