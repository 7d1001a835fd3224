#include "solver/SolverBoard.h"

namespace karvena {

namespace {

// splitmix64: the Zobrist numbers, the same in every run.
uint64_t Mix(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

struct TZobrist {
    std::array<uint64_t, TSolverBoard::kCells> Black{}, White{}, Ko{};
    TZobrist() {
        uint64_t state = 0x4C69666544656174ull;
        for (int p = 0; p < TSolverBoard::kCells; ++p) {
            Black[p] = Mix(state);
            White[p] = Mix(state);
            Ko[p] = p == TSolverBoard::kNoPoint ? 0 : Mix(state);
        }
    }
};

const TZobrist& Zobrist() {
    static const TZobrist table;
    return table;
}

} // namespace

uint64_t TSolverBoard::StoneKey(int point, TStone stone) {
    return stone == TStone::Black ? Zobrist().Black[point]
           : stone == TStone::White ? Zobrist().White[point]
                                    : 0;
}

uint64_t TSolverBoard::KoKey(int point) { return Zobrist().Ko[point]; }

TSolverBoard::TSolverBoard(int lines) : m_Lines(lines < 2 ? 2 : (lines > 19 ? 19 : lines)) {
    m_Cells.fill(TStone::Edge);
    for (int y = 1; y <= m_Lines; ++y)
        for (int x = 1; x <= m_Lines; ++x)
            m_Cells[PointOf(x, y)] = TStone::Empty;
}

void TSolverBoard::Set(int point, TStone stone) {
    if (!OnBoard(point) || stone == TStone::Edge) return;
    m_Hash ^= StoneKey(point, m_Cells[point]) ^ StoneKey(point, stone);
    m_Cells[point] = stone;
}

void TSolverBoard::NextMark() const {
    if (++m_Generation == 0) {
        m_Mark.fill(0);
        m_Generation = 1;
    }
}

bool TSolverBoard::BesideEmpty(int point) const {
    for (const int d : kDirections)
        if (m_Cells[point + d] == TStone::Empty) return true;
    return false;
}

int TSolverBoard::Liberties(int point, int enough) const {
    const TStone stone = m_Cells[point];
    if (stone != TStone::Black && stone != TStone::White) return 0;
    NextMark();
    int liberties = 0;
    m_Stack.clear();
    m_Stack.push_back(point);
    m_Mark[point] = m_Generation;
    while (!m_Stack.empty()) {
        const int p = m_Stack.back();
        m_Stack.pop_back();
        for (const int d : kDirections) {
            const int n = p + d;
            if (m_Mark[n] == m_Generation) continue;
            if (m_Cells[n] == TStone::Empty) {
                m_Mark[n] = m_Generation;
                if (++liberties >= enough) return liberties;
            } else if (m_Cells[n] == stone) {
                m_Mark[n] = m_Generation;
                m_Stack.push_back(n);
            }
        }
    }
    return liberties;
}

std::vector<int> TSolverBoard::ChainOf(int point) const {
    std::vector<int> chain;
    ChainInto(point, chain);
    return chain;
}

void TSolverBoard::ChainInto(int point, std::vector<int>& chain) const {
    chain.clear();
    const TStone stone = m_Cells[point];
    if (stone != TStone::Black && stone != TStone::White) return;
    NextMark();
    chain.push_back(point);
    m_Mark[point] = m_Generation;
    for (size_t i = 0; i < chain.size(); ++i)
        for (const int d : kDirections) {
            const int n = chain[i] + d;
            if (m_Cells[n] == stone && m_Mark[n] != m_Generation) {
                m_Mark[n] = m_Generation;
                chain.push_back(n);
            }
        }
}

int TSolverBoard::RemoveChain(int point, TStone stone) {
    int removed = 0;
    m_Stack.clear();
    m_Stack.push_back(point);
    m_Hash ^= StoneKey(point, stone);
    m_Cells[point] = TStone::Empty;
    while (!m_Stack.empty()) {
        const int p = m_Stack.back();
        m_Stack.pop_back();
        m_Captured.push_back(p);
        ++removed;
        for (const int d : kDirections) {
            const int n = p + d;
            if (m_Cells[n] == stone) {
                m_Hash ^= StoneKey(n, stone);
                m_Cells[n] = TStone::Empty;
                m_Stack.push_back(n);
            }
        }
    }
    return removed;
}

bool TSolverBoard::Play(int point, TStone side, bool ignoreKo) {
    if (!OnBoard(point) || m_Cells[point] != TStone::Empty) return false;
    if (point == m_Ko && !ignoreKo) return false;
    const TStone enemy = Other(side);
    m_Undo.push_back({point, m_Ko, m_Hash, static_cast<int>(m_Captured.size())});
    m_Cells[point] = side;
    m_Hash ^= StoneKey(point, side) ^ KoKey(m_Ko);
    m_Ko = kNoPoint;
    int captured = 0;
    int capturedPoint = kNoPoint;
    bool besideEmpty = false;
    for (const int d : kDirections) {
        const int n = point + d;
        besideEmpty = besideEmpty || m_Cells[n] == TStone::Empty;
        if (m_Cells[n] == enemy && !BesideEmpty(n) && Liberties(n, 1) == 0) {
            capturedPoint = n;
            captured += RemoveChain(n, enemy);
        }
    }
    if (captured == 0 && !besideEmpty && Liberties(point, 1) == 0) {
        // Suicide: the stone goes again, as if never played.
        m_Cells[point] = TStone::Empty;
        m_Ko = m_Undo.back().Ko;
        m_Hash = m_Undo.back().Hash;
        m_Undo.pop_back();
        return false;
    }
    // One stone taken by a lone stone left with that one liberty: the ko, not to be retaken at
    // once.
    if (captured == 1 && Liberties(point, 2) == 1) {
        bool lone = true;
        for (const int d : kDirections)
            lone = lone && m_Cells[point + d] != side;
        if (lone) m_Ko = capturedPoint;
    }
    m_Hash ^= KoKey(m_Ko);
    return true;
}

void TSolverBoard::Pass() {
    m_Undo.push_back({kNoPoint, m_Ko, m_Hash, static_cast<int>(m_Captured.size())});
    m_Hash ^= KoKey(m_Ko);
    m_Ko = kNoPoint;
}

int TSolverBoard::LastCaptures() const {
    if (m_Undo.empty()) return 0;
    return static_cast<int>(m_Captured.size()) - m_Undo.back().Captured;
}

void TSolverBoard::Undo() {
    if (m_Undo.empty()) return;
    const TUndo undo = m_Undo.back();
    m_Undo.pop_back();
    if (undo.Point != kNoPoint) {
        const TStone side = m_Cells[undo.Point];
        m_Cells[undo.Point] = TStone::Empty;
        const TStone enemy = Other(side);
        for (size_t i = static_cast<size_t>(undo.Captured); i < m_Captured.size(); ++i)
            m_Cells[m_Captured[i]] = enemy;
        m_Captured.resize(static_cast<size_t>(undo.Captured));
    }
    m_Ko = undo.Ko;
    m_Hash = undo.Hash;
}

} // namespace karvena
