#include "AnkiPackage.h"

#include "core/VocabError.h"

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <map>
#include <memory>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vocalore {

namespace {

// Newest layout first: current versions write collection.anki21b beside a
// collection.anki2 that only asks the reader to update, older ones
// collection.anki21 beside such a placeholder, the oldest collection.anki2 alone.
constexpr const char* CollectionNames[] = {"collection.anki21b", "collection.anki21",
                                           "collection.anki2"};

// Reading a damaged database must end: it is cut off after this long.
constexpr std::chrono::seconds ReadTimeLimit{20};

[[noreturn]] void Invalid(const std::string& why) {
    throw EVocabFileError("Invalid Anki package: " + why + ".");
}

[[noreturn]] void TooLarge() {
    Invalid("the collection is larger than " + std::to_string(MaxAnkiCollectionBytes >> 20) +
            " MB, more than can be imported");
}

struct TZipDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using TZip = std::unique_ptr<zip_t, TZipDiscard>;

TZip OpenImage(std::string_view image) {
    if (image.empty()) // an empty archive to the zip library
        Invalid("the file is not a zip archive");
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(image.data(), image.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        throw std::bad_alloc();
    }
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(source);
        Invalid("the file is not a zip archive");
    }
    return TZip(archive);
}

TZip OpenFile(const std::string& path) {
    // Non-blocking, and only regular files: a pipe or a device would hang.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw EVocabFileError(FileErrorText("Cannot open file", path, errno));
    struct stat info {};
    int problem = ::fstat(fd, &info) != 0 ? errno : 0;
    if (!problem && S_ISDIR(info.st_mode))
        problem = EISDIR;
    if (problem || !S_ISREG(info.st_mode)) {
        ::close(fd);
        std::string text = FileErrorText("Cannot open file", path, problem);
        throw EVocabFileError(problem ? text : text + ". Not a regular file");
    }
    int error = 0;
    zip_t* archive =
        info.st_size == 0 ? nullptr : zip_fdopen(fd, 0, &error); // owns the descriptor from here on
    if (!archive) {
        ::close(fd);
        Invalid("the file is not a zip archive");
    }
    return TZip(archive);
}

zip_int64_t FindCollection(zip_t* archive) {
    for (const char* name : CollectionNames)
        if (const zip_int64_t index = zip_name_locate(archive, name, 0); index >= 0)
            return index;
    return -1;
}

// One archive entry, refused as soon as it is larger than the limit, whatever
// size the archive claims for it.
std::string ReadEntry(zip_t* archive, zip_int64_t index) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, zip_uint64_t(index), 0, &stat) == 0 &&
        (stat.valid & ZIP_STAT_SIZE) && stat.size > MaxAnkiCollectionBytes)
        TooLarge();
    zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(index), 0);
    if (!file)
        Invalid(std::string("the archive is damaged (") + zip_strerror(archive) + ")");
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> closer(file, zip_fclose);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0)
            Invalid(std::string("the archive is damaged (") +
                    zip_error_strerror(zip_file_get_error(file)) + ")");
        if (n == 0)
            break;
        if (bytes.size() + size_t(n) > MaxAnkiCollectionBytes)
            TooLarge();
        bytes.append(buffer, size_t(n));
    }
    return bytes;
}

std::string Decompress(std::string_view compressed) {
    const unsigned long long declared =
        ZSTD_getFrameContentSize(compressed.data(), compressed.size());
    if (declared == ZSTD_CONTENTSIZE_ERROR)
        Invalid("the compressed collection is damaged (not zstd data)");
    if (declared != ZSTD_CONTENTSIZE_UNKNOWN && declared > MaxAnkiCollectionBytes)
        TooLarge();
    std::unique_ptr<ZSTD_DCtx, size_t (*)(ZSTD_DCtx*)> context(ZSTD_createDCtx(), ZSTD_freeDCtx);
    if (!context)
        throw std::bad_alloc();
    ZSTD_inBuffer in{compressed.data(), compressed.size(), 0};
    std::string out;
    size_t used = 0;
    size_t pending = 1; // what the decoder still wants to finish its frame
    constexpr size_t Chunk = size_t{1} << 20;
    while (in.pos < in.size || pending != 0) {
        out.resize(used + Chunk);
        ZSTD_outBuffer chunk{out.data() + used, Chunk, 0};
        const size_t before = in.pos;
        pending = ZSTD_decompressStream(context.get(), &chunk, &in);
        if (ZSTD_isError(pending))
            Invalid(std::string("the compressed collection is damaged (") +
                    ZSTD_getErrorName(pending) + ")");
        used += chunk.pos;
        if (used > MaxAnkiCollectionBytes)
            TooLarge();
        if (in.pos == in.size && pending != 0 && chunk.pos == 0 && in.pos == before)
            Invalid("the compressed collection is damaged (it ends early)");
    }
    out.resize(used);
    return out;
}

// The collection database and the name of the entry that held it.
std::pair<std::string, std::string> CollectionBytes(zip_t* archive) {
    const zip_int64_t index = FindCollection(archive);
    if (index < 0)
        Invalid("it holds no collection (collection.anki21b, collection.anki21 or "
                "collection.anki2)");
    std::string name = zip_get_name(archive, zip_uint64_t(index), 0);
    std::string bytes = ReadEntry(archive, index);
    if (name == CollectionNames[0])
        bytes = Decompress(bytes);
    return {std::move(bytes), std::move(name)};
}

// --- the database -----------------------------------------------------------

// The note editor's case-insensitive collation, named in the newer schema;
// only needed so that statements touching those columns compile.
int CompareNoCase(void*, int aLength, const void* a, int bLength, const void* b) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    const int n = std::min(aLength, bLength);
    for (int i = 0; i < n; ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : int(c); };
        if (const int d = lower(x[i]) - lower(y[i]))
            return d;
    }
    return aLength - bLength;
}

int PastDeadline(void* deadline) {
    return std::chrono::steady_clock::now() >
           *static_cast<std::chrono::steady_clock::time_point*>(deadline);
}

class TDatabase {
public:
    // `bytes` must outlive the database, which reads it in place.
    explicit TDatabase(std::string& bytes) {
        if (sqlite3_open_v2(":memory:", &FDb, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::bad_alloc();
        // A database left in write-ahead mode would look for a log file
        // beside it; read from memory, it is an ordinary one.
        if (bytes.size() >= 20 && bytes[18] == 2 && bytes[19] == 2)
            bytes[18] = bytes[19] = 1;
        sqlite3_db_config(FDb, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(FDb, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_create_collation(FDb, "unicase", SQLITE_UTF8, nullptr, CompareNoCase);
        FDeadline = std::chrono::steady_clock::now() + ReadTimeLimit;
        sqlite3_progress_handler(FDb, 1000, PastDeadline, &FDeadline);
        const int rc = sqlite3_deserialize(
            FDb, "main", reinterpret_cast<unsigned char*>(bytes.data()),
            sqlite3_int64(bytes.size()), sqlite3_int64(bytes.size()), SQLITE_DESERIALIZE_READONLY);
        if (rc != SQLITE_OK)
            Fail();
    }
    ~TDatabase() { sqlite3_close(FDb); }
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    [[noreturn]] void Fail() const {
        if (sqlite3_errcode(FDb) == SQLITE_INTERRUPT)
            Invalid("reading the collection took too long");
        // SQLite also says this of some damaged databases, tiny ones too, so
        // it is no reason to tell the user that memory ran out.
        if (sqlite3_errcode(FDb) == SQLITE_NOMEM)
            Invalid("the collection could not be read (out of memory): it is damaged, or "
                    "larger than the memory left");
        Invalid(std::string("the collection is damaged (") + sqlite3_errmsg(FDb) + ")");
    }

    bool HasTable(const char* name) {
        bool found = false;
        Query("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1", name,
              [&](sqlite3_stmt*) { found = true; });
        return found;
    }

    template <typename Row> void Query(const char* sql, const char* parameter, Row&& row) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(FDb, sql, -1, &statement, nullptr) != SQLITE_OK)
            Fail();
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalizer(statement,
                                                                        sqlite3_finalize);
        if (parameter)
            sqlite3_bind_text(statement, 1, parameter, -1, SQLITE_STATIC);
        int rc = 0;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            row(statement);
        if (rc != SQLITE_DONE)
            Fail();
    }
    template <typename Row> void Query(const char* sql, Row&& row) {
        Query(sql, nullptr, std::forward<Row>(row));
    }

private:
    sqlite3* FDb = nullptr;
    std::chrono::steady_clock::time_point FDeadline;
};

std::string Text(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              size_t(sqlite3_column_bytes(statement, column)))
                : std::string();
}

std::vector<std::string> SplitFields(const std::string& flds) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t end = flds.find('\x1f', start);
        fields.push_back(flds.substr(start, end - start));
        if (end == std::string::npos)
            return fields;
        start = end + 1;
    }
}

TAnkiPackage ReadCollection(std::string bytes) {
    TDatabase db(bytes);
    for (const char* table : {"col", "notes", "cards"})
        if (!db.HasTable(table))
            Invalid(std::string("the collection is not a flashcard collection (no table ") + table +
                    ")");
    TAnkiPackage package;
    std::map<int64_t, size_t> typeAt;
    std::vector<TAnkiDeck> decks;
    if (db.HasTable("notetypes") && db.HasTable("fields") && db.HasTable("decks")) {
        db.Query("SELECT id, name FROM notetypes ORDER BY id", [&](sqlite3_stmt* s) {
            typeAt[sqlite3_column_int64(s, 0)] = package.NoteTypes.size();
            package.NoteTypes.push_back({sqlite3_column_int64(s, 0), Text(s, 1), {}});
        });
        db.Query("SELECT ntid, name FROM fields ORDER BY ntid, ord", [&](sqlite3_stmt* s) {
            if (const auto it = typeAt.find(sqlite3_column_int64(s, 0)); it != typeAt.end())
                package.NoteTypes[it->second].Fields.push_back(Text(s, 1));
        });
        // Levels of a deck name are separated by 0x1F here.
        db.Query("SELECT id, replace(name, char(31), '::') FROM decks", [&](sqlite3_stmt* s) {
            decks.push_back({sqlite3_column_int64(s, 0), Text(s, 1)});
        });
    } else {
        // The older schema keeps note types and decks as JSON in the col row.
        db.Query("SELECT CAST(m.key AS INTEGER), json_extract(m.value, '$.name'), "
                 "json_extract(f.value, '$.name') "
                 "FROM (SELECT models FROM col ORDER BY id LIMIT 1) AS c, json_each(c.models) AS m "
                 "LEFT JOIN json_each(m.value, '$.flds') AS f "
                 "ORDER BY CAST(m.key AS INTEGER), f.key",
                 [&](sqlite3_stmt* s) {
                     const int64_t id = sqlite3_column_int64(s, 0);
                     auto it = typeAt.find(id);
                     if (it == typeAt.end()) {
                         it = typeAt.emplace(id, package.NoteTypes.size()).first;
                         package.NoteTypes.push_back({id, Text(s, 1), {}});
                     }
                     if (sqlite3_column_type(s, 2) != SQLITE_NULL)
                         package.NoteTypes[it->second].Fields.push_back(Text(s, 2));
                 });
        db.Query("SELECT CAST(d.key AS INTEGER), json_extract(d.value, '$.name') "
                 "FROM (SELECT decks FROM col ORDER BY id LIMIT 1) AS c, json_each(c.decks) AS d",
                 [&](sqlite3_stmt* s) {
                     decks.push_back({sqlite3_column_int64(s, 0), Text(s, 1)});
                 });
    }

    // A card in a filtered deck still belongs to its home deck.
    std::map<int64_t, std::set<int64_t>> cardDecks;
    std::set<int64_t> usedDecks;
    db.Query("SELECT nid, CASE WHEN odid != 0 THEN odid ELSE did END FROM cards",
             [&](sqlite3_stmt* s) {
                 cardDecks[sqlite3_column_int64(s, 0)].insert(sqlite3_column_int64(s, 1));
                 usedDecks.insert(sqlite3_column_int64(s, 1));
             });
    db.Query("SELECT id, mid, flds FROM notes ORDER BY id", [&](sqlite3_stmt* s) {
        TAnkiNote note;
        note.Id = sqlite3_column_int64(s, 0);
        note.TypeId = sqlite3_column_int64(s, 1);
        note.Fields = SplitFields(Text(s, 2));
        if (const auto it = cardDecks.find(note.Id); it != cardDecks.end())
            note.Decks.assign(it->second.begin(), it->second.end());
        package.Notes.push_back(std::move(note));
    });

    // The decks offered for a choice: those holding cards and those above them.
    std::set<std::string> usedNames;
    for (const TAnkiDeck& deck : decks)
        if (usedDecks.count(deck.Id))
            usedNames.insert(deck.Name);
    for (const TAnkiDeck& deck : decks)
        if (std::any_of(usedNames.begin(), usedNames.end(), [&](const std::string& name) {
                return name == deck.Name || name.starts_with(deck.Name + "::");
            }))
            package.Decks.push_back(deck);
    std::sort(package.Decks.begin(), package.Decks.end(),
              [](const TAnkiDeck& a, const TAnkiDeck& b) { return a.Name < b.Name; });
    return package;
}

} // namespace

std::string AnkiCollectionBytes(std::string_view image) {
    return CollectionBytes(OpenImage(image).get()).first;
}

TAnkiPackage ReadAnkiPackage(std::string_view image) {
    auto [bytes, name] = CollectionBytes(OpenImage(image).get());
    TAnkiPackage package = ReadCollection(std::move(bytes));
    package.Collection = std::move(name);
    return package;
}

TAnkiPackage ReadAnkiPackageFile(const std::string& path) {
    auto [bytes, name] = CollectionBytes(OpenFile(path).get());
    TAnkiPackage package = ReadCollection(std::move(bytes));
    package.Collection = std::move(name);
    return package;
}

bool LooksLikeAnkiPackage(std::string_view image) {
    try {
        return FindCollection(OpenImage(image).get()) >= 0;
    } catch (const std::exception&) {
        return false;
    }
}

bool LooksLikeAnkiPackageFile(const std::string& path) {
    try {
        return FindCollection(OpenFile(path).get()) >= 0;
    } catch (const std::exception&) {
        return false;
    }
}

TAnkiImportResult ImportAnki(TVocabFile& doc, const std::string& path,
                             const TAnkiImportSettings& settings) {
    return ImportAnkiData(doc, ReadAnkiPackageFile(path), settings);
}

} // namespace vocalore
