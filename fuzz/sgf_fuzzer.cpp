// libFuzzer target: the SGF reader and the importer must return or report, never crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "collection/SgfImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const karvena::TSgfRead read = karvena::ReadSgf(text, "fuzz.sgf");
    if (read.File) karvena::ImportSgf(*read.File, "fuzz.sgf");
    return 0;
}
