#pragma once
// The collection tool's check of one problem: the problem is set up exactly as the trainer sets
// it up, and every line of its tree is replayed on that board.
#include <string>
#include <vector>

#include "collection/ProblemStore.h"

namespace karvena {

// What is wrong with a problem, one line each: illegal moves, a side moving twice, lines that
// end without a result, no reachable success.
std::vector<std::string> CheckProblem(const TProblemRow& row);

} // namespace karvena
