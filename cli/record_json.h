// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis record and frame series as JSON, field by field under their own names.
#pragma once

#include <nlohmann/json.hpp>

#include "mp3_info.h"

namespace vornik {

nlohmann::ordered_json RecordToJson(const Mp3Info& record);
nlohmann::ordered_json SeriesToJson(const FrameSeries& series);

}  // namespace vornik
