// karvena-collection: turns SGF problem files into the trainer's collection archive and
// inspects archives.
//   build <sgf files or folders>... [--levels <map>] -o <archive>
//   list <archive> [--group N]
//   check [--prove [--budget-ms N | --budget-nodes N]] <archive>
//   export <archive> <key> -o <file.sgf> [--budget-ms N | --budget-nodes N] [--history <file>]
//   dump <archive> <key>
//   play <archive> <key> [--avoid-bad] [--lang en|zh_CN] [--history <file>] [--transform N]
//        [--no-solver] [--budget-ms N | --budget-nodes N] <word>...
//   solve <archive> <key> [<word>...] [--budget-ms N | --budget-nodes N] [--moves] [--goal kill|live]
//         [--transform N] [--along-the-edge]
//   prove <archive> [--group N] [--jobs N] [--budget-ms N | --budget-nodes N]
#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "collection/Archive.h"
#include "collection/CollectionBuilder.h"
#include "collection/DerivedGoals.h"
#include "solving/ProblemCheck.h"
#include "collection/OpenGroup.h"
#include "collection/SgfExport.h"
#include "collection/SolutionBlob.h"
#include "text/Texts.h"
#include "solving/PlaySession.h"
#include "solving/ProblemProof.h"
#include "solving/SettingsStore.h"

#include <filesystem>
#include <unistd.h>

using namespace karvena;

namespace {

int Usage() {
    std::fprintf(
        stderr,
        "usage: karvena-collection build <sgf files or folders>... [--levels <map>] -o <archive>\n"
        "                                [--goals <file>]\n"
        "--goals takes the goals the goals command found for problems that state none (each\n"
        "matched by the problem's fingerprint), so the trainer need not look for them.\n"
        "       karvena-collection goals <archive> [--budget-nodes N] -o <file>\n"
        "goals finds the goal of each problem that states none, as the trainer would (200000\n"
        "positions a first move unless given), on every core, and writes one line a problem:\n"
        "its fingerprint and the goal (one an earlier run stored in the archive is found afresh).\n"
        "       karvena-collection list <archive> [--group N]\n"
        "       karvena-collection check [--prove [--budget-ms N]] <archive>\n"
        "       karvena-collection export <archive> <key> -o <file.sgf> [--budget-ms N]\n"
        "                                 [--history <file>]\n"
        "check --prove adds what the solver finds (1000 ms a move unless given): correct first\n"
        "moves it refutes, wrong ones it proves correct, and moves the tree lacks that work, each\n"
        "with its line; export writes a problem as SGF with those lines added as variations,\n"
        "and with --history the moves that worked in play (the trainer's verdicts) too.\n"
        "       karvena-collection dump <archive> <key>\n"
        "       karvena-collection play <archive> <key> [--avoid-bad] [--lang en|zh_CN]\n"
        "                               [--history <file>] [--transform N] [--no-solver]\n"
        "                               [--budget-ms N | --budget-nodes N] <words>...\n"
        "play puts a move the tree does not list to the solver (2000 ms unless given), as the\n"
        "trainer does: \"solver XX works\", \"solver XX fails YY\" (YY its refutation, played),\n"
        "\"solver XX ko\" or \"solver XX unknown\"; --no-solver leaves such moves to the tree.\n"
        "A key is written as list prints it: four hexadecimal digits.\n"
        "--transform shows the problem turned, mirrored or with its colours swapped (0 as\n"
        "stored, 1 a quarter turn clockwise, 2 a half turn, 3 a quarter turn anticlockwise,\n"
        "4 mirrored left-right, 5 top-bottom, 6 across the P = Q diagonal, 7 across the other;\n"
        "8-15 the same with the colours swapped); words and transcript name points as shown.\n"
        "       karvena-collection solve <archive> <key> [<words>...] [=<move>...] [--budget-ms N] [--moves]\n"
        "                                [--goal kill|live] [--transform N] [--along-the-edge]\n"
        "       karvena-collection prove <archive> [--group N] [--jobs N] [--budget-ms N]\n"
        "solve plays the words as play does, prints the question (goal, target, region, the\n"
        "frame: the points around an open region given to the attacker, and the points beyond\n"
        "the wall: just past a gap, played only by the attacker beside a defender's stone),\n"
        "then asks the solver what the problem's player reaches, whoever is to move (win: the\n"
        "player's goal, kill or live, is reached; ko, loss or unknown within the budget, 1000 ms\n"
        "unless given); --moves judges each point of the region instead. Moves written =XX are\n"
        "played after the words by either side in turn, the tree answering none (TT a pass): a\n"
        "line of prove replayed.\n"
        "--along-the-edge lets the region reach a point further along the edge, as prove does\n"
        "before it counts a disagreement.\n"
        "prove judges every first move of every problem's tree, N problems at a time with\n"
        "--jobs (one unless given; each holds its own table of positions).\n"
        "--budget-nodes N bounds each search by positions instead of time: the same answer on\n"
        "any machine.\n");
    return 2;
}

// A problem key as list prints it (hexadecimal, at most four digits); nullopt for anything else.
std::optional<int> ParseKey(const std::string& text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 16));
}

// True (and says so) when reading the table stopped on damage: never a shorter table.
bool ReadFailed(const std::string& path, const TProblemStore& store) {
    if (store.ReadError().empty()) return false;
    std::fprintf(stderr, "%s: the problem table is damaged: %s\n", path.c_str(),
                 store.ReadError().c_str());
    return true;
}

// Opens an archive's problem database; prints why not.
bool OpenArchive(const std::string& path, TProblemStore& store) {
    const TArchiveRead read = ReadArchiveMember(path);
    if (read.Error != TArchiveError::None) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), read.Detail.c_str());
        return false;
    }
    if (!store.Open(read.Bytes) || !store.HasProblemTable()) {
        std::fprintf(stderr, "%s: no problem table in the archive\n", path.c_str());
        return false;
    }
    return true;
}

int Build(const std::vector<std::string>& args) {
    std::vector<std::string> inputs;
    std::string output, levelsPath;
    std::string goalsPath;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            output = args[++i];
        else if (args[i] == "--levels" && i + 1 < args.size())
            levelsPath = args[++i];
        else if (args[i] == "--goals" && i + 1 < args.size())
            goalsPath = args[++i];
        else
            inputs.push_back(args[i]);
    }
    if (output.empty() || inputs.empty()) return Usage();
    TLevelMap levels;
    if (!levelsPath.empty()) {
        std::string error;
        if (!ReadLevelMap(levelsPath, levels, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
    }
    // Every problem is checked as "check" would: one the trainer cannot play is left out.
    TBuiltCollection built =
        BuildCollection(inputs, levelsPath.empty() ? nullptr : &levels, CheckProblem);
    // What each file left out and why, in file order, then one line for the whole build.
    for (const std::string& skipped : built.Skipped)
        std::fprintf(stderr, "skipped %s\n", skipped.c_str());
    for (const std::string& warning : built.Warnings)
        std::fprintf(stderr, "warning %s\n", warning.c_str());
    std::fprintf(stderr, "%d files read, %zu problems imported, %zu left out, %d with a warning\n",
                 built.Files, built.Rows.size(), built.Skipped.size(), built.WithWarning);
    if (!built.Error.empty() || built.Rows.empty()) {
        std::fprintf(stderr, "no archive written: %s\n",
                     built.Error.empty() ? "no problem could be read" : built.Error.c_str());
        return 2;
    }
    if (!goalsPath.empty()) {
        std::map<std::string, int32_t> goals;
        std::string error;
        if (!ReadDerivedGoals(goalsPath, goals, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
        const int applied = ApplyDerivedGoals(goals, built.Rows);
        std::fprintf(stderr, "%d goals found ahead applied\n", applied);
    }
    // The table is written to a scratch file beside the archive and zipped from there, so a large
    // collection is never held twice.
    const std::string table = output + ".table-" + std::to_string(getpid());
    std::remove(table.c_str());
    std::string error;
    {
        TProblemTableWriter writer(table);
        for (TProblemRow& row : built.Rows) {
            if (!writer.Add(row)) break;
            std::vector<uint8_t>().swap(row.Solution); // in the table now
        }
        if (!writer.Finish()) error = writer.Error();
    }
    std::vector<TProblemRow>().swap(built.Rows);
    if (error.empty()) error = WriteArchiveFromFile(output, table);
    std::remove(table.c_str());
    if (!error.empty()) {
        std::fprintf(stderr, "no archive written: %s\n", error.c_str());
        return 2;
    }
    for (const auto& [group, count] : built.ProblemsPerGroup)
        std::printf("group %d: %d problems\n", group, count);
    return 0;
}

int List(const std::vector<std::string>& args) {
    if (args.empty()) return Usage();
    TProblemStore store;
    if (!OpenArchive(args[0], store)) return 2;
    std::vector<int> groups;
    if (args.size() >= 3 && args[1] == "--group")
        groups.push_back(std::atoi(args[2].c_str()));
    else
        groups = store.GroupNumbers();
    for (int group : groups) {
        for (const TProblemRow& row : store.GroupWithNext(group)) {
            if (row.Group1 != group) break;
            std::printf("%s\n", IndexLineOf(row, false).c_str());
        }
    }
    return ReadFailed(args[0], store) ? 2 : 0;
}

// The budget of --budget-ms N (1000 ms unless given) or --budget-nodes N (positions, the same
// answer on any machine; no time bound then); false for a number that is no budget.
bool ReadBudget(const std::vector<std::string>& args, size_t& i, TSolverBudget& budget) {
    const bool ms = args[i] == "--budget-ms", nodes = args[i] == "--budget-nodes";
    if ((!ms && !nodes) || i + 1 >= args.size()) return false;
    const std::optional<int> n = SettingNumber(args[++i]);
    if (!n || *n <= 0) return false;
    if (ms) budget.Milliseconds = *n;
    if (nodes) {
        budget.Nodes = *n;
        budget.Milliseconds = 0;
    }
    return true;
}

// The solver's findings on a problem, judged within `budget` a move.
std::vector<TFinding> Findings(const TProblemRow& row, const TSolverBudget& budget) {
    TSolutionTree tree;
    try {
        LoadSolution(tree, row.Solution);
    } catch (const TBlobError&) {
        return {}; // check says so on its own
    }
    return FindingsOf(ProveProblem(row, budget), tree, budget);
}

int Check(const std::vector<std::string>& given) {
    std::vector<std::string> args;
    bool prove = false;
    TSolverBudget budget;
    budget.Milliseconds = 1000;
    for (size_t i = 0; i < given.size(); ++i) {
        if (given[i] == "--prove")
            prove = true;
        else if (given[i] == "--budget-ms" || given[i] == "--budget-nodes") {
            if (!ReadBudget(given, i, budget)) return Usage();
        } else
            args.push_back(given[i]);
    }
    if (args.size() != 1) return Usage();
    TProblemStore store;
    if (!OpenArchive(args[0], store)) return 2;
    int problems = 0, reported = 0;
    for (int group : store.GroupNumbers()) {
        for (const TProblemRow& listed : store.GroupWithNext(group)) {
            if (listed.Group1 != group) break;
            ++problems;
            const std::optional<TProblemRow> row = store.Find(listed.Auto1);
            if (!row) continue; // a damaged row: ReadFailed says so below
            for (const std::string& issue : CheckProblem(*row)) {
                std::printf("%s\n", issue.c_str());
                ++reported;
            }
            if (!prove) continue;
            for (const TFinding& finding : Findings(*row, budget)) {
                std::printf("%04X: %s\n", static_cast<unsigned>(row->Auto1), FindingText(finding).c_str());
                ++reported;
            }
            std::fflush(stdout);
        }
    }
    std::printf("%d problems checked, %d reported\n", problems, reported);
    if (ReadFailed(args[0], store)) return 2;
    return reported ? 1 : 0;
}

int Dump(const std::vector<std::string>& args) {
    if (args.size() < 2) return Usage();
    TProblemStore store;
    if (!OpenArchive(args[0], store)) return 2;
    const std::optional<int> key = ParseKey(args[1]);
    if (!key) return Usage();
    const std::optional<TProblemRow> row = store.Find(*key);
    if (!row) {
        std::fprintf(stderr, "no problem %s\n", args[1].c_str());
        return 1;
    }
    std::printf(
        "Auto1 %d\nGroup1 %d\nLevel1 %d\nNum %d\nArrangedBlack %s\nArrangedWhite %s\nInitial %s\n"
        "FirstToPlay %s\nResult2 %s\n",
        row->Auto1, row->Group1, row->Level1, row->Num, row->ArrangedBlack.c_str(),
        row->ArrangedWhite.c_str(), row->Initial.c_str(), row->FirstToPlay.c_str(),
        row->Result2 ? std::to_string(*row->Result2).c_str() : "");
    TSolutionTree tree;
    try {
        LoadSolution(tree, row->Solution);
    } catch (const TBlobError& e) {
        std::printf("Solution corrupted: %s\n", e.what());
        return 1;
    }
    std::printf("%s", tree.Dump().c_str());
    return 0;
}

// Loads the problem into the session and plays the words, printing the transcript; 0, or 1 for
// a problem that is not there, 2 for a word that is none.
int PlayTheWords(TPlaySession& session, int key, const std::string& keyText,
                 const std::vector<std::string>& words) {
    if (!session.Load(key)) {
        std::fprintf(stderr, "no problem %s\n", keyText.c_str());
        return 1;
    }
    session.Take(); // the set-up itself is not a move
    for (const std::string& word : words) {
        if (!session.Word(word)) {
            std::fprintf(stderr, "unknown word %s\n", word.c_str());
            return 2;
        }
        for (const std::string& line : session.Take())
            std::printf("%s\n", line.c_str());
    }
    return 0;
}

int PlayWords(const std::vector<std::string>& args) {
    if (args.size() < 2) return Usage();
    TProblemStore store;
    if (!OpenArchive(args[0], store)) return 2;
    const std::optional<int> parsedKey = ParseKey(args[1]);
    if (!parsedKey) return Usage();
    const int key = *parsedKey;
    bool avoidBad = false;
    bool solver = true;
    TSolverBudget budget;
    budget.Milliseconds = TSolveOptions{}.SolverBudgetMs;
    int transform = 0;
    std::string history;
    std::vector<std::string> words;
    SetLanguageFlags(TLanguage::English);
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--avoid-bad")
            avoidBad = true;
        else if (args[i] == "--no-solver")
            solver = false;
        else if (args[i] == "--budget-ms" || args[i] == "--budget-nodes") {
            if (!ReadBudget(args, i, budget)) return Usage();
        }
        else if (args[i] == "--lang" && i + 1 < args.size())
            SetLanguageFlags(LanguageFromSetting(args[++i] == "zh_CN" ? "zh_CN" : "en", nullptr));
        else if (args[i] == "--history" && i + 1 < args.size())
            history = args[++i];
        else if (args[i] == "--transform" && i + 1 < args.size()) {
            const std::optional<int> number = SettingNumber(args[++i]);
            if (!number || *number < 0 || *number >= TOrientation::kCount) return Usage();
            transform = *number;
        }
        else
            words.push_back(args[i]);
    }
    // A throwaway history unless one is named.
    const bool throwaway = history.empty();
    if (throwaway)
        history = (std::filesystem::temp_directory_path() /
                   ("karvena-play-" + std::to_string(getpid()) + ".cds"))
                      .string();
    int status = 0;
    {
        // The trainer's board: it refuses a click while the opponent is to move.
        TGoBoard board;
        ApplyMainFormPreset(board);
        TPlaySession session(board, store, history);
        session.Loop().SetComputerDoNotPlayBadMove(avoidBad);
        session.Loop().FixedOrientation = transform;
        session.SetSolverOn(solver);
        session.Loop().Options().SolverBudgetMs = static_cast<int>(budget.Milliseconds);
        session.Loop().Options().SolverBudgetNodes = budget.Nodes;
        status = PlayTheWords(session, key, args[1], words);
        // A named history that could not take every change is an error, not a quiet success.
        if (!throwaway && session.History().SaveFailed()) {
            std::fprintf(stderr, "%s: changes could not be saved: %s\n", history.c_str(),
                         session.History().WriteError().c_str());
            if (status == 0) status = 3;
        }
    }
    if (throwaway) {
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(history + suffix);
    }
    return status;
}

int Solve(const std::vector<std::string>& args) {
    if (args.size() < 2) return Usage();
    TProblemStore store;
    if (!OpenArchive(args[0], store)) return 2;
    const std::optional<int> key = ParseKey(args[1]);
    if (!key) return Usage();
    TSolverBudget budget;
    budget.Milliseconds = 1000;
    bool eachMove = false;
    int transform = 0;
    bool alongTheEdge = false;
    std::optional<TLifeGoal> goal;
    std::vector<std::string> words, direct;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--moves")
            eachMove = true;
        else if (args[i] == "--along-the-edge")
            alongTheEdge = true;
        else if (args[i] == "--goal" && i + 1 < args.size())
            goal = args[++i] == "kill" ? TLifeGoal::Kill : TLifeGoal::Live;
        else if (args[i] == "--budget-ms" || args[i] == "--budget-nodes") {
            if (!ReadBudget(args, i, budget)) return Usage();
        } else if (args[i] == "--transform" && i + 1 < args.size()) {
            const std::optional<int> number = SettingNumber(args[++i]);
            if (!number || *number < 0 || *number >= TOrientation::kCount) return Usage();
            transform = *number;
        } else if (args[i][0] == '=')
            direct.push_back(args[i].substr(1));
        else
            words.push_back(args[i]);
    }
    const std::optional<TProblemRow> row = store.Find(*key);
    if (!row) {
        std::fprintf(stderr, "no problem %s\n", args[1].c_str());
        return 1;
    }
    TSolutionTree tree;
    try {
        LoadSolution(tree, row->Solution);
    } catch (const TBlobError& e) {
        std::fprintf(stderr, "problem %s: solution data corrupted: %s\n", args[1].c_str(), e.what());
        return 1;
    }
    TProblemQuestion start = QuestionOf(*row, tree, goal, alongTheEdge);
    if (!start.Ok() && start.Error == kNoStatedGoal) {
        // No stated goal: the one the tree's answer fits, as prove derives it.
        const TProblemProof proof = ProveProblem(*row, budget);
        if (proof.Error.empty()) {
            start = QuestionOf(*row, tree, proof.Question.Question.Goal, alongTheEdge);
            start.Ko = start.Ko || proof.Question.Ko;
        } else {
            start.Error = proof.Error;
        }
    }
    if (!start.Ok()) {
        std::fprintf(stderr, "problem %s: %s\n", args[1].c_str(), start.Error.c_str());
        return 1;
    }
    // The words are played as play plays them, the tree answering, in the orientation asked
    // for; the question is then asked of the position reached.
    start = Oriented(start, TOrientation(transform, start.Question.Board.Lines()));
    const std::string history = (std::filesystem::temp_directory_path() /
                                 ("karvena-solve-" + std::to_string(getpid()) + ".cds"))
                                    .string();
    TLifeAndDeath question;
    int status = 0;
    {
        TGoBoard board;
        ApplyMainFormPreset(board);
        TPlaySession session(board, store, history);
        session.Loop().FixedOrientation = transform;
        status = PlayTheWords(session, *key, args[1], words);
        if (status == 0) question = QuestionAt(start, board);
    }
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(history + suffix);
    if (status != 0) return status;
    // Words written =XX are played after the others by whichever side is to move, the tree
    // answering none of them: a line prove printed can be followed move by move.
    for (const std::string& word : direct)
        if (!question.Play(PointOfMove(word, question.Board.Lines()))) {
            std::fprintf(stderr, "problem %s: =%s is no legal move here\n", args[1].c_str(),
                         word.c_str());
            return 1;
        }
    std::string region;
    for (const int p : question.Region)
        region += " " + SolverPointText(p);
    std::printf("goal %s target %s region%s\n", question.Goal == TLifeGoal::Kill ? "kill" : "live",
                SolverPointText(question.Target.front()).c_str(), region.c_str());
    std::string frame;
    for (const int p : start.Frame)
        frame += " " + SolverPointText(p);
    std::printf("frame%s\n", frame.c_str());
    if (!question.Beyond.empty()) {
        std::string beyond;
        for (const int p : question.Beyond)
            beyond += " " + SolverPointText(p);
        std::printf("beyond the wall%s\n", beyond.c_str());
    }
    if (eachMove) {
        for (const TJudgedMove& judged : JudgeMoves(question, budget))
            std::printf("move %s %s\n", SolverPointText(judged.Point).c_str(),
                        VerdictName(judged.Verdict));
        return 0;
    }
    const TSolveResult result = karvena::Solve(question, budget);
    std::printf("solve %s best %s nodes %lld ms %lld\n", VerdictName(result.Verdict),
                result.Best < 0 ? "-" : SolverPointText(result.Best).c_str(),
                static_cast<long long>(result.Nodes), static_cast<long long>(result.Milliseconds));
    if (result.Verdict == TSolverVerdict::Ko) std::printf("%s\n", VerdictText(result).c_str());
    if (!result.Line.empty()) {
        std::string line;
        for (const int p : result.Line)
            line += (line.empty() ? "" : " ") + SolverPointText(p);
        std::printf("line %s\n", line.c_str());
    }
    return 0;
}

// The verdicts of moves that work, as lines added where they leave the tree (a position deeper in
// a line the solver supplied is part of the line already written).
std::vector<TAddedLine> PlayedLinesThatWork(const std::vector<TSolverVerdictRow>& verdicts,
                                            const TSolutionTree& tree) {
    std::vector<TAddedLine> lines;
    for (const TSolverVerdictRow& v : verdicts) {
        if (v.Verdict != static_cast<int>(TSolverVerdict::Win) || v.Position.size() < 2 ||
            v.Position.size() % 2 != 0 || v.Position == "goal")
            continue;
        TAddedLine line;
        TNodeId node = tree.Root();
        for (size_t k = 0; k + 2 < v.Position.size() && node != kNoNode; k += 2) {
            const std::string move = v.Position.substr(k, 2);
            line.After.push_back(move);
            TNodeId child = kNoNode;
            for (TNodeId c = tree.FirstChild(node); c != kNoNode; c = tree.NextSibling(c))
                if (tree.MoveOf(c) == move) child = c;
            node = child;
        }
        if (node == kNoNode) continue; // it leaves the tree earlier
        const std::string last = v.Position.substr(v.Position.size() - 2);
        bool listed = false;
        for (TNodeId c = tree.FirstChild(node); c != kNoNode; c = tree.NextSibling(c))
            listed |= tree.MoveOf(c) == last;
        if (listed) continue;
        line.Moves.push_back(last);
        for (size_t k = 0; k + 1 < v.Line.size(); k += 2)
            line.Moves.push_back(v.Line.substr(k, 2));
        line.Comment = "Solver: this also works (found in play).";
        line.End = "Correct";
        lines.push_back(line);
    }
    return lines;
}

int Export(const std::vector<std::string>& args) {
    if (args.size() < 2) return Usage();
    TProblemStore store;
    if (!OpenArchive(args[0], store)) return 2;
    const std::optional<int> key = ParseKey(args[1]);
    if (!key) return Usage();
    std::string out, historyPath;
    TSolverBudget budget;
    budget.Milliseconds = 1000;
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--history" && i + 1 < args.size())
            historyPath = args[++i];
        else if (!ReadBudget(args, i, budget))
            return Usage();
    }
    if (out.empty()) return Usage();
    const std::optional<TProblemRow> row = store.Find(*key);
    if (!row) {
        std::fprintf(stderr, "no problem %s\n", args[1].c_str());
        return ReadFailed(args[0], store) ? 2 : 1;
    }
    TSolutionTree tree;
    try {
        LoadSolution(tree, row->Solution);
    } catch (const TBlobError& e) {
        std::fprintf(stderr, "problem %s: solution data corrupted: %s\n", args[1].c_str(), e.what());
        return 1;
    }
    std::vector<TAddedLine> added;
    for (const TFinding& f : Findings(*row, budget)) {
        TAddedLine line;
        for (const int p : f.Solved.Line)
            line.Moves.push_back(SolverPointText(p));
        if (f.Kind == TFinding::LackedWorks) {
            line.Moves.insert(line.Moves.begin(), f.Move);
            line.Comment = "Solver: this also works.";
            line.End = "Correct";
        } else {
            line.After = {f.Move};
            const bool refutes = f.Kind == TFinding::CorrectFails;
            line.Comment = refutes ? "Solver: this refutes the answer." : "Solver: the move works.";
            line.End = refutes ? "Wrong" : "Correct";
        }
        if (line.Moves.empty()) continue;
        added.push_back(line);
        std::printf("%s\n", FindingText(f).c_str());
    }
    // The moves a player found in the trainer that the tree lacks and the solver judged to work:
    // where they leave the tree, with the solver's line after them.
    if (!historyPath.empty()) {
        THistoryStore history;
        const THistoryOpen opened = history.Open(historyPath, THistoryAccess::ReadOnly);
        if (!opened.Ok) {
            std::fprintf(stderr, "%s: %s\n", historyPath.c_str(), opened.Error.c_str());
            return 2;
        }
        for (const TAddedLine& line : PlayedLinesThatWork(history.SolverVerdicts(store.HistoryKeyOf(*key)), tree)) {
            const bool known = std::any_of(added.begin(), added.end(), [&](const TAddedLine& a) {
                return a.After == line.After && a.Moves.front() == line.Moves.front();
            });
            if (known) continue;
            added.push_back(line);
            std::string text;
            for (const std::string& m : line.Moves)
                text += (text.empty() ? "" : " ") + m;
            std::printf("found in play: %s\n", text.c_str());
        }
    }
    // Written whole or not at all.
    const std::string partial = out + ".partial";
    {
        std::FILE* file = std::fopen(partial.c_str(), "wb");
        const std::string text = ProblemSgf(*row, tree, added);
        bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
        if (file && std::fclose(file) != 0) written = false;
        if (!written || std::rename(partial.c_str(), out.c_str()) != 0) {
            std::remove(partial.c_str());
            std::fprintf(stderr, "%s: cannot be written\n", out.c_str());
            return 3;
        }
    }
    std::printf("export: %s, %zu lines added\n", out.c_str(), added.size());
    return 0;
}

// Runs work(i) for every i below `count` on `jobs` threads, each i once.
template <typename TWork> void OnThreads(size_t count, unsigned jobs, TWork work) {
    std::atomic<size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < std::max(1u, jobs); ++t)
        workers.emplace_back([&] {
            for (size_t i = next++; i < count; i = next++)
                work(i);
        });
    for (std::thread& worker : workers)
        worker.join();
}

// Finds the goal of every problem of an archive that states none, on every core, and writes
// "fingerprint value" a line (the build's --goals reads it back).
int Goals(const std::vector<std::string>& args) {
    if (args.empty()) return Usage();
    TProblemStore store;
    if (!OpenArchive(args[0], store)) return 2;
    TSolverBudget perMove;
    perMove.Nodes = 200000;
    perMove.TableBytes = size_t{16} << 20;
    std::string output;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            output = args[++i];
        else if (!ReadBudget(args, i, perMove) || perMove.Nodes <= 0)
            return Usage();
    }
    if (output.empty()) return Usage();
    std::vector<TProblemRow> rows;
    for (const int group : store.GroupNumbers())
        for (const TProblemRow& listed : store.GroupWithNext(group)) {
            if (listed.Group1 != group) break;
            if (std::optional<TProblemRow> row = store.Find(listed.Auto1)) rows.push_back(std::move(*row));
        }
    const auto start = std::chrono::steady_clock::now();
    std::vector<char> derived(rows.size(), 0);
    OnThreads(rows.size(), std::thread::hardware_concurrency(), [&](size_t i) {
        // A goal found ahead by an earlier run is found afresh: the solver may see further now.
        TProblemRow copy = rows[i];
        if (copy.Result2 && *copy.Result2 >= kResultDerivedKill && *copy.Result2 <= kResultDerivedKoLive)
            copy.Result2.reset();
        if (StoreDerivedGoal(copy, perMove)) {
            rows[i].Result2 = copy.Result2;
            derived[i] = 1;
        }
    });
    const std::string scratch = output + ".part";
    {
        std::ofstream out(scratch, std::ios::trunc);
        out << "# The goal of each bundled problem that states none, as the solver finds it from the\n"
               "# problem's tree (" << perMove.Nodes << " positions a first move): the problem's fingerprint,\n"
               "# then 5 kill, 6 live, 7 kill by ko, 8 live by ko. Written by karvena-collection goals.\n";
        for (size_t i = 0; i < rows.size(); ++i)
            if (derived[i]) out << ProblemFingerprint(rows[i]) << ' ' << *rows[i].Result2 << '\n';
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", scratch.c_str());
            return 2;
        }
    }
    if (std::rename(scratch.c_str(), output.c_str()) != 0) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 2;
    }
    const auto seconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count() / 1000.0;
    std::printf("goals found for %zu of %zu problems in %.1f s\n",
                static_cast<size_t>(std::count(derived.begin(), derived.end(), 1)), rows.size(), seconds);
    return ReadFailed(args[0], store) ? 2 : 0;
}

// One problem's line of prove's report ("0004 agree goal kill region 14 …").
std::string ProofLine(const TProblemRow& row, const TProblemProof& proof) {
    char key[8];
    std::snprintf(key, sizeof key, "%04X", static_cast<unsigned>(row.Auto1));
    if (!proof.Error.empty()) return std::string(key) + " unknown goal - region 0 (" + proof.Error + ")";
    const TLifeAndDeath& q = proof.Question.Question;
    std::string line = std::string(key) + " " + AgreementName(proof.Agreement) + " goal " +
                       (q.Goal == TLifeGoal::Kill ? "kill" : "live") + " region " +
                       std::to_string(q.Region.size());
    for (const TFirstMoveProof& move : proof.Moves) {
        if (move.Agreement == TAgreement::Agree) continue;
        line += std::string(" ") + move.Move + (move.TreeCorrect ? " correct " : " wrong ") +
                VerdictText(move.Solved);
        if (move.Agreement != TAgreement::Disagree) continue;
        line += " [" + LineText(move.Move, move.Solved.Line) + "]";
        const std::vector<int>& koEndings = proof.Question.AnswersEndingOnAKo;
        if (move.TreeCorrect && move.Solved.Verdict == TSolverVerdict::Ko &&
            std::count(koEndings.begin(), koEndings.end(), PointOfMove(move.Move, q.Board.Lines())))
            line += " (the tree's own line ends on a ko taken)";
    }
    return line;
}

int Prove(const std::vector<std::string>& args) {
    if (args.empty()) return Usage();
    TProblemStore store;
    if (!OpenArchive(args[0], store)) return 2;
    TSolverBudget budget;
    budget.Milliseconds = 1000;
    std::optional<int> onlyGroup;
    unsigned jobs = 1;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--group" && i + 1 < args.size()) {
            onlyGroup = std::atoi(args[++i].c_str());
        } else if (args[i] == "--jobs" && i + 1 < args.size()) {
            const std::optional<int> n = SettingNumber(args[++i]);
            if (!n || *n <= 0 || *n > 64) return Usage();
            jobs = static_cast<unsigned>(*n);
        } else if (!ReadBudget(args, i, budget)) {
            return Usage();
        }
    }
    std::vector<TProblemRow> rows;
    for (const int group : store.GroupNumbers()) {
        if (onlyGroup && group != *onlyGroup) continue;
        for (const TProblemRow& listed : store.GroupWithNext(group)) {
            if (listed.Group1 != group) break;
            // A damaged row is left out: ReadFailed says so below.
            if (std::optional<TProblemRow> row = store.Find(listed.Auto1)) rows.push_back(std::move(*row));
        }
    }
    // Proved on `jobs` threads, reported in the archive's order as soon as each is known.
    std::vector<std::optional<TProblemProof>> proofs(rows.size());
    std::mutex lock;
    size_t reported = 0;
    OnThreads(rows.size(), jobs, [&](size_t i) {
        TProblemProof proof = ProveProblem(rows[i], budget);
        const std::lock_guard<std::mutex> hold(lock);
        proofs[i] = std::move(proof);
        for (; reported < rows.size() && proofs[reported]; ++reported) {
            std::printf("%s\n", ProofLine(rows[reported], *proofs[reported]).c_str());
            std::fflush(stdout);
        }
    });
    int agree = 0, disagree = 0, unknown = 0;
    std::vector<int64_t> times;
    long long positions = 0; // searched for the first moves, a measure that no clock disturbs
    for (const std::optional<TProblemProof>& proof : proofs) {
        if (proof->Error.empty()) times.push_back(proof->Milliseconds);
        for (const TFirstMoveProof& move : proof->Moves)
            positions += move.Solved.Nodes;
        (!proof->Error.empty() || proof->Agreement == TAgreement::Unknown ? unknown
         : proof->Agreement == TAgreement::Agree                          ? agree
                                                                          : disagree)++;
    }
    std::sort(times.begin(), times.end());
    auto at = [&](double share) {
        return times.empty() ? 0ll
                             : static_cast<long long>(times[static_cast<size_t>(
                                   share * static_cast<double>(times.size() - 1))]);
    };
    std::printf("prove: %zu problems, %d agree, %d disagree, %d unknown; median %lld ms, 90th "
                "percentile %lld ms; %lld positions for the first moves\n",
                rows.size(), agree, disagree, unknown, at(0.5), at(0.9), positions);
    return ReadFailed(args[0], store) ? 2 : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "build") return Build(args);
    if (command == "list") return List(args);
    if (command == "check") return Check(args);
    if (command == "export") return Export(args);
    if (command == "dump") return Dump(args);
    if (command == "play") return PlayWords(args);
    if (command == "solve") return Solve(args);
    if (command == "prove") return Prove(args);
    if (command == "goals") return Goals(args);
    return Usage();
}
