#pragma once
// A thin RAII layer over SQLite: a database handle and prepared statements. Errors come back as
// false or an empty result with the message kept; nothing here throws.
#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace karvena {

class TSqliteStatement {
public:
    TSqliteStatement(sqlite3* db, const std::string& sql);
    ~TSqliteStatement();
    TSqliteStatement(const TSqliteStatement&) = delete;
    TSqliteStatement& operator=(const TSqliteStatement&) = delete;

    bool Ok() const { return m_Stmt != nullptr; }
    // Binds 1-based parameters.
    void Bind(int index, int64_t value);
    void Bind(int index, const std::string& text);
    void BindBlob(int index, const std::vector<uint8_t>& blob);
    void BindNull(int index);
    // Steps once: true while a row is there.
    bool Step();
    // Runs to the end; true when it finished without an error.
    bool Run();
    // True when the last step ended in an error rather than a row or the end (a damaged
    // database reads as an error, never as a shorter table); ErrorText says which.
    bool Failed() const {
        return m_LastResult != SQLITE_OK && m_LastResult != SQLITE_ROW && m_LastResult != SQLITE_DONE;
    }
    std::string ErrorText() const { return sqlite3_errstr(m_LastResult); }
    void Reset();
    bool IsNull(int column) const;
    int64_t Int(int column) const; // null reads as 0
    std::string Text(int column) const;
    // The text in place, valid until the next Step (no copy).
    std::string_view TextView(int column) const;
    std::vector<uint8_t> Blob(int column) const;

private:
    sqlite3_stmt* m_Stmt = nullptr;
    int m_LastResult = SQLITE_OK;
};

class TSqliteDb {
public:
    TSqliteDb() = default;
    ~TSqliteDb();
    TSqliteDb(const TSqliteDb&) = delete;
    TSqliteDb& operator=(const TSqliteDb&) = delete;
    TSqliteDb(TSqliteDb&& other) noexcept : m_Db(other.m_Db) { other.m_Db = nullptr; }
    TSqliteDb& operator=(TSqliteDb&& other) noexcept {
        if (this != &other) {
            Close();
            m_Db = other.m_Db;
            other.m_Db = nullptr;
        }
        return *this;
    }

    // Opens a database file (created when `create`; only for reading when `readOnly`); false
    // with Error() on failure.
    bool OpenFile(const std::string& path, bool create, bool readOnly = false);
    // True when the open database cannot be written (opened so, or the file is read-only).
    bool ReadOnly() const { return m_Db && sqlite3_db_readonly(m_Db, "main") == 1; }
    // Opens an in-memory database holding a copy of `image`, read-only unless `writable`.
    bool OpenImage(const std::vector<uint8_t>& image, bool writable = false);
    // A new empty in-memory database.
    bool OpenMemory();
    void Close();
    bool IsOpen() const { return m_Db != nullptr; }

    // Runs statements without results; false with Error() on failure.
    bool Exec(const std::string& sql);
    TSqliteStatement Prepare(const std::string& sql) const { return TSqliteStatement(m_Db, sql); }
    // True when a table of that name exists.
    bool HasTable(const std::string& name) const;
    // The column names of a table, in order.
    std::vector<std::string> Columns(const std::string& table) const;
    // The whole database as bytes (the image OpenImage reads).
    std::vector<uint8_t> Serialize(const std::string& schema = "main") const;
    const std::string& Error() const { return m_Error; }
    sqlite3* Handle() const { return m_Db; }

private:
    sqlite3* m_Db = nullptr;
    std::string m_Error;
};

} // namespace karvena
