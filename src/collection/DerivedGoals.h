#pragma once
// Goals found ahead: the goal of each bundled problem that states none, as the solver finds it
// from the problem's tree, kept in a file the build reads ("fingerprint value" a line, # a
// comment; the values are kResultDerivedKill … kResultDerivedKoLive). A goal is matched by the
// problem's fingerprint, so a problem whose position or tree has changed since is looked for
// again when it opens.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "collection/ProblemStore.h"

namespace karvena {

// Reads a goals file into `goals` (fingerprint to value). False, with `error` naming the file
// and line, when it cannot be read or a line is not a fingerprint and a derived goal.
bool ReadDerivedGoals(const std::string& path, std::map<std::string, int32_t>& goals, std::string& error);

// Writes the goals into the rows that state none and whose fingerprint is listed (a ko the
// problem's own marks state is kept: the goal becomes the ko's); returns how many.
int ApplyDerivedGoals(const std::map<std::string, int32_t>& goals, std::vector<TProblemRow>& rows);

} // namespace karvena
