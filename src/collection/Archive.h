#pragma once
// The collection archive: a ZIP file whose member "Karvena.cds" holds the problem database,
// encrypted with AES-256 under a password the program builds at run time. An archive the
// collection tool builds also holds "Listing.cds", what the index shows of every problem
// without the answers, so that a first start lists a group before the table is unpacked.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace karvena {

inline constexpr const char* kFullArchiveName = "KarvenaFull.dgo";
inline constexpr const char* kArchiveName = "Karvena.dgo";
inline constexpr const char* kArchiveMember = "Karvena.cds";
inline constexpr const char* kListingMember = "Listing.cds";

// The archive in a folder: "KarvenaFull.dgo" when it exists there, else "Karvena.dgo".
std::string ChooseArchive(const std::string& folder);

enum class TArchiveError { None, NotAnArchive, NoMember, WrongPassword, TooLarge, Unreadable };

struct TArchiveRead {
    TArchiveError Error = TArchiveError::None;
    std::string Detail; // what is wrong, in plain words (with the ZIP reader's own where it helps)
    std::vector<uint8_t> Bytes;
};

// The largest problem table read from an archive: far beyond any collection whose keys fit
// four hex digits, small enough that a member which unpacks to gigabytes is refused at once.
inline constexpr uint64_t kMaxMemberBytes = 512ull << 20;

// Reads the encrypted member into memory (it never touches the disk).
TArchiveRead ReadArchiveMember(const std::string& path);
// The same, with a password of the caller's (tests use it to try a wrong one) and a bound on
// the member's size.
TArchiveRead ReadArchiveMember(const std::string& path, const std::string& password,
                               uint64_t maxBytes = kMaxMemberBytes);
// The same, handing the member to `sink` in chunks as it is unpacked (Bytes stays empty); a sink
// that returns false stops the read as unreadable.
TArchiveRead ReadArchiveMemberInto(const std::string& path, const std::string& password,
                                   uint64_t maxBytes,
                                   const std::function<bool(const uint8_t*, size_t)>& sink);
// The listing member (NoMember for an archive without one).
TArchiveRead ReadArchiveListing(const std::string& path);

// The archive's problem table as a file of its own in `cacheFolder`, decrypted once and read
// from then on without unpacking: the cache's name carries the archive's size and time and the
// member's CRC. The answers never lie on disk as they are: every Solution blob of the copy is
// scrambled with SolutionKey, which the store undoes as it reads a row. Written whole (temporary
// file, rename); older copies of the same archive are removed. Path is empty when no cache can
// be had (the caller then reads the archive itself, which also reports what is wrong with it).
struct TCachedMember {
    std::string Path;
    uint64_t SolutionKey = 0;
    bool Made = false; // the copy is there (else Path is where it goes)
    std::string Stem;  // how every copy of this archive's name begins, older ones too
};
TCachedMember CachedMember(const std::string& archivePath, const std::string& cacheFolder);
// The two halves of CachedMember: where the copy lies (Made when it is there), and making it.
// Making it stops, leaving nothing behind, as soon as `cancel` is set.
TCachedMember FindCachedMember(const std::string& archivePath, const std::string& cacheFolder);
bool MakeCachedMember(const std::string& archivePath, const TCachedMember& cache,
                      const std::atomic<bool>* cancel = nullptr);

// XORs the bytes with a stream drawn from `key` (0 leaves them as they are); doing it twice
// gives the bytes back.
void ScrambleSolution(std::vector<uint8_t>& bytes, uint64_t key);

// The same with the member read from a file as it is written (a table too large to hold), and
// the listing member made from it.
std::string WriteArchiveFromFile(const std::string& path, const std::string& memberFile);
// WriteArchive with the listing member made from `member` beside it.
std::string WriteArchiveWithListing(const std::string& path, const std::vector<uint8_t>& member);

// Writes an archive holding `member` as the encrypted "Karvena.cds": to a temporary file
// beside `path`, then renamed into place, so no reader ever sees half an archive. Returns an
// empty string on success, else what went wrong.
std::string WriteArchive(const std::string& path, const std::vector<uint8_t>& member);
std::string WriteArchive(const std::string& path, const std::vector<uint8_t>& member,
                         const std::string& password);

// The archive password, built at run time.
std::string ArchivePassword();

} // namespace karvena
