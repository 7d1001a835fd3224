#include "collection/Sqlite.h"

#include <cstring>

namespace karvena {

TSqliteStatement::TSqliteStatement(sqlite3* db, const std::string& sql) {
    if (db && sqlite3_prepare_v2(db, sql.c_str(), -1, &m_Stmt, nullptr) != SQLITE_OK)
        m_Stmt = nullptr;
}

TSqliteStatement::~TSqliteStatement() {
    sqlite3_finalize(m_Stmt);
}

void TSqliteStatement::Bind(int index, int64_t value) {
    sqlite3_bind_int64(m_Stmt, index, value);
}

void TSqliteStatement::Bind(int index, const std::string& text) {
    sqlite3_bind_text(m_Stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void TSqliteStatement::BindBlob(int index, const std::vector<uint8_t>& blob) {
    sqlite3_bind_blob(m_Stmt, index, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT);
}

void TSqliteStatement::BindNull(int index) {
    sqlite3_bind_null(m_Stmt, index);
}

bool TSqliteStatement::Step() {
    if (!m_Stmt) return false;
    m_LastResult = sqlite3_step(m_Stmt);
    return m_LastResult == SQLITE_ROW;
}

bool TSqliteStatement::Run() {
    while (Step()) {
    }
    return m_Stmt && m_LastResult == SQLITE_DONE;
}

void TSqliteStatement::Reset() {
    sqlite3_reset(m_Stmt);
    sqlite3_clear_bindings(m_Stmt);
}

bool TSqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(m_Stmt, column) == SQLITE_NULL;
}

int64_t TSqliteStatement::Int(int column) const {
    return sqlite3_column_int64(m_Stmt, column);
}

std::string TSqliteStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_Stmt, column));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(m_Stmt, column))) : "";
}

std::string_view TSqliteStatement::TextView(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_Stmt, column));
    return text ? std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(m_Stmt, column)))
                : std::string_view();
}

std::vector<uint8_t> TSqliteStatement::Blob(int column) const {
    const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(m_Stmt, column));
    const int size = sqlite3_column_bytes(m_Stmt, column);
    return data ? std::vector<uint8_t>(data, data + size) : std::vector<uint8_t>{};
}

TSqliteDb::~TSqliteDb() {
    Close();
}

namespace {
// Each connection belongs to the thread that opened it, so SQLite need not lock it on every
// call: a large group's listing makes hundreds of thousands of them.
constexpr int kOneThread = SQLITE_OPEN_NOMUTEX;
} // namespace

void TSqliteDb::Close() {
    if (m_Db) sqlite3_close(m_Db);
    m_Db = nullptr;
}

bool TSqliteDb::OpenFile(const std::string& path, bool create, bool readOnly) {
    Close();
    const int flags = kOneThread | (readOnly ? SQLITE_OPEN_READONLY
                                             : SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0));
    if (sqlite3_open_v2(path.c_str(), &m_Db, flags, nullptr) != SQLITE_OK) {
        m_Error = m_Db ? sqlite3_errmsg(m_Db) : "cannot open";
        Close();
        return false;
    }
    sqlite3_busy_timeout(m_Db, 2000);
    return true;
}

bool TSqliteDb::OpenMemory() {
    Close();
    if (sqlite3_open_v2(":memory:", &m_Db, kOneThread | SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        m_Error = "cannot open an in-memory database";
        Close();
        return false;
    }
    return true;
}

bool TSqliteDb::OpenImage(const std::vector<uint8_t>& image, bool writable) {
    if (!OpenMemory()) return false;
    if (image.empty()) {
        m_Error = "empty database image";
        Close();
        return false;
    }
    // SQLite takes ownership of a buffer from its own allocator; the caller's bytes stay theirs.
    auto* buffer = static_cast<unsigned char*>(sqlite3_malloc64(image.size()));
    if (!buffer) {
        m_Error = "out of memory";
        Close();
        return false;
    }
    std::memcpy(buffer, image.data(), image.size());
    const unsigned flags = SQLITE_DESERIALIZE_FREEONCLOSE |
                           (writable ? SQLITE_DESERIALIZE_RESIZEABLE : SQLITE_DESERIALIZE_READONLY);
    if (sqlite3_deserialize(m_Db, "main", buffer, image.size(), image.size(), flags) != SQLITE_OK) {
        m_Error = sqlite3_errmsg(m_Db);
        Close();
        return false;
    }
    // A header that is not SQLite's shows only on the first read.
    if (!Exec("SELECT count(*) FROM sqlite_master")) {
        Close();
        return false;
    }
    return true;
}

bool TSqliteDb::Exec(const std::string& sql) {
    char* message = nullptr;
    if (!m_Db) {
        m_Error = "database not open";
        return false;
    }
    if (sqlite3_exec(m_Db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        m_Error = message ? message : sqlite3_errmsg(m_Db);
        sqlite3_free(message);
        return false;
    }
    return true;
}

bool TSqliteDb::HasTable(const std::string& name) const {
    TSqliteStatement q = Prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    if (!q.Ok()) return false;
    q.Bind(1, name);
    return q.Step();
}

std::vector<std::string> TSqliteDb::Columns(const std::string& table) const {
    std::vector<std::string> out;
    TSqliteStatement q = Prepare("SELECT name FROM pragma_table_info(?) ORDER BY cid");
    if (!q.Ok()) return out;
    q.Bind(1, table);
    while (q.Step())
        out.push_back(q.Text(0));
    return out;
}

std::vector<uint8_t> TSqliteDb::Serialize(const std::string& schema) const {
    sqlite3_int64 size = 0;
    unsigned char* data = m_Db ? sqlite3_serialize(m_Db, schema.c_str(), &size, 0) : nullptr;
    if (!data) return {};
    std::vector<uint8_t> out(data, data + size);
    sqlite3_free(data);
    return out;
}

} // namespace karvena
