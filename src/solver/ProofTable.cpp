#include "solver/ProofTable.h"

#include <new>

#include <sys/mman.h>

namespace karvena {

TSolverTable::TTable::TTable(size_t bytes) {
    size_t buckets = 1;
    while (buckets * 2 * sizeof(TBucket) <= std::max(bytes, sizeof(TBucket))) buckets *= 2;
    m_Mapped = buckets * sizeof(TBucket) + kLargePage;
    void* mapped = mmap(nullptr, m_Mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    m_Base = mapped;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(mapped) + kLargePage - 1) & ~(kLargePage - 1);
#ifdef MADV_HUGEPAGE
    madvise(reinterpret_cast<void*>(start), buckets * sizeof(TBucket), MADV_HUGEPAGE);
#endif
    m_Buckets = reinterpret_cast<TBucket*>(start);
    m_Mask = buckets - 1;
}

TSolverTable::TTable::~TTable() { munmap(m_Base, m_Mapped); }

TSolverTable::TSolverTable(size_t bytes) : m_Table(std::make_unique<TTable>(bytes)) {}
TSolverTable::~TSolverTable() = default;

} // namespace karvena
