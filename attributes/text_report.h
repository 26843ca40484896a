// SPDX-License-Identifier: GPL-3.0-or-later
// The plain-text summary of one file that "Copy Info" puts on the clipboard.
#pragma once

#include <string>
#include <string_view>

#include "attribute_texts.h"
#include "mp3_info.h"

namespace vornik {

// The maker's address in the report's closing banner, "--[ version ]--[ address ]--".
inline constexpr std::string_view kVornikWebAddress = "https://vornik.example.org";

// The report of the file described by `texts` (slot 1 holds its path or name) and `record`,
// closed by a banner with `versionText` (e.g. "Vornik 0.1.0"); CR LF line ends. Cannot fail.
std::string BuildReport(const AttributeTexts& texts, const Mp3Info& record,
                        std::string_view versionText);

}  // namespace vornik
