#pragma once
// Builds small flashcard packages in memory for the tests and benchmarks:
// a collection database in either schema, zip archives with any entries,
// zstd frames. Real packages written by another program are checked by
// tests/cli/anki_import.sh.

#include "transfer/Anki.h"

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vocalore::ankitest {

struct TNoteSpec {
    int64_t TypeId = 1;
    std::vector<std::string> Fields;
    int64_t Deck = 1;
};

struct TCollectionPlan {
    bool NewSchema = false; // note types and decks in tables of their own
    std::vector<TAnkiNoteType> Types{{1, "Basic", {"Front", "Back"}}};
    std::vector<TAnkiDeck> Decks{{1, "Default"}};
    std::vector<TNoteSpec> Notes;
};

inline std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

inline int UnicaseForTest(void*, int an, const void* a, int bn, const void* b) {
    const std::string x(static_cast<const char*>(a), size_t(an));
    const std::string y(static_cast<const char*>(b), size_t(bn));
    return x.compare(y);
}

class TSqlWriter {
public:
    TSqlWriter() {
        sqlite3_open(":memory:", &FDb);
        sqlite3_create_collation(FDb, "unicase", SQLITE_UTF8, nullptr, UnicaseForTest);
    }
    ~TSqlWriter() { sqlite3_close(FDb); }
    void Exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string text = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(text + " in " + sql);
        }
    }
    // Binds the texts to ?1, ?2, ... and runs the statement once.
    void Run(const std::string& sql, const std::vector<std::string>& texts) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(FDb, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(FDb));
        for (size_t i = 0; i < texts.size(); ++i)
            sqlite3_bind_text(s, int(i + 1), texts[i].data(), int(texts[i].size()),
                              SQLITE_TRANSIENT);
        const int rc = sqlite3_step(s);
        sqlite3_finalize(s);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(FDb));
    }
    std::string Bytes() {
        sqlite3_int64 size = 0;
        unsigned char* data = sqlite3_serialize(FDb, "main", &size, 0);
        std::string bytes(reinterpret_cast<const char*>(data), size_t(size));
        sqlite3_free(data);
        return bytes;
    }

private:
    sqlite3* FDb = nullptr;
};

inline std::string MakeCollection(const TCollectionPlan& plan) {
    TSqlWriter db;
    db.Exec("CREATE TABLE col (id integer PRIMARY KEY, crt integer, mod integer, scm integer, "
            "ver integer, dty integer, usn integer, ls integer, conf text, models text, "
            "decks text, dconf text, tags text)");
    db.Exec("CREATE TABLE notes (id integer PRIMARY KEY, guid text, mid integer, mod integer, "
            "usn integer, tags text, flds text, sfld integer, csum integer, flags integer, "
            "data text)");
    db.Exec("CREATE TABLE cards (id integer PRIMARY KEY, nid integer, did integer, ord integer, "
            "mod integer, usn integer, type integer, queue integer, due integer, ivl integer, "
            "factor integer, reps integer, lapses integer, left integer, odue integer, "
            "odid integer, flags integer, data text)");
    std::string models = "{}", decks = "{}";
    if (plan.NewSchema) {
        db.Exec("CREATE TABLE notetypes (id integer NOT NULL PRIMARY KEY, name text NOT NULL "
                "COLLATE unicase, mtime_secs integer, usn integer, config blob)");
        db.Exec("CREATE TABLE fields (ntid integer NOT NULL, ord integer NOT NULL, name text "
                "NOT NULL COLLATE unicase, config blob, PRIMARY KEY (ntid, ord)) without rowid");
        db.Exec("CREATE UNIQUE INDEX idx_fields_name_ntid ON fields (name, ntid)");
        db.Exec("CREATE TABLE decks (id integer PRIMARY KEY NOT NULL, name text NOT NULL COLLATE "
                "unicase, mtime_secs integer, usn integer, common blob, kind blob)");
        for (const auto& t : plan.Types) {
            db.Run("INSERT INTO notetypes VALUES (" + std::to_string(t.Id) + ", ?1, 0, 0, x'')",
                   {t.Name});
            // Stored in reverse, so that only the ord column gives the order.
            for (size_t k = t.Fields.size(); k-- > 0;)
                db.Run("INSERT INTO fields VALUES (" + std::to_string(t.Id) + ", " +
                           std::to_string(k) + ", ?1, x'')",
                       {t.Fields[k]});
        }
        for (const auto& d : plan.Decks) {
            std::string name = d.Name;
            for (size_t at; (at = name.find("::")) != std::string::npos;)
                name.replace(at, 2, "\x1f");
            db.Run("INSERT INTO decks VALUES (" + std::to_string(d.Id) + ", ?1, 0, 0, x'', x'')",
                   {name});
        }
    } else {
        models = "{";
        for (const auto& t : plan.Types) {
            models += (models.size() > 1 ? "," : "") + JsonString(std::to_string(t.Id)) +
                      ":{\"id\":" + std::to_string(t.Id) + ",\"name\":" + JsonString(t.Name) +
                      ",\"flds\":[";
            for (size_t k = 0; k < t.Fields.size(); ++k)
                models += std::string(k ? "," : "") + "{\"name\":" + JsonString(t.Fields[k]) +
                          ",\"ord\":" + std::to_string(k) + "}";
            models += "]}";
        }
        models += "}";
        decks = "{";
        for (const auto& d : plan.Decks)
            decks += (decks.size() > 1 ? "," : "") + JsonString(std::to_string(d.Id)) +
                     ":{\"id\":" + std::to_string(d.Id) + ",\"name\":" + JsonString(d.Name) + "}";
        decks += "}";
    }
    db.Run("INSERT INTO col VALUES (1, 0, 0, 0, " + std::string(plan.NewSchema ? "18" : "11") +
               ", 0, 0, 0, '{}', ?1, ?2, '{}', '{}')",
           {models, decks});
    db.Exec("BEGIN");
    int64_t id = 1000;
    for (const auto& n : plan.Notes) {
        std::string flds;
        for (size_t k = 0; k < n.Fields.size(); ++k)
            flds += (k ? "\x1f" : "") + n.Fields[k];
        ++id;
        db.Run("INSERT INTO notes VALUES (" + std::to_string(id) + ", 'g', " +
                   std::to_string(n.TypeId) + ", 0, 0, '', ?1, '', 0, 0, '')",
               {flds});
        db.Exec("INSERT INTO cards VALUES (" + std::to_string(id) + ", " + std::to_string(id) +
                ", " + std::to_string(n.Deck) + ", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, '')");
    }
    db.Exec("COMMIT");
    return db.Bytes();
}

inline std::string Zstd(const std::string& bytes) {
    std::string out(ZSTD_compressBound(bytes.size()), '\0');
    const size_t n = ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 3);
    out.resize(n);
    return out;
}

// The same as one streamed frame whose header gives no size.
inline std::string ZstdStream(const std::string& bytes) {
    ZSTD_CCtx* context = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, 1);
    std::string out(ZSTD_compressBound(bytes.size()) + 64, '\0');
    ZSTD_outBuffer sink{out.data(), out.size(), 0};
    // Fed in pieces: given everything at once, the encoder would write the size.
    const size_t piece = 1 << 16;
    for (size_t at = 0; at < bytes.size(); at += piece) {
        ZSTD_inBuffer in{bytes.data() + at, std::min(piece, bytes.size() - at), 0};
        while (in.pos < in.size)
            ZSTD_compressStream2(context, &sink, &in, ZSTD_e_continue);
    }
    ZSTD_inBuffer none{nullptr, 0, 0};
    while (ZSTD_compressStream2(context, &sink, &none, ZSTD_e_end) != 0) {
    }
    ZSTD_freeCCtx(context);
    out.resize(sink.pos);
    return out;
}

// A zip archive (deflated entries) in memory.
inline std::string MakeZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    for (const auto& [name, data] : entries) {
        zip_source_t* s = zip_source_buffer(archive, data.data(), data.size(), 0);
        zip_file_add(archive, name.c_str(), s, ZIP_FL_ENC_UTF_8);
    }
    zip_close(archive);
    zip_source_open(target);
    zip_source_seek(target, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(target);
    zip_source_seek(target, 0, SEEK_SET);
    std::string bytes(size_t(size), '\0');
    zip_source_read(target, bytes.data(), zip_uint64_t(size));
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

inline std::string MakePackage(const TCollectionPlan& plan, bool compressed = false) {
    const std::string collection = MakeCollection(plan);
    if (!compressed)
        return MakeZip({{"collection.anki2", collection}, {"media", "{}"}});
    // The placeholder a newer program leaves for older readers: one note.
    TCollectionPlan placeholder;
    placeholder.Notes = {{1, {"Please update to the latest version", "placeholder"}, 1}};
    return MakeZip({{"collection.anki2", MakeCollection(placeholder)},
                    {"collection.anki21b", Zstd(collection)},
                    {"media", std::string("\x28\xb5\x2f\xfd\x00\x00\x01\x00\x00", 9)}});
}

} // namespace vocalore::ankitest
