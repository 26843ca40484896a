#pragma once

#include <string>

namespace vornik {

// "Vornik " and the release number, as the report's banner and the about box show it.
std::string VersionText();

}  // namespace vornik
