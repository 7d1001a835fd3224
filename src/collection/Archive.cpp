#include "collection/Archive.h"

#include <zip.h>

#include "collection/Sqlite.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace karvena {

namespace fs = std::filesystem;

std::string ChooseArchive(const std::string& folder) {
    const fs::path full = fs::path(folder) / kFullArchiveName;
    std::error_code error;
    if (fs::exists(full, error)) return full.string();
    return (fs::path(folder) / kArchiveName).string();
}

std::string ArchivePassword() {
    // A short linear sequence over printable characters: the password never stands in the
    // binary as text.
    std::string password;
    uint32_t state = 0x4B617276; // seed
    for (int i = 0; i < 24; ++i) {
        state = state * 1103515245u + 12345u;
        password += static_cast<char>('!' + (state >> 16) % 94);
    }
    return password;
}

namespace {

struct TZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using TZip = std::unique_ptr<zip_t, TZipCloser>;

struct TZipFileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

TArchiveRead ReadMemberInto(const std::string& path, const char* memberName,
                            const std::string& password, uint64_t maxBytes,
                            const std::function<bool(const uint8_t*, size_t)>& sink);

} // namespace

TArchiveRead ReadArchiveMember(const std::string& path) {
    return ReadArchiveMember(path, ArchivePassword());
}

TArchiveRead ReadArchiveMember(const std::string& path, const std::string& password,
                               uint64_t maxBytes) {
    std::vector<uint8_t> bytes;
    TArchiveRead out = ReadArchiveMemberInto(path, password, maxBytes,
                                             [&bytes](const uint8_t* data, size_t size) {
                                                 bytes.insert(bytes.end(), data, data + size);
                                                 return true;
                                             });
    if (out.Error == TArchiveError::None) out.Bytes = std::move(bytes);
    return out;
}

TArchiveRead ReadArchiveMemberInto(const std::string& path, const std::string& password,
                                   uint64_t maxBytes,
                                   const std::function<bool(const uint8_t*, size_t)>& sink) {
    return ReadMemberInto(path, kArchiveMember, password, maxBytes, sink);
}

TArchiveRead ReadArchiveListing(const std::string& path) {
    std::vector<uint8_t> bytes;
    TArchiveRead out = ReadMemberInto(path, kListingMember, ArchivePassword(), kMaxMemberBytes,
                                      [&bytes](const uint8_t* data, size_t size) {
                                          bytes.insert(bytes.end(), data, data + size);
                                          return true;
                                      });
    if (out.Error == TArchiveError::None) out.Bytes = std::move(bytes);
    return out;
}

namespace {

TArchiveRead ReadMemberInto(const std::string& path, const char* memberName,
                            const std::string& password, uint64_t maxBytes,
                            const std::function<bool(const uint8_t*, size_t)>& sink) {
    TArchiveRead out;
    int errorCode = 0;
    TZip archive(zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &errorCode));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, errorCode);
        out.Error = errorCode == ZIP_ER_NOZIP || errorCode == ZIP_ER_INCONS
                        ? TArchiveError::NotAnArchive
                        : TArchiveError::Unreadable;
        out.Detail = out.Error == TArchiveError::NotAnArchive
                         ? std::string("the file is not a problem collection: no ZIP archive, or an incomplete one")
                         : std::string("the archive cannot be read: ") + zip_error_strerror(&error);
        zip_error_fini(&error);
        return out;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive.get(), memberName, 0, &stat) != 0) {
        out.Error = TArchiveError::NoMember;
        out.Detail = std::string("the archive holds no problem table: it has no member ") +
                     memberName;
        return out;
    }
    // This program's archives encrypt the table with AES-256 under its own password; any other
    // (no encryption, the old ZIP cipher, another password) is an archive of someone else's.
    const std::string notOurs = "the archive is not one of this program's collections";
    if (!(stat.valid & ZIP_STAT_ENCRYPTION_METHOD) ||
        stat.encryption_method != ZIP_EM_AES_256) {
        out.Error = TArchiveError::WrongPassword;
        out.Detail = notOurs;
        return out;
    }
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > maxBytes) {
        out.Error = TArchiveError::TooLarge;
        out.Detail = "the problem table would unpack to " + std::to_string(stat.size >> 20) +
                     " MB, more than the " + std::to_string(maxBytes >> 20) + " MB allowed";
        return out;
    }
    std::unique_ptr<zip_file_t, TZipFileCloser> member(
        zip_fopen_encrypted(archive.get(), memberName, 0, password.c_str()));
    if (!member) {
        const int code = zip_error_code_zip(zip_get_error(archive.get()));
        const bool password = code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_NOPASSWD;
        out.Error = password ? TArchiveError::WrongPassword : TArchiveError::Unreadable;
        out.Detail = password ? notOurs
                              : std::string("the problem table cannot be read: ") +
                                    zip_strerror(archive.get());
        return out;
    }
    // The stated size is only a hint: read in chunks, so a lying header cannot make us
    // allocate without bound, and check the total against it afterwards.
    uint64_t total = 0;
    std::vector<uint8_t> chunk(1 << 16);
    for (;;) {
        const zip_int64_t n = zip_fread(member.get(), chunk.data(), chunk.size());
        if (n < 0) {
            const int code = zip_error_code_zip(zip_file_get_error(member.get()));
            const bool password = code == ZIP_ER_WRONGPASSWD;
            out.Error = password ? TArchiveError::WrongPassword : TArchiveError::Unreadable;
            out.Detail = password ? notOurs
                                  : std::string("the problem table is damaged: ") +
                                        zip_file_strerror(member.get());
            return out;
        }
        if (n == 0) break;
        // A header may understate the size: the bound holds for what is read, too.
        if (total + static_cast<uint64_t>(n) > maxBytes) {
            out.Error = TArchiveError::TooLarge;
            out.Detail = "the problem table unpacks to more than the " +
                         std::to_string(maxBytes >> 20) + " MB allowed";
            return out;
        }
        total += static_cast<uint64_t>(n);
        if (!sink(chunk.data(), static_cast<size_t>(n))) {
            out.Error = TArchiveError::Unreadable;
            out.Detail = "the problem table could not be written out";
            return out;
        }
    }
    if ((stat.valid & ZIP_STAT_SIZE) && total != stat.size) {
        out.Error = TArchiveError::Unreadable;
        out.Detail = "the problem table is damaged: its size does not match the archive's record";
        return out;
    }
    return out;
}

} // namespace

std::string WriteArchive(const std::string& path, const std::vector<uint8_t>& member) {
    return WriteArchive(path, member, ArchivePassword());
}

namespace {

// What the index shows of each problem, in the listing's order, and the board sizes beside:
// the listing member, made from the table open in `table`; empty when it cannot be made.
std::vector<uint8_t> ListingOf(TSqliteDb& table) {
    if (!table.IsOpen() || !table.HasTable("tblProblems") ||
        !table.Exec("ATTACH DATABASE ':memory:' AS listing"))
        return {};
    bool made = table.Exec(
        "CREATE TABLE listing.tblProblems (Auto1 INTEGER NOT NULL, Group1 INTEGER, "
        "Level1 INTEGER, Num INTEGER, ArrangedBlack TEXT, ArrangedWhite TEXT, Initial TEXT, "
        "FirstToPlay TEXT, Result2 INTEGER);"
        "INSERT INTO listing.tblProblems SELECT Auto1, Group1, Level1, Num, ArrangedBlack, "
        "ArrangedWhite, Initial, FirstToPlay, Result2 FROM main.tblProblems "
        "ORDER BY Group1, Level1, Num, Auto1;"
        "CREATE UNIQUE INDEX listing.ByAuto1 ON tblProblems (Auto1);"
        "CREATE INDEX listing.ByGroupListing ON tblProblems (Group1, Level1, Num, Auto1, "
        "ArrangedBlack, ArrangedWhite, Initial, FirstToPlay, Result2);"
        "CREATE INDEX listing.ByGroupKeys ON tblProblems (Group1, Level1, Num, Auto1);");
    if (made && table.HasTable("tblProblemExtras"))
        made = table.Exec("CREATE TABLE listing.tblProblemExtras (Auto1 INTEGER PRIMARY KEY, "
                          "BoardSize INTEGER NOT NULL DEFAULT 19);"
                          "INSERT INTO listing.tblProblemExtras SELECT Auto1, BoardSize "
                          "FROM main.tblProblemExtras;");
    std::vector<uint8_t> image = made ? table.Serialize("listing") : std::vector<uint8_t>();
    table.Exec("DETACH DATABASE listing");
    return image;
}

// Adds an encrypted member; false when it could not be added.
bool AddMember(zip_t* archive, const char* name, zip_source_t* source,
               const std::string& password) {
    const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_OVERWRITE);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    return zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256,
                                   password.c_str()) == 0;
}

// Writes the archive with the member from `source`, made for the open archive by `make`, and
// the listing member when `listing` holds one.
std::string WriteArchiveFrom(const std::string& path, const std::string& password,
                             const std::function<zip_source_t*(zip_t*)>& make,
                             const std::vector<uint8_t>& listing = {}) {
    const std::string temporary = path + ".tmp-" + std::to_string(getpid());
    std::error_code ignored;
    fs::remove(temporary, ignored);
    int errorCode = 0;
    zip_t* archive = zip_open(temporary.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &errorCode);
    if (!archive) return "cannot create " + temporary;
    auto fail = [&](const std::string& what) {
        const std::string message = what + ": " + zip_strerror(archive);
        zip_discard(archive);
        fs::remove(temporary, ignored);
        return message;
    };
    zip_source_t* source = make(archive);
    if (!source) return fail("cannot hold the member");
    if (!AddMember(archive, kArchiveMember, source, password)) return fail("cannot add the member");
    if (!listing.empty()) {
        zip_source_t* listed = zip_source_buffer(archive, listing.data(), listing.size(), 0);
        if (!listed || !AddMember(archive, kListingMember, listed, password))
            return fail("cannot add the listing");
    }
    if (zip_close(archive) != 0) return fail("cannot write the archive");
    // zip_close has written and closed the file; make it durable before it replaces the old one.
    if (FILE* f = std::fopen(temporary.c_str(), "rb")) {
        fsync(fileno(f));
        std::fclose(f);
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, ignored);
        return "cannot move the archive into place: " + error.message();
    }
    return "";
}

} // namespace

std::string WriteArchive(const std::string& path, const std::vector<uint8_t>& member,
                         const std::string& password) {
    return WriteArchiveFrom(path, password, [&](zip_t* archive) {
        return zip_source_buffer(archive, member.data(), member.size(), 0);
    });
}

std::string WriteArchiveWithListing(const std::string& path, const std::vector<uint8_t>& member) {
    TSqliteDb table;
    const std::vector<uint8_t> listing =
        table.OpenImage(member, true) ? ListingOf(table) : std::vector<uint8_t>();
    table.Close();
    return WriteArchiveFrom(
        path, ArchivePassword(),
        [&](zip_t* archive) { return zip_source_buffer(archive, member.data(), member.size(), 0); },
        listing);
}

std::string WriteArchiveFromFile(const std::string& path, const std::string& memberFile) {
    TSqliteDb table;
    const std::vector<uint8_t> listing =
        table.OpenFile(memberFile, false) ? ListingOf(table) : std::vector<uint8_t>();
    table.Close();
    // libzip reads the member from its file as it compresses: it is never held whole.
    return WriteArchiveFrom(
        path, ArchivePassword(),
        [&](zip_t* archive) { return zip_source_file(archive, memberFile.c_str(), 0, -1); },
        listing);
}

namespace {

// Scrambles every Solution blob of the problem table in the file, in one transaction; the file
// is a scratch copy, thrown away on failure, so it keeps no journal.
bool ScrambleSolutionsInFile(const std::string& path, uint64_t key,
                             const std::atomic<bool>* cancel) {
    TSqliteDb db;
    if (!db.OpenFile(path, false) || !db.HasTable("tblProblems") ||
        !db.Exec("PRAGMA journal_mode=OFF") || !db.Exec("PRAGMA synchronous=OFF"))
        return false;
    std::vector<int64_t> rows;
    {
        TSqliteStatement all = db.Prepare("SELECT rowid FROM tblProblems");
        while (all.Ok() && all.Step()) rows.push_back(all.Int(0));
        if (!all.Ok()) return false;
    }
    if (!db.Exec("BEGIN")) return false;
    TSqliteStatement read = db.Prepare("SELECT Solution FROM tblProblems WHERE rowid = ?");
    TSqliteStatement write = db.Prepare("UPDATE tblProblems SET Solution = ? WHERE rowid = ?");
    if (!read.Ok() || !write.Ok()) return false;
    for (const int64_t row : rows) {
        if (cancel && *cancel) return false;
        read.Bind(1, row);
        if (!read.Step()) return false;
        std::vector<uint8_t> blob = read.Blob(0);
        read.Reset();
        ScrambleSolution(blob, key);
        write.BindBlob(1, blob);
        write.Bind(2, row);
        if (!write.Run()) return false;
        write.Reset();
    }
    return db.Exec("COMMIT");
}

// Makes a written file durable before it is renamed into place.
bool SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

} // namespace

TCachedMember CachedMember(const std::string& archivePath, const std::string& cacheFolder) {
    TCachedMember cache = FindCachedMember(archivePath, cacheFolder);
    if (cache.Path.empty() || cache.Made) return cache;
    cache.Made = MakeCachedMember(archivePath, cache);
    return cache.Made ? cache : TCachedMember();
}

TCachedMember FindCachedMember(const std::string& archivePath, const std::string& cacheFolder) {
    if (cacheFolder.empty()) return {};
    std::error_code error;
    const auto size = fs::file_size(archivePath, error);
    if (error) return {};
    const auto time = fs::last_write_time(archivePath, error).time_since_epoch().count();
    if (error) return {};
    // The member's record, from the archive's directory: no decryption needed.
    zip_stat_t stat;
    zip_stat_init(&stat);
    {
        int code = 0;
        TZip archive(zip_open(archivePath.c_str(), ZIP_RDONLY, &code));
        if (!archive || zip_stat(archive.get(), kArchiveMember, 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_CRC) || !(stat.valid & ZIP_STAT_SIZE))
            return {};
    }
    // Named after the archive and where it lies: two installations keep a copy each.
    const std::string where = fs::absolute(archivePath, error).string();
    const std::string stem = fs::path(archivePath).filename().string() + "-" +
                             std::to_string(std::hash<std::string>{}(where) % 1000000007ull) + "-";
    char tail[64];
    std::snprintf(tail, sizeof tail, "%llu-%lld-%08x.cds", static_cast<unsigned long long>(size),
                  static_cast<long long>(time), static_cast<unsigned>(stat.crc));
    TCachedMember cache;
    cache.Path = (fs::path(cacheFolder) / (stem + tail)).string();
    cache.Stem = stem;
    // The scrambling key follows the member, so a copy is read with the key it was made with.
    cache.SolutionKey = (0x6B617276656E61ull ^ (static_cast<uint64_t>(stat.crc) << 20)) | 1;
    // A copy is renamed into place only once written whole, so one that is there is complete;
    // one that does not read is dropped by the caller.
    cache.Made = fs::is_regular_file(cache.Path, error) && !error;
    return cache;
}

bool MakeCachedMember(const std::string& archivePath, const TCachedMember& cache,
                      const std::atomic<bool>* cancel) {
    if (cache.Path.empty()) return false;
    std::error_code error;
    const fs::path target(cache.Path);
    const fs::path folder = target.parent_path();
    const std::string name = target.filename().string();
    fs::create_directories(folder, error);
    // A start that was stopped while it made a copy leaves its half; it goes now.
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string other = entry.path().filename().string();
        if (other.rfind(name + ".tmp-", 0) == 0) fs::remove(entry.path(), error);
    }

    // The table is unpacked straight into a temporary file beside the cache and its answers
    // scrambled there, a row at a time: a large collection never sits in memory whole.
    const std::string temporary = cache.Path + ".tmp-" + std::to_string(getpid());
    auto dropTemporary = [&temporary] {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    };
    {
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        const TArchiveRead read = ReadArchiveMemberInto(
            archivePath, ArchivePassword(), kMaxMemberBytes,
            [fd, cancel](const uint8_t* data, size_t size) {
                if (cancel && *cancel) return false;
                while (size > 0) {
                    const ssize_t n = ::write(fd, data, size);
                    if (n < 0 && errno == EINTR) continue;
                    if (n <= 0) return false;
                    data += n;
                    size -= static_cast<size_t>(n);
                }
                return true;
            });
        const bool closed = ::close(fd) == 0;
        if (read.Error != TArchiveError::None || !closed) return dropTemporary();
    }
    if (!ScrambleSolutionsInFile(temporary, cache.SolutionKey, cancel) || !SyncFile(temporary))
        return dropTemporary();
    // The copies of older versions of this archive go.
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string other = entry.path().filename().string();
        if (other.rfind(cache.Stem, 0) == 0 && other.size() > 4 && other.substr(other.size() - 4) == ".cds")
            fs::remove(entry.path(), error);
    }
    fs::rename(temporary, cache.Path, error);
    if (error) return dropTemporary();
    return true;
}

void ScrambleSolution(std::vector<uint8_t>& bytes, uint64_t key) {
    if (key == 0) return;
    uint64_t state = key;
    for (size_t i = 0; i < bytes.size(); i += 8) {
        // splitmix64: a fresh eight bytes of stream for each eight of the blob.
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        for (size_t k = 0; k < 8 && i + k < bytes.size(); ++k)
            bytes[i + k] ^= static_cast<uint8_t>(z >> (8 * k));
    }
}

} // namespace karvena
