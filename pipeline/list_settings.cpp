// SPDX-License-Identifier: GPL-3.0-or-later
#include "list_settings.h"

#include <algorithm>

namespace vornik {
namespace {

constexpr const char* kList = kListSettingsSection;
constexpr const char* kExport = kExportSection;

bool GetBool(const CIniFile& ini, const char* section, const char* key, bool defaultValue) {
    return ini.GetInt(section, key, defaultValue ? 1 : 0) != 0;
}

std::uint32_t GetColour(const CIniFile& ini, const char* key, std::uint32_t defaultValue) {
    return static_cast<std::uint32_t>(ini.GetInt(kList, key, static_cast<int>(defaultValue)));
}

void LoadColumns(const CIniFile& ini, ColumnTable& columns) {
    const int count = std::min(ini.GetInt(kList, "num_columns22_", 0), kMaxStoredEntries);
    if (count <= 0) {
        columns.ShowDefaultColumns();
        return;
    }
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) {
        const int id = ini.GetInt(kList, "colid2_", i, i);
        if (columns.Find(id) == nullptr) {
            continue;
        }
        ids.push_back(id);
        const int width = ini.GetInt(kList, "colwidth2_", 100, i);
        if (width > 0) {
            columns.SetWidth(id, width);
        }
    }
    columns.SetShownIds(ids);
}

void LoadExport(const CIniFile& ini, ExportSettings& settings) {
    settings.recurse = GetBool(ini, kExport, "recurse", true);
    const int count = std::min(ini.GetInt(kExport, "selnum", 0), kMaxStoredEntries);
    settings.selected.clear();
    for (int i = 0; i < count; ++i) {
        settings.selected.emplace_back(ini.GetString(kExport, "selected_gp", "", i),
                                       ini.GetString(kExport, "selected_nm", "", i));
    }
    settings.templateText = ini.GetString(kExport, "template", "");
}

}  // namespace

void LoadListSettings(const CIniFile& ini, ListSettings& settings, ColumnTable& columns) {
    const ListSettings defaults;
    settings.frameres = ini.GetInt(kList, "frameres", defaults.frameres);
    settings.readAllUnknown = GetBool(ini, kList, "readallunknown", defaults.readAllUnknown);
    settings.readAllInitial = GetBool(ini, kList, "readallinitial", defaults.readAllInitial);
    settings.sortColumnId = ini.GetInt(kList, "sortcolid", defaults.sortColumnId);
    settings.sortReverse = GetBool(ini, kList, "sort_reverse", defaults.sortReverse);
    settings.monoQuality = GetBool(ini, kList, "monoquality", defaults.monoQuality);
    settings.xml = GetBool(ini, kList, "xml", defaults.xml);
    settings.colorGood = GetColour(ini, "color_good", defaults.colorGood);
    settings.colorNotBad = GetColour(ini, "color_notbad", defaults.colorNotBad);
    settings.colorBad = GetColour(ini, "color_bad", defaults.colorBad);
    LoadExport(ini, settings.exportSettings);
    LoadColumns(ini, columns);
    settings.autosize = GetBool(ini, kList, "autosize", defaults.autosize);
    settings.tooltips = GetBool(ini, kList, "tooltips", defaults.tooltips);
    settings.fileTypes = ini.GetString(kList, "filetypes", defaults.fileTypes);
}

void SaveListSettings(CIniFile& ini, const ListSettings& settings, const ColumnTable& columns) {
    ini.SetInt(kList, "frameres", settings.frameres);
    ini.SetInt(kList, "readallunknown", settings.readAllUnknown ? 1 : 0);
    ini.SetInt(kList, "readallinitial", settings.readAllInitial ? 1 : 0);
    ini.SetInt(kList, "sortcolid", settings.sortColumnId);
    ini.SetInt(kList, "sort_reverse", settings.sortReverse ? 1 : 0);
    ini.SetInt(kList, "monoquality", settings.monoQuality ? 1 : 0);
    ini.SetInt(kList, "xml", settings.xml ? 1 : 0);
    ini.SetInt(kList, "color_good", static_cast<int>(settings.colorGood));
    ini.SetInt(kList, "color_notbad", static_cast<int>(settings.colorNotBad));
    ini.SetInt(kList, "color_bad", static_cast<int>(settings.colorBad));

    const ExportSettings& exported = settings.exportSettings;
    ini.SetInt(kExport, "recurse", exported.recurse ? 1 : 0);
    ini.SetInt(kExport, "selnum", static_cast<int>(exported.selected.size()));
    for (std::size_t i = 0; i < exported.selected.size(); ++i) {
        ini.SetString(kExport, "selected_gp", exported.selected[i].first, static_cast<int>(i));
        ini.SetString(kExport, "selected_nm", exported.selected[i].second, static_cast<int>(i));
    }
    ini.SetString(kExport, "template", exported.templateText);

    ini.SetInt(kList, "num_columns22_", columns.ShownCount());
    ini.SetInt(kList, "autosize", settings.autosize ? 1 : 0);
    ini.SetInt(kList, "tooltips", settings.tooltips ? 1 : 0);
    for (int i = 0; i < columns.ShownCount(); ++i) {
        ini.SetInt(kList, "colid2_", columns.ShownIds()[static_cast<std::size_t>(i)], i);
        ini.SetInt(kList, "colwidth2_", columns.Shown(i).width, i);
    }
    ini.SetString(kList, "filetypes", settings.fileTypes);
}

std::optional<std::uint32_t> QualityBackground(const ListSettings& settings, int qualityFigure) {
    switch (qualityFigure) {
        case 0:
            return settings.colorBad;
        case 1:
            return settings.colorNotBad;
        case 2:
            return settings.colorGood;
        default:
            return std::nullopt;
    }
}

}  // namespace vornik
