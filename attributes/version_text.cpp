// SPDX-License-Identifier: GPL-3.0-or-later
#include "version_text.h"

namespace vornik {

std::string VersionTextFor(int major, int minor, int patch) {
    std::string text = "Vornik " + std::to_string(major) + "." + std::to_string(minor);
    if (patch != 0) {
        text += std::to_string(patch);
    }
    return text;
}

std::string BetaTextFor(int beta) {
    return beta != 0 ? "beta " + std::to_string(beta) : std::string();
}

std::string VersionText() {
    return VersionTextFor(VORNIK_VERSION_MAJOR, VORNIK_VERSION_MINOR, VORNIK_VERSION_PATCH);
}

std::string BetaText() {
    return BetaTextFor(VORNIK_BETA);
}

}  // namespace vornik
