#include "integrity_texts.h"

#include <string>

namespace vornik {

void FillIntegrityTexts(AttributeTexts& t, const Mp3Info& r) {
    t[kSlotCrcFrames] = std::to_string(r.crcFrames);
    t[kSlotCrcErrors] = r.crcFrames == 0 ? "--" : std::to_string(r.crcErrors);
}

}  // namespace vornik
