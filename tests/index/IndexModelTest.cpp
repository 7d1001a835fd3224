// Index lines, the stones a thumbnail shows, paging, selection and the solved flag.
#include <gtest/gtest.h>

#include "index/GoIndexModel.h"
#include "index/IndexLine.h"

namespace karvena {
namespace {

TEST(IndexLine, ParsingTable) {
    const struct {
        const char* text;
        const char* head;
        const char* result;
        const char* black;
        const char* white;
        const char* initial;
        bool whiteFirst;
        int lines = 19;
    } cases[] = {
        {"001A10 3 AABB CC DDEE W", "001A10", "3", "AABB", "CC", "DDEE", true},
        {"  001A10 3 AABB CC DDEE w  ", "001A10", "3", "AABB", "CC", "DDEE", true},
        {"001A10 3 AABB CC DDEE B", "001A10", "3", "AABB", "CC", "DDEE", false},
        {"001A10 3 AABB CC DDEE", "001A10", "3", "AABB", "CC", "DDEE", false},
        {"001A10 3 AABB", "001A10", "3", "AABB", "", "", false},
        {"001A10 3", "001A10", "", "", "", "", false},
        {"001A10", "001A10", "", "", "", "", false},
        {"001A10 3  CC  W", "001A10", "3", "", "CC", "", true},
        {"001A10 3 AA BB CC W extra", "001A10", "3", "AA", "BB", "CC", false},
        // A board of another size names its lines last.
        {"001A10 3 AA BB CC W 9", "001A10", "3", "AA", "BB", "CC", true, 9},
        {"001A10 3 AA BB CC B 13", "001A10", "3", "AA", "BB", "CC", false, 13},
        {"001A10 3 AA BB CC W 25", "001A10", "3", "AA", "BB", "CC", false, 19},
        {"001A10 3 AA BB CC W 6", "001A10", "3", "AA", "BB", "CC", false, 19},
        {"", "", "", "", "", "", false},
    };
    for (const auto& c : cases) {
        const TIndexLine line = ParseIndexLine(c.text);
        EXPECT_EQ(line.Head, c.head) << c.text;
        EXPECT_EQ(line.Result, c.result) << c.text;
        EXPECT_EQ(line.Black, c.black) << c.text;
        EXPECT_EQ(line.White, c.white) << c.text;
        EXPECT_EQ(line.Initial, c.initial) << c.text;
        EXPECT_EQ(line.WhiteFirst, c.whiteFirst) << c.text;
        EXPECT_EQ(line.Lines, c.lines) << c.text;
    }
}

TEST(IndexLine, FlagsAndKey) {
    const TIndexLine line = ParseIndexLine("0a1F01 0 AA BB  B");
    EXPECT_EQ(line.Key(), 0x0A1F);
    EXPECT_FALSE(line.FlagA());
    EXPECT_TRUE(line.Solved());
    EXPECT_EQ(ParseIndexLine("zz").Key(), -1);
    EXPECT_FALSE(ParseIndexLine("0001").Solved());
}

TEST(IndexLine, SolvedCountReadsEachHeadsSolvedFlag) {
    const struct {
        std::vector<std::string> lines;
        int solved;
    } cases[] = {
        {{}, 0},
        {{"001001 1 CC DD"}, 1},
        {{"001000 1 CC DD", "002011 -1 CC DD", "  003001 1"}, 2},
        {{"00100", "0010 1 CC", "00100 1"}, 0}, // a head too short has no solved flag
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SolvedCount(c.lines), c.solved) << ::testing::PrintToString(c.lines);
        int parsed = 0;
        for (const std::string& line : c.lines) parsed += ParseIndexLine(line).Solved();
        if (c.solved > 0) EXPECT_EQ(SolvedCount(c.lines), parsed) << "as the parser reads it";
    }
}

TEST(IndexLine, BuildReadsBack) {
    const std::string text = BuildIndexLine(0x12AB, true, false, "5", "AABB", "CC", "DDEEFF", true);
    EXPECT_EQ(text, "12AB10 5 AABB CC DDEEFF W");
    const TIndexLine line = ParseIndexLine(text);
    EXPECT_EQ(line.Key(), 0x12AB);
    EXPECT_TRUE(line.FlagA());
    EXPECT_EQ(line.Initial, "DDEEFF");
    EXPECT_TRUE(line.WhiteFirst);
    EXPECT_EQ(BuildIndexLine(0x10000, false, false, "", "", "", "", false), "");
    // Empty setup fields survive the trip.
    const TIndexLine empty = ParseIndexLine(BuildIndexLine(7, false, true, "0", "", "", "", false));
    EXPECT_EQ(empty.Key(), 7);
    EXPECT_EQ(empty.Black, "");
    EXPECT_FALSE(empty.WhiteFirst);
}

TEST(ThumbnailStones, SetupPlusEachSidesInitialMoves) {
    const struct {
        const char* line;
        const char* black;
        const char* white;
        std::optional<TPoint> last;
    } cases[] = {
        // Three moves, black first: the mark is on black's second move.
        {"000100 0 AA BB CCDDEE B", "AACCEE", "BBDD", TPoint{5, 5}},
        // Three moves, white first: white moved last.
        {"000100 0 AA BB CCDDEE w", "AADD", "BBCCEE", TPoint{5, 5}},
        // Two moves, black first: white moved last.
        {"000100 0 AA BB CCDD B", "AACC", "BBDD", TPoint{4, 4}},
        // Two moves, white first: black moved last.
        {"000100 0 AA BB CCDD W", "AADD", "BBCC", TPoint{4, 4}},
        // No initial sequence: no mark.
        {"000100 0 AA BB  B", "AA", "BB", std::nullopt},
        {"000100 0 AA BB C B", "AA", "BB", std::nullopt},
        // A setup field of odd length is not read, as the board does not read it.
        {"000100 0 AAC BB  B", "", "BB", std::nullopt},
        {"000100 0 AA BBCCD  B", "AA", "", std::nullopt},
    };
    for (const auto& c : cases) {
        const TThumbnailStones stones = StonesOf(ParseIndexLine(c.line));
        EXPECT_EQ(stones.Black, c.black) << c.line;
        EXPECT_EQ(stones.White, c.white) << c.line;
        EXPECT_EQ(stones.LastMove, c.last) << c.line;
    }
}

std::vector<std::string> Lines(int n) {
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i)
        lines.push_back(BuildIndexLine(i + 1, false, false, "0", "AA", "", "", false));
    return lines;
}

struct TEventLog {
    std::vector<std::string> events;
    void Attach(TGoIndexModel& model) {
        auto log = [this](const char* name) {
            return [this, name](TGoIndexModel&, int n, int o, int k) {
                events.push_back(std::string(name) + " " + std::to_string(n) + " " +
                                 std::to_string(o) + " " + std::to_string(k));
            };
        };
        model.OnSelectedChanged = log("selected");
        model.OnHotChanged = log("hot");
        model.OnTopRowChanged = log("top");
        model.OnGamesChanged = log("games");
    }
};

TEST(IndexModel, PagingArithmetic) {
    TGoIndexModel model;
    model.SetGames(Lines(10));
    model.SetGrid(2, 3);
    EXPECT_EQ(model.Count(), 10);
    EXPECT_EQ(model.RowCount(), 4);
    EXPECT_EQ(model.PageCount(), 2);
    model.SetTopRow(5);
    EXPECT_EQ(model.TopRow(), 1) << "above RowCount is ignored";
    model.SetTopRow(3);
    EXPECT_EQ(model.TopRow(), 3);
    EXPECT_EQ(model.LineAt({1, 1}), 6);
    EXPECT_EQ(model.LineAt({2, 1}), 9);
    EXPECT_EQ(model.LineAt({2, 2}), -1) << "past the end the cell is empty";
    EXPECT_EQ(model.CellOf(7), (TCell{1, 2}));
    EXPECT_EQ(model.CellOf(2), (TCell{})) << "above the page";
    TGoIndexModel empty;
    EXPECT_EQ(empty.RowCount(), 0);
    EXPECT_EQ(empty.PageCount(), 0);
}

// The page commands step by whole pages and reach every row: a last page of a single row too.
TEST(IndexModel, PagesAndTheWheelReachEveryRow) {
    const struct {
        int count, rows, cols;
        std::vector<int> nextTops; // TopRow after each Next page from the first row
    } cases[] = {
        {7, 2, 3, {3, 3}},       // rows 1-2, then row 3 alone
        {10, 2, 3, {3, 3}},      // rows 1-2, rows 3-4
        {6, 2, 3, {1}},          // one page: nothing to go to
        {25, 2, 3, {3, 5, 7, 9, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        TGoIndexModel model;
        model.SetGames(Lines(c.count));
        model.SetGrid(c.rows, c.cols);
        std::vector<int> tops;
        for (size_t k = 0; k < c.nextTops.size(); ++k) {
            model.NextPage();
            tops.push_back(model.TopRow());
        }
        EXPECT_EQ(tops, c.nextTops);
        model.PriorPage();
        EXPECT_EQ(model.TopRow(), std::max(1, c.nextTops.back() - c.rows));
        model.LastPage();
        EXPECT_EQ(model.TopRow(), model.RowCount());
        model.FirstPage();
        EXPECT_EQ(model.TopRow(), 1);
    }
    TGoIndexModel model;
    model.SetGames(Lines(10));
    model.SetGrid(2, 3);
    model.ScrollRows(2);
    EXPECT_EQ(model.TopRow(), 3);
    model.ScrollRows(5);
    EXPECT_EQ(model.TopRow(), 4) << "never beyond the last row";
    model.ScrollRows(-9);
    EXPECT_EQ(model.TopRow(), 1);
}

TEST(IndexModel, SteppingThroughTheProblemsStopsAtBothEnds) {
    using TStep = TGoIndexModel::TStep;
    const struct {
        int count, selected;
        std::optional<int> first, prior, next, last;
    } cases[] = {
        {5, 2, 0, 1, 3, 4},
        {5, 0, std::nullopt, std::nullopt, 1, 4},
        {5, 4, 0, 3, std::nullopt, std::nullopt},
        {1, 0, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {0, -1, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {3, -1, std::nullopt, std::nullopt, 0, 2}, // nothing selected: Next starts at the first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.selected) + " of " + std::to_string(c.count));
        TGoIndexModel model;
        model.SetGames(std::vector<std::string>(c.count, "000100 1 CC DD"));
        model.SetSelected(c.selected);
        ASSERT_EQ(model.Selected(), c.selected);
        EXPECT_EQ(model.StepTarget(TStep::First), c.first);
        EXPECT_EQ(model.StepTarget(TStep::Prior), c.prior);
        EXPECT_EQ(model.StepTarget(TStep::Next), c.next);
        EXPECT_EQ(model.StepTarget(TStep::Last), c.last);
    }
}

TEST(IndexModel, SetGamesFiresInOrderAndResets) {
    TGoIndexModel model;
    TEventLog log;
    model.SetGames(Lines(10));
    model.SetTopRow(3);
    model.SetSelected(4);
    log.Attach(model);
    model.SetGames(Lines(7));
    EXPECT_EQ(log.events, (std::vector<std::string>{"games 7 10 3", "top 1 3 2"}));
    EXPECT_EQ(model.Selected(), -1);
    EXPECT_EQ(model.Games().size(), 7u);
}

TEST(IndexModel, SelectionClicksAndHot) {
    TGoIndexModel model;
    model.SetGames(Lines(5));
    TEventLog log;
    log.Attach(model);
    model.SetSelected(9);
    EXPECT_EQ(model.Selected(), -1) << "outside the list";
    model.SetSelected(2);
    EXPECT_TRUE(log.events.empty()) << "SetSelected fires nothing";
    model.ClickLine(2);
    model.ClickLine(3);
    model.SetHot(1);
    model.SetHot(1);
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"selected 2 2 0", "selected 3 2 0", "hot 1 -1 1"}));
}

class TCellRecorder : public IIndexView {
public:
    std::vector<int> lines;
    int all = 0;
    void RedrawAllCells() override { ++all; }
    void RedrawLine(int index) override { lines.push_back(index); }
    void IndexGeometryChanged() override {}
    void ThumbnailLookChanged() override { ++all; }
};

TEST(IndexModel, SolvedCountRewritesTheSixthCharacterAndRedrawsThatCell) {
    TGoIndexModel model;
    TCellRecorder view;
    model.SetIndexView(&view);
    model.SetGames(Lines(4));
    model.SetSolvedCount(3);
    EXPECT_EQ(model.SolvedCount(), 0) << "nothing selected";
    model.SetSelected(2);
    view.lines.clear();
    view.all = 0;
    model.SetSolvedCount(3);
    EXPECT_EQ(model.Games()[2][5], '1');
    EXPECT_EQ(view.lines, std::vector<int>{2});
    EXPECT_EQ(view.all, 0);
    model.SetSolvedCount(5);
    EXPECT_EQ(view.lines.size(), 1u) << "the flag did not change";
    model.SetSolvedCount(0);
    EXPECT_EQ(model.Games()[2][5], '0');
    EXPECT_EQ(model.Games()[1][5], '0');
}

// Lines "KKKK00 …" for the positions asked, the last `shortBy` of each block left out; it
// counts what it was asked.
class TCountingSource : public IIndexLineSource {
public:
    explicit TCountingSource(int count, int shortBy = 0) : m_Count(count), m_ShortBy(shortBy) {}
    std::vector<std::string> Lines(int first, int count) const override {
        asked.emplace_back(first, count);
        std::vector<std::string> lines;
        for (int i = first; i < std::min(first + count, m_Count) - m_ShortBy; ++i)
            lines.push_back(BuildIndexLine(i, false, false, "1", "CC", "DD", "", false));
        return lines;
    }
    mutable std::vector<std::pair<int, int>> asked;

private:
    int m_Count, m_ShortBy;
};

TEST(IndexModel, AListingFetchesEachBlockOnceAndKeepsItsOwnSolvedFlags) {
    struct TCase {
        const char* name;
        int count, shortBy;
        std::vector<int> read;                    // the lines read, in turn
        std::vector<std::pair<int, int>> asked;   // the blocks the source is asked for
    };
    const std::vector<TCase> cases = {
        {"one block", 10, 0, {0, 9, 3}, {{0, 10}}},
        {"two blocks, the last short", 700, 0, {699, 0, 600, 511, 512}, {{512, 188}, {0, 512}}},
        {"a store that answers short", 600, 5, {598, 598, 2}, {{512, 88}, {0, 512}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto source = std::make_shared<TCountingSource>(c.count, c.shortBy);
        std::vector<bool> solved(static_cast<size_t>(c.count));
        solved[2] = solved[598 % c.count] = true;
        TGoIndexModel model;
        TCellRecorder view;
        model.SetIndexView(&view);
        model.SetListing(solved, source);
        EXPECT_EQ(model.Count(), c.count);
        EXPECT_EQ(model.SolvedLines(), 2);
        EXPECT_TRUE(source->asked.empty()) << "nothing is fetched before it is shown";
        for (const int i : c.read) {
            const std::string& line = model.Line(i);
            const bool answered = i % 512 < std::min(512, c.count - i / 512 * 512) - c.shortBy;
            if (!answered) {
                EXPECT_EQ(line, "") << "a line the store did not give is empty, " << i;
                continue;
            }
            EXPECT_EQ(ParseIndexLine(line).Key(), i);
            EXPECT_EQ(ParseIndexLine(line).Solved(), solved[static_cast<size_t>(i)])
                << "the index's flag, not the source's, " << i;
        }
        EXPECT_EQ(source->asked, c.asked);
        // Solving the selected line sets its flag in the count and in a fetched line.
        model.SetSelected(0);
        view.lines.clear();
        model.SetSolvedCount(1);
        EXPECT_EQ(model.SolvedLines(), 3);
        EXPECT_TRUE(ParseIndexLine(model.Line(0)).Solved());
        EXPECT_EQ(view.lines, std::vector<int>{0});
        // A whole list replaces the listing and its source.
        model.SetGames(Lines(3));
        EXPECT_EQ(model.Count(), 3);
        EXPECT_EQ(model.SolvedLines(), SolvedCount(Lines(3)));
        EXPECT_EQ(source->asked, c.asked);
    }
}

TEST(IndexModel, ThumbnailGeometryAndResize) {
    TGoIndexModel model;
    EXPECT_EQ(model.BoardWidth(), 164);
    EXPECT_EQ(model.GridForSize(497, 329), (TCell{2, 3}));
    EXPECT_EQ(model.GridForSize(164, 164 * 3 - 1), (TCell{2, 1})) << "a row cut off is no row";
    EXPECT_EQ(model.GridForSize(164, 164 * 3), (TCell{3, 1}));
    EXPECT_EQ(model.GridForSize(10, 10), (TCell{1, 1}));
    EXPECT_EQ(model.PointX(2, 1), 164 + 5 + 5);
    EXPECT_EQ(model.PointY(1, 14), 5 + 5 + 11 * 13);
    EXPECT_EQ(model.CellAtPixel(170, 5), (TCell{1, 2}));
    model.SetGameKind(1);
    EXPECT_EQ(model.BoardCols(), 9);
    EXPECT_EQ(model.BoardRows(), 10);
    model.SetGameKind(7);
    EXPECT_EQ(model.GameKind(), 1);
}

TEST(IndexModel, LookSettersIgnoreOutOfRange) {
    TGoIndexModel model;
    model.SetBoardColor(0);
    model.SetBoardColor(0xFFFFFF);
    EXPECT_EQ(model.BoardColor(), 0x006699u);
    model.SetBoardColorNum(9);
    EXPECT_EQ(model.BoardColorNum(), 1);
    model.SetLanguage(3);
    EXPECT_EQ(model.Language(), 0);
    model.SetWood(true);
    EXPECT_FALSE(model.Wood());
}

} // namespace
} // namespace karvena
