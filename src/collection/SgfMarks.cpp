#include "collection/SgfMarks.h"

#include "collection/SolutionTree.h"

#include <cctype>
#include <regex>
#include <vector>

namespace karvena {

namespace {

std::string TrimLeft(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r\n");
    return first == std::string::npos ? "" : s.substr(first);
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Contains(const std::string& text, const char* word) {
    return text.find(word) != std::string::npos;
}

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Where an English word (lower case) first stands in `text` on its own, npos when nowhere.
size_t WordAt(const std::string& text, const std::string& word) {
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const bool before = at > 0 && IsLetter(text[at - 1]);
        const size_t end = at + word.size();
        const bool after = end < text.size() && IsLetter(text[end]);
        if (!before && !after) return at;
    }
    return std::string::npos;
}

struct TWord {
    const char* Text;
    TVerdict Verdict;
    bool English; // matched as a whole word, in any case
};

// The result words of the common collections. A negation holds the word it negates, so it is
// found at the same place or earlier and wins.
const std::vector<TWord>& ResultWords() {
    static const std::vector<TWord> words = {
        {"incorrect", TVerdict::Wrong, true},  {"not correct", TVerdict::Wrong, true},
        {"almost correct", TVerdict::Wrong, true}, {"nearly correct", TVerdict::Wrong, true},
        {"not quite correct", TVerdict::Wrong, true}, {"isn't correct", TVerdict::Wrong, true},
        {"also correct", TVerdict::Correct, true},
        {"wrong", TVerdict::Wrong, true},      {"failure", TVerdict::Wrong, true},
        {"fail", TVerdict::Wrong, true},       {"correct", TVerdict::Correct, true},
        {"不正解", TVerdict::Wrong, false},    {"失败", TVerdict::Wrong, false},
        {"失敗", TVerdict::Wrong, false},      {"错误", TVerdict::Wrong, false},
        {"錯誤", TVerdict::Wrong, false},      {"正解", TVerdict::Correct, false},
        {"正确", TVerdict::Correct, false},    {"正確", TVerdict::Correct, false},
        {"成功", TVerdict::Correct, false},    {"净活", TVerdict::Correct, false},
        {"淨活", TVerdict::Correct, false},    {"净杀", TVerdict::Correct, false},
        {"淨殺", TVerdict::Correct, false},    {"劫杀", TVerdict::Correct, false},
        {"劫殺", TVerdict::Correct, false},
        // An answer variation: another resistance that still ends well for the player.
        {"变化图", TVerdict::Correct, false},  {"變化圖", TVerdict::Correct, false},
    };
    return words;
}

// The outcome a comment states for one side: +1 lives, -1 dies, 0 says nothing.
int StatedFate(const std::string& comment, const std::string& lower, char side) {
    const std::string chinese = side == 'B' ? "黑" : "白";
    for (const char* dies : {"死", "净死", "淨死", "棋死", "被杀", "被殺"})
        if (Contains(comment, (chinese + dies).c_str())) return -1;
    for (const char* lives : {"活", "净活", "淨活", "棋活"})
        if (Contains(comment, (chinese + lives).c_str())) return 1;
    const std::string english = side == 'B' ? "black" : "white";
    for (const char* dies : {" dies", " is dead", "'s dead", " is killed"})
        if (WordAt(lower, english + dies) != std::string::npos) return -1;
    for (const char* lives : {" lives", " is alive", "'s alive"})
        if (WordAt(lower, english + lives) != std::string::npos) return 1;
    return 0;
}

} // namespace

TGoal GoalOf(const std::string& rootComment, char player) {
    const int stated = StatedResult(rootComment);
    if (stated < 0) return {};
    // "White lives?" above a problem Black plays asks whether Black kills: a goal worded for the
    // opponent alone is not guessed.
    const std::string lower = Lower(rootComment);
    auto names = [&](char side) {
        return Contains(rootComment, side == 'B' ? "黑" : "白") ||
               WordAt(lower, side == 'B' ? "black" : "white") != std::string::npos;
    };
    const bool kill = stated == 0 || stated == 2;
    if (!kill && names(player == 'B' ? 'W' : 'B') && !names(player)) return {};
    return {true, kill};
}

TVerdict CommentVerdict(const std::string& comment, const TGoal& goal, char player) {
    const std::string lower = Lower(comment);
    if (goal.Known) {
        const char opponent = player == 'B' ? 'W' : 'B';
        const int mine = StatedFate(comment, lower, player);
        const int theirs = StatedFate(comment, lower, opponent);
        if (goal.Kill) {
            if (theirs < 0) return TVerdict::Correct;
            if (theirs > 0 || mine < 0) return TVerdict::Wrong;
        } else {
            if (mine > 0 || theirs < 0) return TVerdict::Correct;
            if (mine < 0) return TVerdict::Wrong;
            // A seki is life for the side that is to live.
            if (Contains(comment, "双活") || Contains(comment, "雙活")) return TVerdict::Correct;
        }
    }
    // "RIGHT" in capitals anywhere ("nice!RIGHT", "sekiRIGHT"); in any other case it is prose
    // about the right side. A lone "+" marks a correct end too.
    if (Contains(comment, "RIGHT") || TrimLeft(comment) == "+") return TVerdict::Correct;
    size_t first = std::string::npos;
    TVerdict verdict = TVerdict::None;
    for (const TWord& word : ResultWords()) {
        // A word of another script is matched as it stands, anywhere.
        const size_t at = word.English ? WordAt(lower, word.Text) : comment.find(word.Text);
        if (at < first) {
            first = at;
            verdict = word.Verdict;
        }
    }
    return verdict;
}

namespace {

// An opponent's reply that the author names or describes as a variation of the answer: its line
// ends as the answer does.
bool IsAnswerVariation(const std::string& comment, const std::string& name) {
    for (const char* words : {"变化", "變化"})
        if (Contains(comment, words) || Contains(name, words)) return true;
    // "Variation" as the name, or as the comment's first word ("Variation 2: …"); inside prose
    // ("this variation fails") it says nothing.
    return WordAt(Lower(name), "variation") != std::string::npos ||
           WordAt(TrimLeft(Lower(comment)), "variation") == 0;
}

// A line that says it comes back to the answer ends as the answer does.
bool ReturnsToTheAnswer(const std::string& comment) {
    for (const char* words : {"还原到正解", "還原到正解", "同正解", "回到正解"})
        if (Contains(comment, words)) return true;
    const std::string lower = Lower(comment);
    for (const char* words : {"returns to the answer", "back to the answer", "same as the answer",
                              "returns to the correct", "transposes to the correct"})
        if (Contains(lower, words)) return true;
    return false;
}

} // namespace

bool MentionsKo(const std::string& comment) {
    // Chinese and Japanese: 劫 (劫杀, 劫活, 打劫, 成劫) or コウ, but not a ko threat (劫材, コウ材), a
    // double ko (双劫: life), a clean result (净活, 净杀) or a ko denied.
    for (const char* not_a_ko : {"劫材", "コウ材", "双劫", "雙劫", "净", "淨", "无劫", "無劫", "不是劫",
                                 "不成劫", "避免打劫", "不用打劫", "不必打劫"})
        if (Contains(comment, not_a_ko)) return false;
    if (Contains(comment, "劫") || Contains(comment, "コウ")) return true;
    // English: prose mentions a ko for many reasons ("White should fight the ko instead", "no ko
    // threats", "lives without ko"); only a statement that the line ends in one counts.
    const std::string lower = Lower(comment);
    if (WordAt(lower, "ko") == std::string::npos) return false;
    static const std::regex denied(R"(double ko|without (a )?ko|\bno ko\b|not (a )?ko\b|avoid (a |the )?ko)");
    if (std::regex_search(lower, denied)) return false;
    static const std::regex stated(
        R"(^\s*(correct|wrong|incorrect|right)\s*[;,.:!-]*\s*([a-z-]+\s+)?ko\b)"
        R"(|^\s*(a\s+)?ko\s*[.!]?\s*$)"
        R"(|\b(advantageous|disadvantageous|favou?rable|unfavou?rable|direct|approach|one[- ]step|two[- ]step|two[- ]stage|multi[- ]step|year)\s+ko\b)"
        R"(|\b(it's|it is|this is|that's|that is)\s+(still\s+|also\s+)?(a\s+)?ko\b)"
        R"(|\bko is the best\b|\bthis ko is\b|\bko for (life|the kill)\b)"
        R"(|\b(live|lives|living|kill|kills|killing)\s+(in|by|with)\s+(a\s+)?ko\b)"
        R"(|\b(can|to|and)\s+make\s+a\s+ko\s*[.!]?\s*$)");
    return std::regex_search(lower, stated);
}

int RankLevelOf(const std::string& text) {
    static const std::regex rank(R"((^|[^0-9A-Za-z])([0-9]{1,2}) ?(kyu|k|dan|d|级|級|段)(?![A-Za-z]))",
                                 std::regex::icase);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), rank); it != std::sregex_iterator(); ++it) {
        const int n = std::stoi((*it)[2].str());
        const std::string unit = Lower((*it)[3].str());
        const bool kyu = unit == "kyu" || unit == "k" || unit == "级" || unit == "級";
        if (kyu && n >= 1 && n <= 30) return 40 - n;
        if (!kyu && n >= 1 && n <= 9) return 39 + n;
    }
    return 0;
}

TOutcomeMarks OutcomeOf(const TSgfNode& node, const TGoal& goal, char player, bool playersMove) {
    TOutcomeMarks marks;
    const std::string comment = node.Get("C");
    const std::string name = node.Get("N");
    marks.Verdict = CommentVerdict(comment, goal, player);
    // A diagram's name ("正解图", "失败图", "Correct") where the comment says nothing.
    if (marks.Verdict == TVerdict::None) marks.Verdict = CommentVerdict(name, goal, player);
    if (marks.Verdict == TVerdict::None &&
        (ReturnsToTheAnswer(comment) || (!playersMove && IsAnswerVariation(comment, name))))
        marks.Verdict = TVerdict::Correct;
    marks.Ko = MentionsKo(comment) || MentionsKo(name);
    // "Also correct", "This is also correct.": a success, not the best answer.
    if (marks.Verdict == TVerdict::Correct &&
        WordAt(Lower(comment), "also correct") != std::string::npos) {
        marks.NotBest = true;
        marks.Flags |= kFlagNotBest;
    }
    // Good for Black, good for White: a result for that side.
    const bool goodForPlayer = node.Has(player == 'B' ? "GB" : "GW");
    const bool goodForOpponent = node.Has(player == 'B' ? "GW" : "GB");
    if (marks.Verdict == TVerdict::None && goodForPlayer != goodForOpponent)
        marks.Verdict = goodForPlayer ? TVerdict::Correct : TVerdict::Wrong;
    // TE and BM judge the move they stand on: the player's tesuji, or the player's bad move.
    if (marks.Verdict == TVerdict::None && playersMove) {
        if (node.Has("TE")) marks.Verdict = TVerdict::Correct;
        if (node.Has("BM")) marks.Verdict = TVerdict::Wrong;
    }
    if (node.Has("BM")) marks.Flags |= kFlagBad;
    if (node.Has("DO")) marks.Flags |= kFlagNotBest;
    return marks;
}

int StatedResult(const std::string& comment) {
    static const std::regex koWord(R"(\bko\b)"), liveWord(R"(\blives?\b)"), killWord(R"(\bkill)");
    const std::string text = Lower(comment);
    const bool ko = std::regex_search(text, koWord) || Contains(comment, "劫");
    const bool lives = std::regex_search(text, liveWord) || Contains(comment, "活");
    const bool kill =
        std::regex_search(text, killWord) || Contains(comment, "杀") || Contains(comment, "殺");
    if (lives) return ko ? 3 : 1;
    if (kill) return ko ? 2 : 0;
    return -1;
}

} // namespace karvena
