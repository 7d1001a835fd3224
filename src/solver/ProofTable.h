#pragma once
// The proof and disproof numbers of the solver's positions, and the table that keeps them.
// Internal to the solver: Solver.cpp searches with them.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "solver/Solver.h"

namespace karvena::proof {

// Proof and disproof numbers of the player's win: how many positions at least must still be
// settled to prove it (0: proven), or to disprove it (0: the player loses). kInfinity stands
// for "cannot be": the other number is then 0. Sums stop one short of it.
constexpr uint32_t kInfinity = 1u << 30;
constexpr uint32_t kLargest = kInfinity - 1;

inline uint32_t Sum(uint32_t a, uint32_t b) {
    if (a == kInfinity || b == kInfinity) return kInfinity;
    return std::min<uint32_t>(kLargest, a + b);
}

// What a proof or disproof leans on beyond the position itself: a repetition of the line
// (true on this line only), the depth bound (true of nothing: the answer is unknown), or a ko
// on the way (true of this search's ko rule only).
enum : uint8_t { kLeansOnRepetition = 1, kLeansOnHorizon = 2, kLeansOnKo = 4 };

struct TNumbers {
    uint32_t Pn = 1, Dn = 1;
    uint8_t Leans = 0;
    bool Won() const { return Pn == 0; }
    bool Lost() const { return Dn == 0; }
    bool Final() const { return Pn == 0 || Dn == 0; }
};
constexpr TNumbers kWon{0, kInfinity, 0};
constexpr TNumbers kLost{kInfinity, 0, 0};

} // namespace karvena::proof

namespace karvena {

// Proof numbers by position key, in buckets of three that fill one cache line: a new position
// takes the slot that holds the least work. Only answers that hold on every line are stored as
// final.
//
// The buckets are mapped from the system, which hands them out zeroed (empty) page by page as
// they are first touched, and in large pages where it can: a lookup is a jump to a random line
// of the table, and with small pages most of them would also miss the address cache.
class TSolverTable::TTable {
public:
    explicit TTable(size_t bytes);
    ~TTable();
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;
    // Asks the memory for a key's bucket ahead of its Find.
    void Prefetch(uint64_t key) const { __builtin_prefetch(&BucketOf(key)); }
    bool Find(uint64_t key, proof::TNumbers& numbers, uint32_t* work = nullptr) const {
        for (const TEntry& e : BucketOf(key).Entries)
            if (e.Key() == key && e.Work > 0) {
                numbers = {e.Pn, e.Dn, static_cast<uint8_t>(e.Leans)};
                if (work) *work = e.Work;
                return true;
            }
        return false;
    }
    void Store(uint64_t key, const proof::TNumbers& numbers, int64_t work) {
        TBucket& bucket = BucketOf(key);
        uint32_t w = static_cast<uint32_t>(std::clamp<int64_t>(work, 1, kMostWork));
        TEntry* slot = &bucket.Entries[0];
        for (TEntry& e : bucket.Entries) {
            if (e.Key() == key) {
                slot = &e;
                w = std::max(w, static_cast<uint32_t>(e.Work));
                break;
            }
            if (e.Work < slot->Work) slot = &e;
        }
        slot->SetKey(key);
        slot->Pn = numbers.Pn;
        slot->Dn = numbers.Dn;
        slot->Work = w;
        slot->Leans = numbers.Leans;
    }

private:
    static constexpr int64_t kMostWork = (int64_t{1} << 28) - 1;
    // The key in two halves, so that three entries fit a line.
    struct TEntry {
        uint32_t KeyLow = 0, KeyHigh = 0;
        uint32_t Pn = 0, Dn = 0;
        uint32_t Work : 28 = 0; // nodes spent below it; 0 for an empty slot
        uint32_t Leans : 4 = 0;
        uint64_t Key() const { return uint64_t{KeyHigh} << 32 | KeyLow; }
        void SetKey(uint64_t key) {
            KeyLow = static_cast<uint32_t>(key);
            KeyHigh = static_cast<uint32_t>(key >> 32);
        }
    };
    struct alignas(64) TBucket {
        std::array<TEntry, 3> Entries;
    };
    static_assert(sizeof(TBucket) == 64);
    TBucket& BucketOf(uint64_t key) { return m_Buckets[key & m_Mask]; }
    const TBucket& BucketOf(uint64_t key) const { return m_Buckets[key & m_Mask]; }
    static constexpr size_t kLargePage = size_t{2} << 20;
    void* m_Base = nullptr;
    size_t m_Mapped = 0;
    TBucket* m_Buckets = nullptr;
    uint64_t m_Mask = 0;
};

} // namespace karvena
