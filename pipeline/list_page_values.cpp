// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_page_values.h"

#include <charconv>

#include "attribute_catalogue.h"

namespace vornik {

ListPageValues PageValuesFrom(const ListSettings& settings, const ColumnTable& columns) {
    ListPageValues values;
    values.frameres = settings.frameres;
    values.readAllUnknown = settings.readAllUnknown;
    values.readAllInitial = settings.readAllInitial;
    values.xml = settings.xml;
    values.colorGood = settings.colorGood;
    values.colorNotBad = settings.colorNotBad;
    values.colorBad = settings.colorBad;
    values.monoQuality = settings.monoQuality;
    values.autosize = settings.autosize;
    values.tooltips = settings.tooltips;
    for (const int id : columns.ShownIds()) {
        if (const AttributeInfo* info = FindAttribute(id)) {
            values.chosenColumns.emplace_back(info->group, info->name);
        }
    }
    values.fileTypes = settings.fileTypes;
    return values;
}

void TakePageValues(const ListPageValues& values, ListSettings& settings) {
    settings.frameres = values.frameres;
    settings.readAllUnknown = values.readAllUnknown;
    settings.readAllInitial = values.readAllInitial;
    settings.xml = values.xml;
    settings.colorGood = values.colorGood;
    settings.colorNotBad = values.colorNotBad;
    settings.colorBad = values.colorBad;
    settings.monoQuality = values.monoQuality;
    settings.autosize = values.autosize;
    settings.tooltips = values.tooltips;
    settings.fileTypes = values.fileTypes;
}

std::vector<int> ColumnIdsOf(const ExportTreeState::Selection& chosen) {
    std::vector<int> ids;
    for (const auto& [group, name] : chosen) {
        for (const auto& [id, info] : BuildAttributeCatalogue()) {
            if (info.group == group && info.name == name) {
                ids.push_back(id);
                break;
            }
        }
    }
    return ids;
}

FramesEditValue ReadFramesEdit(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    const std::string_view digits = text.substr(!text.empty() && text.front() == '-' ? 1 : 0);
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') {
        return {};
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return {};
    }
    return {true, value};
}

GeneralPageResult ApplyGeneralPage(const GeneralPageInput& input, ListPageValues& values) {
    const FramesEditValue frames = ReadFramesEdit(input.framesText);
    GeneralPageResult result;
    result.isNumber = frames.isNumber;
    result.needsRefill = frames.value != values.frameres;
    values.frameres = frames.value;
    if (frames.isNumber) {
        result.needsRefill = result.needsRefill || input.readAllUnknown != values.readAllUnknown ||
                             input.readAllInitial != values.readAllInitial;
        values.readAllUnknown = input.readAllUnknown;
        values.readAllInitial = input.readAllInitial;
        values.xml = input.xml;
    }
    return result;
}

std::optional<std::string> ExtensionToAdd(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    return text.front() == '.' ? std::string(text) : "." + std::string(text);
}

}  // namespace vornik
