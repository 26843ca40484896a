#include "version_text.h"

namespace vornik {

std::string VersionText() {
    return std::string("Vornik ") + VORNIK_VERSION;
}

}  // namespace vornik
