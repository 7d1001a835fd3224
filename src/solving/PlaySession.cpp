#include "solving/PlaySession.h"

#include "collection/OpenGroup.h"
#include "index/IndexLine.h"

namespace karvena {

TPlaySession::TPlaySession(TGoBoard& board, const TProblemStore& problems,
                           const std::string& historyPath)
    : m_Board(board), m_Problems(problems) {
    m_History.Open(historyPath);
    IStatisticsOutput& labels = *this;
    IProblemRecorder& recorder = *this;
    ISolveOutput& output = *this;
    m_Statistics = std::make_unique<TStatistics>(m_Index, m_History, labels);
    m_Loop = std::make_unique<TSolveLoop>(m_Board, m_Index, recorder, output);
    m_Loop->SetProblems(&m_Problems);
    m_Statistics->Orientation = [this] { return m_Loop->Orientation().Number(); };
    // The player's accepted clicks are written down before the loop answers them.
    auto loopsHandler = m_Board.OnLegalMove;
    m_Board.OnLegalMove = [this, loopsHandler](TGoBoard& sender, int16_t P, int16_t Q, int16_t kind,
                                               int16_t promoted, bool review) {
        m_Lines.push_back("move " + PointText(P, Q) + " player");
        loopsHandler(sender, P, Q, kind, promoted, review);
    };
    Click = [this](int P, int Q) { return m_Board.Click(P, Q, TMouseButton::Left, P, Q); };
    SetSolverOn(true);
}

void TPlaySession::SetSolverOn(bool on) {
    m_Loop->Options().JudgeMovesTheAnswerDoesNotList = on;
    m_Loop->SetSolver(on ? &m_Solver : nullptr, on ? &m_History : nullptr);
}

TPlaySession::~TPlaySession() {
    m_Statistics->EndAttempt();
    m_Board.OnLegalMove = nullptr;
}

bool TPlaySession::Load(int key) {
    const std::optional<TProblemRow> row = m_Problems.Find(key);
    if (!row) return false;
    std::vector<std::string> lines;
    int position = -1;
    for (const TProblemRow& listed : m_Problems.GroupWithNext(row->Group1)) {
        if (listed.Group1 != row->Group1) break;
        const int32_t historyKey = m_Problems.HistoryKeyOf(listed.Auto1);
        if (!m_History.Find(historyKey)) m_History.Append(historyKey);
        if (listed.Auto1 == key) position = static_cast<int>(lines.size());
        const std::optional<THistoryRow> past = m_History.Find(historyKey);
        lines.push_back(IndexLineOf(listed, past && past->SolvedCount > 0));
    }
    m_Index.SetGames(lines);
    m_Index.SetSelected(position);
    return m_Loop->LoadProblem(position);
}

std::vector<std::string> TPlaySession::Take() {
    std::vector<std::string> lines;
    lines.swap(m_Lines);
    return lines;
}

bool TPlaySession::Word(const std::string& word) {
    if (word == "next") {
        m_Loop->NextVariation();
    } else if (word == "timer") {
        if (m_TimerArmed) {
            m_TimerArmed = false;
            m_Loop->NextVariation();
        }
    } else if (word == "back") {
        m_Loop->Back();
    } else if (word == "again") {
        m_Loop->SolveAgain();
    } else if (word == "hint") {
        m_Loop->Hint();
    } else if (word.size() == 2 && word[0] >= 'A' && word[0] <= 'S' && word[1] >= 'A' &&
               word[1] <= 'S') {
        const TClickResult result = Click(LetterToCoord(word[0]), LetterToCoord(word[1]));
        if (result != TClickResult::Move) m_Lines.push_back("refused " + word);
    } else {
        return false;
    }
    const char* pending = m_Loop->RetryNode() == kNoNode
                              ? "none"
                              : (m_Loop->NextReply() != kNoNode ? "next" : "retry");
    m_Lines.push_back(std::string("pending ") + pending);
    return true;
}

void TPlaySession::SetResult(const std::string& text) {
    m_Lines.push_back("result " + text);
}
void TPlaySession::ShowNotice(const std::string& text) {
    m_Lines.push_back("notice " + text);
}
void TPlaySession::SetStatus(int panel, const std::string& text) {
    m_Lines.push_back("status " + std::to_string(panel) + " " + text);
}
void TPlaySession::PlaySound(int number, bool wait) {
    m_Lines.push_back("sound #" + std::to_string(number) + (wait ? " wait" : " async"));
}
void TPlaySession::ReplyPlayed(int P, int Q) {
    m_Lines.push_back("move " + PointText(P, Q) + " reply");
}
void TPlaySession::SolverJudged(const std::string& move, const TJudgement& judgement,
                                const std::string& answer) {
    // "works", "fails" with the refutation, "ko" (with who takes it first) or "unknown".
    const TSolverVerdict verdict = judgement.Verdict;
    const bool works = ReachesTheGoal(verdict, m_Loop->KoIsTheAnswer());
    std::string line = "solver " + move + " ";
    if (works)
        line += "works";
    else if (verdict == TSolverVerdict::Loss)
        line += "fails" + (answer.empty() ? std::string() : " " + answer);
    else
        line += VerdictName(verdict);
    if (!works && verdict == TSolverVerdict::Ko)
        line += judgement.PlayerTakesTheKoFirst ? " taken first by the player" : " taken first by the opponent";
    m_Lines.push_back(line);
}

void TPlaySession::StoneMarked(int P, int Q) {
    m_Lines.push_back("mark " + PointText(P, Q));
}

void TPlaySession::HintMarked(const std::string& good, const std::string& bad) {
    std::string line = "hint good";
    for (int k = 0; k < MovesIn(good); ++k)
        line += " " + good.substr(2 * k, 2);
    line += " bad";
    for (int k = 0; k < MovesIn(bad); ++k)
        line += " " + bad.substr(2 * k, 2);
    m_Lines.push_back(line);
}

void TPlaySession::RecordSolved() {
    m_Lines.push_back("record solved");
    m_Statistics->RecordSolved();
}
void TPlaySession::RecordFailure() {
    m_Lines.push_back("record failure");
    m_Statistics->RecordFailure();
}
void TPlaySession::RecordTakeback() {
    m_Lines.push_back("record takeback");
    m_Statistics->RecordTakeback();
}
void TPlaySession::RecordTrial() {
    m_Lines.push_back("record trial");
    m_Statistics->RecordTrial();
}
void TPlaySession::RecordHint(int kind) {
    m_Lines.push_back("record hint " + std::to_string(kind));
    m_Statistics->RecordHint(kind);
}

} // namespace karvena
