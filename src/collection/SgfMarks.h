#pragma once
// What an SGF problem's markup says about its lines. Collections mark a correct end in many ways
// (a comment word in English, Chinese or Japanese, a stated outcome such as "白死", the TE, BM,
// GB and GW properties) or not at all; this reads one node's marks and the problem's goal.
#include <string>

#include "collection/Sgf.h"

namespace karvena {

// What a node says of the line through it.
enum class TVerdict { None, Correct, Wrong };

// The problem's goal from its root comment: who plays and whether that side kills or lives.
struct TGoal {
    bool Known = false;
    bool Kill = false; // the player kills (else lives)
};
// `player` is 'B' or 'W', the side to play. "黑先杀", "Black to kill" and "Kill the white
// group" are kill goals, "黑先活", "White to live" live goals; the goal stays unknown otherwise.
TGoal GoalOf(const std::string& rootComment, char player);

// The verdict of a comment: the earliest of its result words decides ("Wrong, the correct move
// is A" is wrong; "Incorrect", "not correct" and "不正解" are negations, not the word they hold).
// Where the goal is known, an outcome the comment states ("白死", "Black lives") decides first.
TVerdict CommentVerdict(const std::string& comment, const TGoal& goal, char player);

// How a node's SGF markup marks the line.
struct TOutcomeMarks {
    TVerdict Verdict = TVerdict::None;
    bool NotBest = false; // "Also correct": a success through a move that is not the best
    bool Ko = false;      // the comment says the line ends in a ko ("Correct; advantageous ko.")
    int Flags = 0;        // BM 1, DO 4, "Also correct" 4
};
// `playersMove`: the node is a move of the side to play (BM there is a wrong move; on the
// opponent's move BM only flags a reply the opponent should avoid). The node's name (N) counts
// where its comment says nothing; on the opponent's move a name or comment calling it a variation
// of the answer ("变化", "Variation", "returns to the answer", 同正解) makes its line correct.
TOutcomeMarks OutcomeOf(const TSgfNode& node, const TGoal& goal, char player, bool playersMove);

// True when a result comment says the line ends in a ko: "ko" as a word, 劫 (打劫, 劫活, 劫杀) or
// コウ, and not "no ko", "without ko" or a clean result (净活, 净杀).
bool MentionsKo(const std::string& comment);

// The level a rank names in a name or a comment ("15 kyu", "15k", "3 dan", "3d", "1 段", "15 级"):
// 40 - kyu for kyu ranks (10 kyu is 30), 39 + dan for dan ranks (1 dan is 40); 0 when it names
// none. A rank stands on its own ("3d" in "d3d4" is none) and is one a player can hold: 1 to 30
// kyu, 1 to 9 dan.
int RankLevelOf(const std::string& text);

// The stated result from words of the root comment: 1 lives, 0 kill, 3 lives by ko, 2 killed
// by ko; -1 when the comment says none of them.
int StatedResult(const std::string& comment);

} // namespace karvena
