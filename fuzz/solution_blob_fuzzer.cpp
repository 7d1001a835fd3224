// libFuzzer target: the Solution blob reader must return or raise its error, never crash, and
// whatever it read must write and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "collection/SolutionBlob.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    karvena::TSolutionTree tree;
    try {
        karvena::LoadSolution(tree, data, size);
    } catch (const karvena::TBlobError&) {
        return 0;
    }
    const std::vector<uint8_t> blob = karvena::SaveSolution(tree);
    karvena::TSolutionTree again;
    karvena::LoadSolution(again, blob);
    if (karvena::SaveSolution(again) != blob) std::abort();
    return 0;
}
