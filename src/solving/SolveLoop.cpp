#include "solving/SolveLoop.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>

#include "collection/SolutionBlob.h"
#include "index/IndexLine.h"
#include "solving/ProblemQuestion.h"
#include "text/Texts.h"

namespace karvena {

namespace {

// The history's position of the goal a problem's moves are judged under.
const std::string kGoalPosition = "goal";

} // namespace

int ParseDelay(const std::string& text) {
    if (text.empty() || text.size() > 9) return -1;
    size_t start = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (start == text.size()) return -1;
    for (size_t i = start; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return -1;
    return std::atoi(text.c_str());
}

TSolveLoop::TSolveLoop(TGoBoard& board, TGoIndexModel& index, IProblemRecorder& recorder,
                       ISolveOutput& output)
    : m_Board(board), m_Index(index), m_Recorder(recorder), m_Output(output) {
    Now = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    Random = [engine = std::minstd_rand(std::random_device{}())](int bound) mutable {
        return std::uniform_int_distribution<int>(0, bound - 1)(engine);
    };
    m_Board.OnLegalMove = [this](TGoBoard&, int16_t P, int16_t Q, int16_t, int16_t, bool) {
        GoGame1LegalMove(P, Q);
    };
}

void TSolveLoop::Play(int sound, bool wait) {
    if (!m_Options.Silent) m_Output.PlaySound(sound, wait);
}

int8_t SolverSideOf(char firstToPlay, const std::string& initial) {
    const int8_t first = firstToPlay == 'W' ? -1 : 1;
    return MovesIn(initial) % 2 == 0 ? first : static_cast<int8_t>(-first);
}

std::string AnswerAreaOf(const TProblemRow& row, const TSolutionTree& tree) {
    // The region the solver would search: under the goal the problem states, else as if the
    // player kills (the region's reach hardly depends on it).
    TProblemQuestion question = QuestionOf(row, tree);
    for (const TLifeGoal goal : {TLifeGoal::Kill, TLifeGoal::Live})
        if (!question.Ok()) question = QuestionOf(row, tree, goal);
    std::string area;
    if (question.Ok()) {
        for (const int point : question.Question.Region) area += SolverPointText(point);
        return area;
    }
    // No region to be had: the box of the problem's stones and moves, one line wider.
    const int lines = row.BoardSize >= 7 && row.BoardSize <= 19 ? row.BoardSize : 19;
    int p0 = lines + 1, q0 = lines + 1, p1 = 0, q1 = 0;
    auto widen = [&](const std::string& points) {
        for (int i = 0; i < MovesIn(points); ++i) {
            const TPoint pt = PointAt(points, i);
            if (pt.P < 1 || pt.P > lines || pt.Q < 1 || pt.Q > lines) continue;
            p0 = std::min(p0, pt.P), p1 = std::max(p1, pt.P), q0 = std::min(q0, pt.Q), q1 = std::max(q1, pt.Q);
        }
    };
    widen(row.ArrangedBlack + row.ArrangedWhite + row.Initial);
    for (TNodeId n = tree.Empty() ? kNoNode : tree.FirstChild(tree.Root());
         n != kNoNode && tree.Level(n) > 0; n = tree.NextInDepthFirst(n))
        widen(tree.MoveOf(n));
    for (int p = std::max(1, p0 - 1); p <= std::min(lines, p1 + 1); ++p)
        for (int q = std::max(1, q0 - 1); q <= std::min(lines, q1 + 1); ++q) area += PointText(p, q);
    return area;
}

void SetUpPosition(TGoBoard& board, const std::string& black, const std::string& white,
                   const std::string& initial, char firstToPlay) {
    board.SetFirstToPlay(firstToPlay == 'W' ? -1 : 1);
    // The board's calling order: clear the setup, reset, place the setup, play the start.
    board.SetArrangedSideP("");
    board.SetArrangedSideN("");
    board.NewGame(true);
    board.SetArrangedSideP(black);
    board.SetArrangedSideN(white);
    board.SetProcess(initial);
}

int8_t TSolveLoop::SolverSide() const {
    return SolverSideOf(m_Orientation.Colour(m_FirstToPlayChar), m_Initial);
}

bool TSolveLoop::UserToMove() const {
    return SameSide(m_Board.Turn(), SolverSide());
}

int TSolveLoop::MovesBeyondStart() const {
    return (static_cast<int>(m_Board.Process().size()) - static_cast<int>(m_Initial.size())) / 2;
}

// ---- Problems ----

bool TSolveLoop::LoadProblem(int position) {
    if (position < 0 || position >= m_Index.Count() || !m_Problems) return false;
    const int key = ParseIndexLine(m_Index.Line(position)).Key();
    m_CurrentAuto1 = key;
    const std::optional<TProblemRow> row = m_Problems->Find(key);
    if (!row) {
        // A row that cannot be read is said, never passed over in silence.
        if (!m_Problems->ReadError().empty()) {
            m_Output.Beep();
            m_Output.SetStatus(1, Tx("DataCorrupted") + ": " + m_Problems->ReadError());
        }
        return false;
    }
    m_HistoryKey = m_Problems->HistoryKeyOf(key);
    m_Recorder.SetCurrentProblem(m_HistoryKey);
    try {
        LoadSolution(m_Tree, row->Solution);
    } catch (const TBlobError&) {
        // The nodes read so far stay; the problem is still set up.
        m_Output.Beep();
        m_Output.SetStatus(1, Tx("DataCorrupted"));
    }
    m_ArrangedBlack = row->ArrangedBlack;
    m_ArrangedWhite = row->ArrangedWhite;
    m_Initial = row->Initial;
    // Read once, as the table says: "W" is white, anything else black.
    m_FirstToPlayChar = !row->FirstToPlay.empty() && row->FirstToPlay[0] == 'W' ? 'W' : 'B';
    m_StatedResult = StatedResultText(row->Result2);
    m_Comments = DecodeComments(row->Comments);
    m_Lines = row->BoardSize >= 7 && row->BoardSize <= 19 ? row->BoardSize : 19;
    StopThinking();
    m_Judge = std::make_shared<TMoveJudge>(*row);
    m_AnswerArea = AnswerAreaOf(*row, m_Tree);
    // A goal found is used again; one that could not be found is looked for again when the
    // search may now take longer than it could then.
    if (m_Verdicts)
        if (const auto goal = m_Verdicts->SolverVerdict(m_HistoryKey, kGoalPosition);
            goal && goal->Verdict >= 0 && goal->Verdict <= 2 &&
            (goal->Verdict != static_cast<int>(TJudgeGoal::None) || goal->BudgetMs >= m_Options.SolverBudgetMs))
            m_Judge->SetKnownGoal(static_cast<TJudgeGoal>(goal->Verdict));
    // The goal is looked for while the player thinks, not when the first move is judged.
    if (JudgesOffTheTree() && !m_Judge->Goal())
        m_Runner->Prepare(m_Judge, SolverBudget(), [this] { RememberGoal(); });
    m_Loaded = true;
    m_Recorder.ShowCounters(position);
    SetUp();
    return true;
}

void TSolveLoop::ClearPending() {
    m_RetryNode = kNoNode;
    m_NextReply = kNoNode;
    m_Output.SetNextVariationEnabled(false);
    m_Output.ArmTimer(false);
    // Nothing is pending any more, so nothing is left for a hint window to announce.
    m_Output.ShowHintWindow(0);
}

TOrientation TSolveLoop::ChooseOrientation() {
    if (FixedOrientation >= 0) return TOrientation(FixedOrientation, m_Lines);
    int number = 0;
    if (m_Options.RandomOrientation) number = Random(TOrientation::kSymmetries);
    if (m_Options.RandomColours && Random(2) == 1) number += TOrientation::kSymmetries;
    return TOrientation(number, m_Lines);
}

void TSolveLoop::SetUp() {
    StopThinking();
    ClearPending();
    m_Output.SetResult("");
    m_AreaShown = false;
    m_Tree.Select(m_Tree.Root());
    ResumeLine();
    m_Board.SetGoLines(m_Lines);
    m_Orientation = ChooseOrientation();
    const TOrientation& o = m_Orientation;
    const std::string initial = o.Apply(m_Initial);
    const std::string& black = o.SwapsColours() ? m_ArrangedWhite : m_ArrangedBlack;
    const std::string& white = o.SwapsColours() ? m_ArrangedBlack : m_ArrangedWhite;
    SetUpPosition(m_Board, o.Apply(black), o.Apply(white), initial, o.Colour(m_FirstToPlayChar));
    m_Board.SetSelfSide(m_Board.Turn() < 0 ? 1 : 0);
    m_Output.PlayerSide(m_Board.Turn() < 0);
    if (m_Options.DisplayNumbers) m_Board.NumberPoints(initial, 1);
    // An imported problem's own words: what it asks.
    if (!m_Comments.Root.empty()) m_Output.SetStatus(1, LocalWords(m_Comments.Root));
}

// ---- Play ----

std::string TSolveLoop::LocalWords(const std::string& text) {
    return !ChineseGB && !ChineseBig5 ? text : ToLocalText(text);
}

std::string TSolveLoop::CommentFor(TNodeId node) const {
    const bool english = !ChineseGB && !ChineseBig5;
    const std::string remark = CommentOf(m_Tree, node, Remarks, english);
    // The author's comment on the move follows the trainer's own remark.
    const std::string& words = m_Comments.Of(node);
    const std::string comment =
        remark.empty() ? words : words.empty() ? remark : remark + ". " + words;
    return LocalWords(comment);
}

void TSolveLoop::MarkStone(int P, int Q) {
    const int8_t v = m_Board.GetCell(P, Q);
    if (v > 0)
        m_Board.SetCell(P, Q, static_cast<int8_t>(v | 0x04));
    else if (v < 0)
        m_Board.SetCell(P, Q, static_cast<int8_t>(-((-v) | 0x04)));
    if (v != 0) m_Output.StoneMarked(P, Q);
}

void TSolveLoop::ShowNoticeFor(int flags) {
    auto notice = [this](const char* name) {
        m_Output.ShowNotice(Tx(name));
        Play(kSoundNotice, true);
    };
    if (flags & kFlagBad) notice("NoticeBadMove");
    if (flags & kFlagNotBest) notice("NoticeNotBest");
    if (flags & kFlagSometimes) notice("NoticeSometimes");
}

bool TSolveLoop::PlayForTheOpponent(const std::string& move, TPoint& point) {
    if (move == "TT") return PlayElsewhere(point);
    point = m_Orientation.Apply(PointAt(move, 0));
    return m_Board.IsOnBoard(point.P, point.Q) && m_Board.MakeMove(point.P, point.Q, true);
}

bool TSolveLoop::PlayReply(TNodeId reply) {
    const std::string move = m_Tree.MoveOf(reply);
    TPoint point;
    if (move.size() != 2 || !PlayForTheOpponent(move, point)) return false;
    m_Tree.Select(reply);
    if (IsFlagged(m_Tree.FlagsOf(reply))) MarkStone(point.P, point.Q);
    m_Output.ReplyPlayed(point.P, point.Q);
    Play(kSoundMove, false);
    return true;
}

bool TSolveLoop::PlayElsewhere(TPoint& played) {
    // The first free point of the stored problem's bottom-right corner block, turned with the
    // problem, so the move lands as far from it as in the stored orientation. When no point
    // there can be played, the opponent passes, which keeps the turns in step.
    for (int p = m_Lines - 3; p <= m_Lines; ++p) {
        for (int q = m_Lines - 3; q <= m_Lines; ++q) {
            const TPoint point = m_Orientation.Apply(TPoint{p, q});
            if (IsStone(m_Board.GetCell(point.P, point.Q))) continue;
            if (m_Board.MakeMove(point.P, point.Q, true)) {
                played = point;
                return true;
            }
        }
    }
    played = {kPassCoord, kPassCoord};
    return m_Board.MakeMove(kPassCoord, kPassCoord, true);
}

void TSolveLoop::GoGame1LegalMove(int P, int Q) {
    Play(kSoundMove, false);
    if (TryMode) {
        m_Output.TrialMove();
        m_Recorder.RecordTrial();
        return;
    }
    ClearPending();
    m_Recorder.RecordMove();
    const TNodeId current = m_Tree.Current();
    if (current == kNoNode) return;

    m_Board.ClearMarks();
    // Beyond the tree, the solver answers every move.
    if (OnSolverLine()) {
        AskTheSolver(P, Q);
        return;
    }
    const TPoint stored = m_Orientation.Undo(TPoint{P, Q});
    const TMatch match = m_Tree.MatchMove(current, PointText(stored.P, stored.Q));
    if (match.Child == kNoNode && JudgesOffTheTree()) {
        AskTheSolver(P, Q);
        return;
    }
    if (match.Child == kNoNode) {
        // The tree does not know this move.
        FailWhereItStands();
        return;
    }

    const TNodeId m = match.Child;
    m_Tree.Select(m);
    m_Output.SetStatus(0, "");
    m_Output.SetStatus(1, CommentFor(m));
    std::string code = m_Tree.ResultCodeOf(m);
    bool leaf = !m_Tree.HasChildren(m);

    const int flags = m_Tree.FlagsOf(m);
    if (IsFlagged(flags)) MarkStone(P, Q);
    ShowNoticeFor(flags);

    if (m_Tree.HasChildren(m)) {
        const TNodeId reply = m_Tree.ChooseReply(m, AvoidMask());
        if (reply != kNoNode && PlayReply(reply)) {
            m_Output.SetStatus(1, CommentFor(reply));
            leaf = !m_Tree.HasChildren(reply);
            const std::string replyCode = m_Tree.ResultCodeOf(reply);
            if (HasResultCode(replyCode)) code = replyCode;
        }
    }
    Conclude(code, leaf);
    Tail();
}

TSolveLoop::TLineFlags TSolveLoop::LineFlags(TNodeId node) const {
    // From the node up to the root: the first flagged opponent move (kC), flagged player move
    // (kS) and "sometimes" player move (kT), by level.
    TLineFlags f;
    for (TNodeId n = node; n != kNoNode; n = m_Tree.Parent(n)) {
        const int flags = m_Tree.FlagsOf(n);
        const int level = m_Tree.Level(n);
        if (level % 2 == 0 && f.kC < 0 && IsFlagged(flags)) f.kC = level;
        if (level % 2 == 1 && f.kS < 0 && IsFlagged(flags)) f.kS = level;
        if (level % 2 == 1 && f.kT < 0 && (flags & kFlagSometimes)) f.kT = level;
    }
    return f;
}

void TSolveLoop::Conclude(const std::string& code, bool leaf) {
    const auto [kC, kS, kT] = LineFlags(m_Tree.Current());
    const bool present = HasResultCode(code);
    const bool success = present && IsSuccess(ResultValue(code));
    // Where the problem's answer is a ko, a success says so: the player has not killed or lived
    // outright.
    const bool koAnswer = m_Judge && m_Judge->KoIsTheAnswer();
    m_Output.SetResult(!present ? "" : Tx(!success ? "Failure" : koAnswer ? "SuccessKo" : "Success"));
    m_Output.ProcessPendingEvents();

    if (success) {
        Play(kS < 0 && kC < 0 && kT < 0 ? kSoundSuccess : kSoundSuccessFlagged, true);
        const TVariation next = m_Tree.AdvanceVariation(m_Tree.Current(), AvoidMask());
        if (!next.Exhausted) {
            m_RetryNode = next.Branch;
            m_NextReply = next.Reply;
        }
        if (kS < 0 && kT >= 0) {
            // A success through a "sometimes" move is not credited: retry from before it.
            m_RetryNode = m_Tree.BranchPointAbove(m_Tree.Current(), kT);
            m_NextReply = kNoNode;
        } else if (kS < 0 && next.Exhausted) {
            m_Recorder.RecordSolved();
            Play(kSoundSolved, true);
            m_Output.Solved();
            if (m_Options.NextProblemAutomatically) m_Output.NextProblem();
        } else if (kS >= 0 && kC < kS) {
            m_RetryNode = m_Tree.BranchPointAbove(m_Tree.Current(), kS);
            m_NextReply = kNoNode;
        } else if (kS >= 0 && kC > kS) {
            // The opponent erred after the player did: the tree is inconsistent.
            Play(kSoundError, true);
            m_Output.ShowNotice(Tx("DataError1") + std::to_string(m_CurrentAuto1));
        }
    } else if ((present && static_cast<unsigned char>(code[0]) >= '0') || leaf) {
        Failed();
    }
    // A result ends the line: the board takes no move until the next variation, Back, Solve
    // again or another problem, so a stray click can neither fail nor count.
    if (present || leaf) EndLine();
}

void TSolveLoop::EndLine() {
    m_LineEnded = true;
    m_Board.SetNewMoveEnabled(false);
}

void TSolveLoop::ResumeLine() {
    m_LineEnded = false;
    m_Board.SetNewMoveEnabled(true);
}

void TSolveLoop::Failed() {
    Play(kSoundFailure, true);
    m_Recorder.RecordFailure();
    m_RetryNode = m_Tree.RetryPoint(m_Tree.Current());
    m_NextReply = kNoNode;
    if (m_RetryNode == kNoNode) Play(kSoundNotice, true);
}

void TSolveLoop::FailWhereItStands() {
    m_Output.SetResult(Tx("Failure"));
    Failed();
    EndLine();
    Tail();
}

void TSolveLoop::Tail() {
    const bool pending = m_RetryNode != kNoNode;
    m_Output.SetNextVariationEnabled(pending);
    if (pending) m_Output.ShowHintWindow(m_NextReply != kNoNode ? 1 : 2);
    if (m_Options.TakebackAutomatically) m_Output.ArmTimer(pending);
}

void TSolveLoop::NextVariation() {
    StopThinking();
    m_Output.ArmTimer(false);
    m_Output.SetNextVariationEnabled(false);
    m_Output.ShowHintWindow(0);
    if (m_RetryNode == kNoNode) {
        Play(kSoundError, true);
        SolveAgain();
        return;
    }
    m_Output.SetResult("");
    ResumeLine();
    const int64_t start = Now();
    int takenBack = 0;
    bool replied = false;
    while (m_Tree.Current() != kNoNode) {
        const int64_t now = Now();
        if (now >= start && now - start > 30000) {
            m_Output.ShowNotice(Tx("RetryError"));
            break;
        }
        const size_t before = m_Board.Process().size();
        m_Board.TakeBack();
        // A start that cannot be set up stops shortening the record: nothing more to take back.
        if (m_Board.Process().size() >= before) break;
        ++takenBack;
        m_Tree.SyncToBoard(m_Board.Process().size(), m_Initial.size());
        // The moves of a line beyond the tree (the solver's, or one the tree lacks) are all
        // taken back before the tree's node counts as reached.
        const bool atNode = MovesBeyondStart() == m_Tree.Level(m_Tree.Current());
        if (atNode && m_Tree.Current() == m_RetryNode) {
            if (m_NextReply != kNoNode) replied = PlayReply(m_NextReply);
            break;
        }
        if (atNode && m_Tree.Parent(m_Tree.Current()) == kNoNode) break;
    }
    m_Output.TookBack(takenBack);
    // The pending target is used up; another PgDn finds nothing pending.
    m_RetryNode = kNoNode;
    m_NextReply = kNoNode;
    // A reply the source marks as an end (correct or not) ends its line as a move would.
    const TNodeId current = m_Tree.Current();
    if (replied && HasResultCode(m_Tree.ResultCodeOf(current))) {
        Conclude(m_Tree.ResultCodeOf(current), !m_Tree.HasChildren(current));
        Tail();
        return;
    }
    if (!UserToMove()) {
        Play(kSoundError, true);
        m_Output.ShowNotice(Tx("DataError2") + std::to_string(m_CurrentAuto1));
        SolveAgain();
        return;
    }
    if (m_Tree.Current() != kNoNode && !m_Tree.HasChildren(m_Tree.Current())) {
        Play(kSoundError, true);
        m_Output.ShowNotice(Tx("DataError3") + std::to_string(m_CurrentAuto1));
        SolveAgain();
    }
}

void TSolveLoop::Back() {
    StopThinking();
    ClearPending();
    if (m_Board.NextMove() < 2 || m_Board.Process().size() <= m_Initial.size()) return;
    ResumeLine();
    const TNodeId current = m_Tree.Current();
    const bool counted =
        current != kNoNode && m_Tree.Level(current) > 0 && m_Tree.HasChildren(current);
    m_Output.SetResult("");
    m_Board.TakeBack();
    m_Tree.SyncToBoard(m_Board.Process().size(), m_Initial.size());
    int takenBack = 1;
    if (!UserToMove() && m_Board.Process().size() > m_Initial.size()) {
        m_Board.TakeBack();
        m_Tree.SyncToBoard(m_Board.Process().size(), m_Initial.size());
        ++takenBack;
    }
    m_Output.TookBack(takenBack);
    if (counted) m_Recorder.RecordTakeback();
}

void TSolveLoop::SolveAgain() {
    const TNodeId current = m_Tree.Current();
    const bool counted =
        current != kNoNode && m_Tree.Level(current) > 0 && m_Tree.HasChildren(current);
    SetUp();
    if (counted) m_Recorder.RecordTakeback();
}

void TSolveLoop::Hint(bool byUser) {
    if (!m_Options.HintAllowed) {
        if (byUser) m_Output.Beep();
        return;
    }
    StopThinking();
    if (m_Tree.Current() == kNoNode) return;
    // Beyond the tree the solver's next move is the hint.
    if (OnSolverLine() && !m_LineEnded && UserToMove() && !TryMode) {
        const std::string best =
            m_LastJudgedAt == MovesBeyondStart() ? BestMoveAfterAnswer(m_LastJudgement) : "";
        if (best.empty() || best == "TT") {
            m_Output.Beep();
            return;
        }
        const std::string good = m_Orientation.Apply(best);
        m_Board.MarkPoints(good, 0x8000);
        m_Output.HintMarked(good, "");
        m_Recorder.RecordHint(1);
        return;
    }
    // At the first move the first hint only shades where the answer lies.
    if (!m_Options.OneStepHint && !m_AreaShown && !m_AnswerArea.empty() && !TryMode &&
        m_Tree.Current() == m_Tree.Root() && MovesBeyondStart() == 0 && UserToMove()) {
        m_AreaShown = true;
        m_Board.ShadePoints(m_Orientation.Apply(m_AnswerArea));
        m_Output.AreaShaded(m_Orientation.Apply(m_AnswerArea));
        m_Recorder.RecordHint(1);
        return;
    }
    const bool backEnabled = !TryMode;
    if (m_Tree.Level(m_Tree.Current()) != MovesBeyondStart() && backEnabled) Back();
    if (!UserToMove() && backEnabled) Back();
    if (!UserToMove()) return;
    std::string good, bad;
    const TNodeId current = m_Tree.Current();
    for (TNodeId c = m_Tree.FirstChild(current); c != kNoNode; c = m_Tree.NextSibling(c)) {
        const std::string move = m_Tree.MoveOf(c);
        const bool isGood =
            IsSuccess(ResultValue(m_Tree.ResultCodeOf(c))) || m_Tree.HasSuccessBelow(c);
        if (!isGood) {
            bad += move;
            continue;
        }
        const bool onBoard =
            move.size() == 2 && m_Board.IsOnBoard(LetterToCoord(move[0]), LetterToCoord(move[1]));
        if (move == "TT" || onBoard) good += move;
    }
    good = m_Orientation.Apply(good);
    bad = m_Orientation.Apply(bad);
    m_Board.MarkPoints(good, 0x8000);
    m_Board.MarkPoints(bad, 0xFFFF);
    m_Output.HintMarked(good, bad);
    m_Recorder.RecordHint(1);
}

void TSolveLoop::SetDisplayNumbers(bool on) {
    m_Options.DisplayNumbers = on;
}

// ---- The solver ----

bool TSolveLoop::OnSolverLine() const {
    // The tree's node stays where the line left the tree; more than the player's last move
    // beyond it means the solver answered.
    const TNodeId current = m_Tree.Current();
    return current != kNoNode && !TryMode && MovesBeyondStart() - m_Tree.Level(current) > 1;
}

TSolverBudget TSolveLoop::SolverBudget() const {
    TSolverBudget budget;
    budget.Milliseconds = m_Options.SolverBudgetMs;
    budget.Nodes = m_Options.SolverBudgetNodes;
    return budget;
}

bool TSolveLoop::JudgesOffTheTree() const {
    return m_Options.JudgeMovesTheAnswerDoesNotList && m_Runner && m_Judge && !TryMode;
}

std::vector<std::string> TSolveLoop::StoredMovesBeyondStart() const {
    const std::string& process = m_Board.Process();
    std::vector<std::string> moves;
    for (size_t k = m_Initial.size(); k + 1 < process.size(); k += 2) {
        const TPoint shown = PointAt(process, static_cast<int>(k / 2));
        if (!m_Board.IsOnBoard(shown.P, shown.Q)) {
            moves.push_back("TT");
            continue;
        }
        const TPoint stored = m_Orientation.Undo(shown);
        moves.push_back(PointText(stored.P, stored.Q));
    }
    return moves;
}

void TSolveLoop::AskTheSolver(int P, int Q) {
    const std::string move = PointText(P, Q);
    const std::vector<std::string> moves = StoredMovesBeyondStart();
    std::string position;
    for (const std::string& m : moves)
        position += m;
    m_Thinking = true;
    const unsigned asked = ++m_Asked;
    m_Board.SetNewMoveEnabled(false);
    // A verdict kept from before is used again, unless the budget then was too short to
    // settle the move and is longer now.
    if (m_Verdicts)
        if (const auto kept = m_Verdicts->SolverVerdict(m_HistoryKey, position);
            kept && kept->Verdict >= 0 && kept->Verdict <= 3 &&
            (kept->Verdict != static_cast<int>(TSolverVerdict::Unknown) ||
             kept->BudgetMs >= m_Options.SolverBudgetMs)) {
            Judged(move, {static_cast<TSolverVerdict>(kept->Verdict), kept->Line, kept->Ends});
            return;
        }
    m_Output.Thinking(true);
    const int budgetMs = m_Options.SolverBudgetMs;
    m_Runner->Start(m_Judge, moves, SolverBudget(),
                    [this, asked, move, position, budgetMs](const TJudgement& judgement) {
                        if (asked != m_Asked) return;
                        RememberGoal();
                        // A search that could not even begin (no goal) is not kept as a verdict.
                        if (m_Verdicts && m_Judge->Why().empty())
                            m_Verdicts->PostSolverVerdict({m_HistoryKey, position,
                                                           static_cast<int>(judgement.Verdict),
                                                           judgement.Line, judgement.Ends, budgetMs});
                        Judged(move, judgement);
                    });
}

void TSolveLoop::RememberGoal() {
    const std::optional<TJudgeGoal> goal = m_Judge->Goal();
    if (!m_Verdicts || !goal) return;
    const auto kept = m_Verdicts->SolverVerdict(m_HistoryKey, kGoalPosition);
    if (!kept || kept->Verdict != static_cast<int>(*goal))
        m_Verdicts->PostSolverVerdict(
            {m_HistoryKey, kGoalPosition, static_cast<int>(*goal), "", false, m_Options.SolverBudgetMs});
}

void TSolveLoop::StopThinking() {
    if (!m_Thinking) return;
    ++m_Asked;
    m_Thinking = false;
    if (m_Runner) m_Runner->Cancel();
    m_Output.Thinking(false);
    m_Board.SetNewMoveEnabled(!m_LineEnded);
}

bool TSolveLoop::PlaySolverMove(const std::string& move) {
    TPoint point;
    if (!PlayForTheOpponent(move, point)) return false;
    m_Output.ReplyPlayed(point.P, point.Q);
    Play(kSoundMove, false);
    return true;
}

void TSolveLoop::Judged(const std::string& move, const TJudgement& judgement) {
    m_Thinking = false;
    m_Output.Thinking(false);
    m_Board.SetNewMoveEnabled(true);
    const bool leftTheTree = MovesBeyondStart() - m_Tree.Level(m_Tree.Current()) == 1;
    const bool works = ReachesTheGoal(judgement.Verdict, m_Judge->KoIsTheAnswer());
    // The goal is reached once the opponent has answered (at once when it cannot); the ko the
    // problem asks for ends its line there, as the tree's would.
    const bool ends = works && (judgement.Ends || judgement.Verdict == TSolverVerdict::Ko);
    const std::string answer = ends ? "" : AnswerOf(judgement);
    m_Output.SolverJudged(move, judgement,
                          answer.empty() || answer == "TT" ? answer : m_Orientation.Apply(answer));
    if (works) {
        if (leftTheTree) m_Output.ShowNotice(Tx("NoticeAlsoWorks"));
        if (ends) {
            // The line counts as one of the tree's, ended in success.
            Conclude("1", false);
            Tail();
        } else if (PlaySolverMove(answer)) {
            // The line goes on against the solver.
            m_LastJudgement = judgement;
            m_LastJudgedAt = MovesBeyondStart();
        } else {
            // An answer the board refuses: no verdict after all.
            m_Output.ShowNotice(Tx("NoticeNotAnAnswer"));
            FailWhereItStands();
        }
        return;
    }
    if (judgement.Verdict == TSolverVerdict::Ko)
        m_Output.ShowNotice(Tx(judgement.PlayerTakesTheKoFirst ? "NoticeLeadsToYourKo" : "NoticeLeadsToTheirKo"));
    if (judgement.Verdict == TSolverVerdict::Unknown) m_Output.ShowNotice(Tx("NoticeNotAnAnswer"));
    // The refutation is played, so that the player sees why.
    if (!answer.empty() && answer != "TT") PlaySolverMove(answer);
    FailWhereItStands();
}

} // namespace karvena
