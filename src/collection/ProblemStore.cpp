#include "collection/ProblemStore.h"

#include <cstdio>

#include "collection/Archive.h"

namespace karvena {

const char* const kProblemSchema = R"(
CREATE TABLE tblProblems (
    Auto1 INTEGER NOT NULL, Group1 INTEGER, Level1 INTEGER, Num INTEGER,
    ArrangedBlack TEXT, ArrangedWhite TEXT, Initial TEXT, FirstToPlay TEXT,
    Flag INTEGER, NotGood INTEGER, Solution BLOB, Tag INTEGER, Id1 INTEGER, Result2 INTEGER,
    SenteGoteKind INTEGER, ValueKind INTEGER, Value1 INTEGER, Value2 INTEGER);
CREATE UNIQUE INDEX ByAuto1 ON tblProblems (Auto1);
CREATE INDEX ByGroup1Level1Num ON tblProblems (Group1, Level1, Num);
CREATE INDEX ByGroupListing ON tblProblems
    (Group1, Level1, Num, Auto1, ArrangedBlack, ArrangedWhite, Initial, FirstToPlay, Result2);
CREATE INDEX ByGroupKeys ON tblProblems (Group1, Level1, Num, Auto1);
CREATE TABLE tblProverb (
    Auto1 INTEGER PRIMARY KEY AUTOINCREMENT, Num INTEGER, Kind TEXT, Proverb TEXT,
    Chinese TEXT, English TEXT, Remark TEXT);
)";

const char* const kProblemExtrasSchema =
    "CREATE TABLE IF NOT EXISTS tblProblemExtras (Auto1 INTEGER PRIMARY KEY, "
    "Comments TEXT NOT NULL DEFAULT '', BoardSize INTEGER NOT NULL DEFAULT 19)";

namespace {

constexpr const char* kColumns =
    "Auto1, Group1, Level1, Num, ArrangedBlack, ArrangedWhite, Initial, FirstToPlay, Flag, "
    "NotGood, "
    "Solution, Tag, Id1, Result2, SenteGoteKind, ValueKind, Value1, Value2";

TProblemRow RowOf(const TSqliteStatement& q) {
    TProblemRow row;
    row.Auto1 = static_cast<int32_t>(q.Int(0));
    row.Group1 = static_cast<int32_t>(q.Int(1));
    row.Level1 = static_cast<int32_t>(q.Int(2));
    row.Num = static_cast<int32_t>(q.Int(3));
    row.ArrangedBlack = q.Text(4);
    row.ArrangedWhite = q.Text(5);
    row.Initial = q.Text(6);
    row.FirstToPlay = q.Text(7);
    row.Flag = static_cast<int32_t>(q.Int(8));
    row.NotGood = static_cast<int32_t>(q.Int(9));
    row.Solution = q.Blob(10);
    row.Tag = static_cast<int32_t>(q.Int(11));
    row.Id1 = static_cast<int32_t>(q.Int(12));
    if (!q.IsNull(13)) row.Result2 = static_cast<int32_t>(q.Int(13));
    row.SenteGoteKind = static_cast<int32_t>(q.Int(14));
    row.ValueKind = static_cast<int32_t>(q.Int(15));
    row.Value1 = static_cast<int32_t>(q.Int(16));
    row.Value2 = static_cast<int32_t>(q.Int(17));
    return row;
}

} // namespace

bool TProblemStore::OpenFile(const std::string& path, uint64_t solutionKey) {
    StopMakingFullTable();
    m_ReadError.clear();
    m_SolutionKey = solutionKey;
    // Read page by page through SQLite's small cache: only what a listing or a problem needs is
    // held (a mapping would fault in the neighbours of every scattered index page).
    return m_Db.OpenFile(path, false, true);
}

bool TProblemStore::Open(const std::vector<uint8_t>& image) {
    StopMakingFullTable();
    m_ReadError.clear();
    m_SolutionKey = 0;
    return m_Db.OpenImage(image);
}

bool TProblemStore::OpenListing(const std::vector<uint8_t>& listing, TMakeFullTable make) {
    if (!Open(listing)) return false;
    m_Cancel = std::make_shared<std::atomic<bool>>(false);
    m_Full = std::async(std::launch::async,
                        [make = std::move(make), cancel = m_Cancel] { return make(*cancel); });
    return true;
}

bool TProblemStore::FinishFullTable() const {
    if (!m_Full.valid()) return true;
    TFullTable full = m_Full.get();
    const bool opened = !full.Path.empty() ? m_Db.OpenFile(full.Path, false, true)
                        : !full.Bytes.empty() ? m_Db.OpenImage(full.Bytes)
                                              : false;
    m_SolutionKey = full.Path.empty() ? 0 : full.SolutionKey;
    if (!opened) {
        m_Db.Close();
        m_ReadError = !full.Error.empty() ? full.Error : "the problem table cannot be read";
    }
    return opened;
}

void TProblemStore::StopMakingFullTable() {
    if (!m_Full.valid()) return;
    *m_Cancel = true;
    m_Full.wait();
    m_Full = {};
}

TProblemStore& TProblemStore::operator=(TProblemStore&& other) noexcept {
    if (this == &other) return *this;
    Close();
    m_Db = std::move(other.m_Db);
    m_ReadError = std::move(other.m_ReadError);
    m_SolutionKey = other.m_SolutionKey;
    m_Full = std::move(other.m_Full);
    m_Cancel = std::move(other.m_Cancel);
    HistoryBase = other.HistoryBase;
    HistoryKeys = std::move(other.HistoryKeys);
    return *this;
}

void TProblemStore::Close() {
    StopMakingFullTable();
    m_Db.Close();
}

std::vector<int32_t> TProblemStore::Keys() const {
    std::vector<int32_t> keys;
    TSqliteStatement q = m_Db.Prepare("SELECT Auto1 FROM tblProblems ORDER BY Auto1");
    while (q.Ok() && q.Step()) keys.push_back(static_cast<int32_t>(q.Int(0)));
    Check(q);
    return keys;
}

bool TProblemStore::HasProblemTable() const {
    if (!m_Db.IsOpen() || !m_Db.HasTable("tblProblems")) return false;
    // The listing has what a listing reads; the whole table is checked when it comes.
    if (MakingFullTable())
        return TSqliteStatement(m_Db.Handle(), "SELECT Auto1, Group1, Level1, Num, ArrangedBlack, "
                                               "ArrangedWhite, Initial, FirstToPlay, Result2 "
                                               "FROM tblProblems LIMIT 0")
            .Ok();
    return TSqliteStatement(m_Db.Handle(),
                            std::string("SELECT ") + kColumns + " FROM tblProblems LIMIT 0")
        .Ok();
}

void TProblemStore::Check(const TSqliteStatement& q) const {
    if (q.Failed() && m_ReadError.empty()) m_ReadError = q.ErrorText();
}

std::optional<TProblemRow> TProblemStore::Find(int32_t auto1) const {
    if (!FinishFullTable()) return std::nullopt;
    TSqliteStatement q =
        m_Db.Prepare(std::string("SELECT ") + kColumns + " FROM tblProblems WHERE Auto1 = ?");
    if (!q.Ok()) return std::nullopt;
    q.Bind(1, auto1);
    if (!q.Step()) {
        Check(q);
        return std::nullopt;
    }
    TProblemRow row = RowOf(q);
    ScrambleSolution(row.Solution, m_SolutionKey);
    // The imported collection keeps its authors' comments and the board's size beside the table.
    if (m_Db.HasTable("tblProblemExtras")) {
        TSqliteStatement c =
            m_Db.Prepare("SELECT Comments, BoardSize FROM tblProblemExtras WHERE Auto1 = ?");
        c.Bind(1, auto1);
        if (c.Ok() && c.Step()) {
            row.Comments = c.Text(0);
            row.BoardSize = static_cast<int32_t>(c.Int(1));
        }
        Check(c);
    }
    return row;
}

TSqliteStatement TProblemStore::PrepareListing(const std::string& where,
                                               const std::string& tail) const {
    // Auto1 breaks ties so that equal levels and numbers always list in the same order. Only
    // what an index line shows is read: collections written with the ByGroupListing index answer
    // from it alone, without touching the rows and their trees; older ones still list.
    // An imported collection's board sizes come along from beside the table.
    const bool extras = m_Db.HasTable("tblProblemExtras");
    return m_Db.Prepare(
        std::string("SELECT p.Auto1, Group1, Level1, Num, ArrangedBlack, ArrangedWhite, Initial, "
                    "FirstToPlay, Result2, ") +
        (extras ? "coalesce(e.BoardSize, 19) FROM tblProblems p LEFT JOIN tblProblemExtras e "
                  "ON e.Auto1 = p.Auto1 "
                : "19 FROM tblProblems p ") +
        where + " ORDER BY Group1, Level1, Num, p.Auto1" + tail);
}

TProblemStore::TListedRow TProblemStore::ListedRowOf(const TSqliteStatement& q) {
    TListedRow listed;
    listed.Auto1 = static_cast<int32_t>(q.Int(0));
    listed.Group1 = static_cast<int32_t>(q.Int(1));
    listed.Level1 = static_cast<int32_t>(q.Int(2));
    listed.Num = static_cast<int32_t>(q.Int(3));
    listed.ArrangedBlack = q.TextView(4);
    listed.ArrangedWhite = q.TextView(5);
    listed.Initial = q.TextView(6);
    listed.FirstToPlay = q.TextView(7);
    listed.Result2 = q.IsNull(8) ? std::nullopt : std::optional<int32_t>(q.Int(8));
    listed.BoardSize = static_cast<int32_t>(q.Int(9));
    return listed;
}

void TProblemStore::ListGroupWithNext(int32_t group,
                                      const std::function<void(const TListedRow&)>& row) const {
    TSqliteStatement q = PrepareListing("WHERE Group1 >= ?", "");
    if (!q.Ok()) return;
    q.Bind(1, group);
    bool first = true;
    while (q.Step()) {
        const TListedRow listed = ListedRowOf(q);
        if (first && listed.Group1 != group) break; // the group has no rows
        first = false;
        row(listed);
        if (listed.Group1 != group) break; // the next group's first row
    }
    Check(q);
}

void TProblemStore::ListGroupRange(int32_t group, int first, int count,
                                   const std::function<void(const TListedRow&)>& row) const {
    if (first < 0 || count <= 0) return;
    TSqliteStatement q = PrepareListing("WHERE Group1 = ?", " LIMIT ? OFFSET ?");
    if (!q.Ok()) return;
    q.Bind(1, group);
    q.Bind(2, count);
    q.Bind(3, first);
    while (q.Step()) row(ListedRowOf(q));
    Check(q);
}

std::vector<std::pair<int32_t, int32_t>> TProblemStore::KeysOfGroupWithNext(int32_t group) const {
    std::vector<std::pair<int32_t, int32_t>> keys;
    TSqliteStatement q = m_Db.Prepare("SELECT Auto1, Group1 FROM tblProblems WHERE Group1 >= ? "
                                      "ORDER BY Group1, Level1, Num, Auto1");
    if (!q.Ok()) return keys;
    q.Bind(1, group);
    while (q.Step()) {
        const auto key = static_cast<int32_t>(q.Int(0)), itsGroup = static_cast<int32_t>(q.Int(1));
        if (keys.empty() && itsGroup != group) break;
        keys.emplace_back(key, itsGroup);
        if (itsGroup != group) break;
    }
    Check(q);
    return keys;
}

TProblemStore::TListedRow TProblemStore::TListedRow::Of(const TProblemRow& row) {
    return {row.Auto1,        row.Group1,        row.Level1,  row.Num,
            row.ArrangedBlack, row.ArrangedWhite, row.Initial, row.FirstToPlay,
            row.Result2,      row.BoardSize};
}

TProblemRow TProblemStore::TListedRow::Row() const {
    TProblemRow row;
    row.Auto1 = Auto1;
    row.Group1 = Group1;
    row.Level1 = Level1;
    row.Num = Num;
    row.ArrangedBlack = ArrangedBlack;
    row.ArrangedWhite = ArrangedWhite;
    row.Initial = Initial;
    row.FirstToPlay = FirstToPlay;
    row.Result2 = Result2;
    row.BoardSize = BoardSize;
    return row;
}

std::vector<TProblemRow> TProblemStore::GroupWithNext(int32_t group) const {
    std::vector<TProblemRow> rows;
    ListGroupWithNext(group, [&rows](const TListedRow& listed) { rows.push_back(listed.Row()); });
    return rows;
}

std::vector<int32_t> TProblemStore::KeysOfGroup(int32_t group) const {
    std::vector<int32_t> keys;
    TSqliteStatement q = m_Db.Prepare("SELECT Auto1 FROM tblProblems WHERE Group1 = ?");
    if (!q.Ok()) return keys;
    q.Bind(1, group);
    while (q.Step()) keys.push_back(static_cast<int32_t>(q.Int(0)));
    Check(q);
    return keys;
}

std::vector<std::pair<int32_t, int32_t>> TProblemStore::KeysAndLevels() const {
    std::vector<std::pair<int32_t, int32_t>> out;
    TSqliteStatement q = m_Db.Prepare("SELECT Auto1, Level1 FROM tblProblems ORDER BY Auto1");
    while (q.Ok() && q.Step())
        out.emplace_back(static_cast<int32_t>(q.Int(0)), static_cast<int32_t>(q.Int(1)));
    Check(q);
    return out;
}

std::vector<int32_t> TProblemStore::GroupNumbers() const {
    std::vector<int32_t> groups;
    TSqliteStatement q = m_Db.Prepare("SELECT DISTINCT Group1 FROM tblProblems ORDER BY Group1");
    while (q.Ok() && q.Step())
        groups.push_back(static_cast<int32_t>(q.Int(0)));
    Check(q);
    return groups;
}

TProblemTableWriter::TProblemTableWriter() {
    if (!m_Db.OpenMemory() || !m_Db.Exec(kProblemSchema)) m_Error = m_Db.Error();
}

TProblemTableWriter::TProblemTableWriter(const std::string& file) {
    // A scratch file: no journal is needed, it is thrown away when anything fails.
    if (!m_Db.OpenFile(file, true) || !m_Db.Exec("PRAGMA journal_mode=OFF") ||
        !m_Db.Exec("PRAGMA synchronous=OFF") || !m_Db.Exec(kProblemSchema) || !m_Db.Exec("BEGIN"))
        m_Error = m_Db.Error();
}

bool TProblemTableWriter::Finish() {
    if (!m_Error.empty()) return false;
    if (!m_Db.Exec("COMMIT")) {
        m_Error = m_Db.Error();
        return false;
    }
    m_Db.Close();
    return true;
}

bool TProblemTableWriter::Add(const TProblemRow& row) {
    return InsertProblem(m_Db, row, m_Error);
}

bool InsertProblem(TSqliteDb& db, const TProblemRow& row, std::string& error) {
    if (row.Auto1 < 0 || row.Auto1 > 0xFFFF) {
        error = "problem key " + std::to_string(row.Auto1) + " is outside 0..65535";
        return false;
    }
    TSqliteStatement q = db.Prepare(std::string("INSERT INTO tblProblems (") + kColumns +
                                      ") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    if (!q.Ok()) {
        error = db.Error();
        return false;
    }
    q.Bind(1, row.Auto1);
    q.Bind(2, row.Group1);
    q.Bind(3, row.Level1);
    q.Bind(4, row.Num);
    q.Bind(5, row.ArrangedBlack);
    q.Bind(6, row.ArrangedWhite);
    q.Bind(7, row.Initial);
    q.Bind(8, row.FirstToPlay);
    q.Bind(9, row.Flag);
    q.Bind(10, row.NotGood);
    q.BindBlob(11, row.Solution);
    q.Bind(12, row.Tag);
    q.Bind(13, row.Id1);
    if (row.Result2)
        q.Bind(14, *row.Result2);
    else
        q.BindNull(14);
    q.Bind(15, row.SenteGoteKind);
    q.Bind(16, row.ValueKind);
    q.Bind(17, row.Value1);
    q.Bind(18, row.Value2);
    if (!q.Run()) {
        error = "cannot add problem " + std::to_string(row.Auto1) + ": " +
                  sqlite3_errmsg(db.Handle());
        return false;
    }
    // The author's comments and a board other than 19 x 19, in a table of their own beside the
    // collection's (made when the first problem that has either is added).
    if (row.Comments.empty() && row.BoardSize == 19) return true;
    const bool made = db.Exec(kProblemExtrasSchema);
    TSqliteStatement extra = db.Prepare("INSERT INTO tblProblemExtras VALUES (?, ?, ?)");
    if (extra.Ok()) {
        extra.Bind(1, row.Auto1);
        extra.Bind(2, row.Comments);
        extra.Bind(3, row.BoardSize);
    }
    if (!made || !extra.Ok() || !extra.Run()) {
        error = "cannot add the comments and board size of problem " + std::to_string(row.Auto1) +
                ": " + db.Error();
        return false;
    }
    return true;
}

std::string ProblemFingerprint(const TProblemRow& row) {
    uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash ^= bytes[i];
            hash *= 1099511628211ull;
        }
        hash ^= 0xFF; // a separator, so "AB"+"C" differs from "A"+"BC"
        hash *= 1099511628211ull;
    };
    for (const std::string* text :
         {&row.ArrangedBlack, &row.ArrangedWhite, &row.Initial, &row.FirstToPlay})
        mix(text->data(), text->size());
    mix(row.Solution.data(), row.Solution.size());
    // The same stones on another board are another problem; 19 x 19 prints stay as they were.
    if (row.BoardSize != 19) mix(&row.BoardSize, sizeof row.BoardSize);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace karvena
