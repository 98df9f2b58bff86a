#include "store/sqlite3x.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string_view>
#include <vector>

#include "util/utf.h"

namespace sqlite3x {
namespace {

// Each connection of the program is used by one thread at a time, so SQLite's locks around
// every call, and around every allocation for its memory statistics, only cost time (a
// tenth of a run's instructions). They can be dropped only before SQLite starts; when
// something in the process started it first, the defaults stay.
void ConfigureLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        // A statement inserting many rows keeps what it changed aside until it ends; past 64 KB
        // SQLite wrote that to a temporary file, thousands of writes a run. A statement's
        // changes are small enough for memory.
        sqlite3_config(SQLITE_CONFIG_STMTJRNL_SPILL, -1);
    });
}

bool IsDamageCode(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// The conversions of util stop at the first NUL; a stored value keeps what follows it. A NUL
// is never part of a surrogate pair, so converting the pieces between NULs converts the whole.
template <typename To, typename From, typename Convert>
To Whole(std::basic_string_view<From> text, Convert convert) {
    std::size_t nul = text.find(From{});
    if (nul == std::basic_string_view<From>::npos) {
        return convert(text);
    }
    To out;
    out.reserve(text.size());
    for (;;) {
        out += convert(text.substr(0, nul));
        if (nul == std::basic_string_view<From>::npos) {
            return out;
        }
        out.push_back(typename To::value_type{});
        text.remove_prefix(nul + 1);
        nul = text.find(From{});
    }
}

std::u16string WholeToUtf16(std::wstring_view text) {
    return Whole<std::u16string>(text, [](std::wstring_view piece) { return ToUtf16(piece); });
}

std::string WholeToUtf8(std::wstring_view text) {
    return Whole<std::string>(text, [](std::wstring_view piece) { return WideToUtf8(piece); });
}

std::wstring WholeFromUtf16(std::u16string_view text) {
    return Whole<std::wstring>(text, [](std::u16string_view piece) { return FromUtf16(piece); });
}

// SQLite's reading of UTF-8 into UTF-16, for a file that keeps its text in UTF-8: a lead
// byte takes every continuation byte that follows; an overlong form, a surrogate and
// U+FFFE/U+FFFF read as U+FFFD; a lone continuation byte is a character of its own; past
// U+10FFFF the pair keeps the low bits.
std::u16string Utf16AsSqliteReads(std::string_view stored) {
    static constexpr unsigned char kLeadBits[64] = {
        0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c,
        0x0d, 0x0e, 0x0f, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19,
        0x1a, 0x1b, 0x1c, 0x1d, 0x1e, 0x1f, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06,
        0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f, 0x00, 0x01, 0x02, 0x03,
        0x04, 0x05, 0x06, 0x07, 0x00, 0x01, 0x02, 0x03, 0x00, 0x01, 0x00, 0x00,
    };
    std::u16string out;
    out.reserve(stored.size());
    const auto* in = reinterpret_cast<const unsigned char*>(stored.data());
    const auto* end = in + stored.size();
    while (in < end) {
        std::uint32_t c = *in++;
        if (c >= 0xc0) {
            c = kLeadBits[c - 0xc0];
            while (in < end && (*in & 0xc0) == 0x80)
                c = (c << 6) + (0x3f & *in++);
            if (c < 0x80 || (c & 0xFFFFF800) == 0xD800 || (c & 0xFFFFFFFE) == 0xFFFE)
                c = 0xFFFD;
        }
        if (c <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            const std::uint32_t high = (((c >> 10) & 0x3F) + (((c - 0x10000) >> 10) & 0xC0)) |
                                       ((((c - 0x10000) >> 18) & 0x03) << 8);
            out.push_back(static_cast<char16_t>(0xD800 + high));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        }
    }
    return out;
}

// Whole code units; an odd last byte is not read, as SQLite does not read it.
std::u16string Utf16Units(std::string_view stored, bool bigEndian) {
    std::u16string out(stored.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto first = static_cast<unsigned char>(stored[2 * i]);
        const auto second = static_cast<unsigned char>(stored[2 * i + 1]);
        out[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return out;
}

}  // namespace

std::wstring wide_text(std::string_view stored, text_encoding encoding) {
    switch (encoding) {
        case text_encoding::utf8:
            return WholeFromUtf16(Utf16AsSqliteReads(stored));
        case text_encoding::utf16be:
            return WholeFromUtf16(Utf16Units(stored, true));
        case text_encoding::utf16le:
            break;
    }
    return WholeFromUtf16(Utf16Units(stored, false));
}

database_error::database_error(const char* format, ...) {
    const std::size_t size = std::max<std::size_t>(2048, 2 * std::strlen(format));
    std::vector<char> buffer(size);
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer.data(), size, format, args);
    va_end(args);
    if (written < 0 || static_cast<std::size_t>(written) >= size) {
        buffer[size - 1] = '\0';
        std::memset(&buffer[size - 4], '.', 3);
    }
    message_ = buffer.data();
}

database_error::database_error(const sqlite3_connection& connection)
    : message_("sqlite3_connection[" + connection.name_ + "]: ") {
    if (connection.db_ != nullptr) {
        if (const char* reason = sqlite3_errmsg(connection.db_)) {
            message_ += reason;
        }
        damaged_ = IsDamageCode(sqlite3_errcode(connection.db_));
    }
}

sqlite3_connection::~sqlite3_connection() {
    try {
        close();
    } catch (...) {
    }
}

void sqlite3_connection::open(const char* path) {
    close();
    name_ = path != nullptr ? path : "";
    ConfigureLibraryOnce();
    sqlite3* db = nullptr;
    if (sqlite3_open(path, &db) != SQLITE_OK) {
        sqlite3_close(db);  // a failed open may still hand out a handle
        throw database_error("unable to open database %s", path != nullptr ? path : "<null>");
    }
    db_ = db;
    after_open();
}

void sqlite3_connection::open(const std::wstring& path) {
    // Callers open only a closed connection; closing anyway keeps a mistake from leaking.
    close();
    name_.clear();
    const std::u16string path16 = ToUtf16(path);
    ConfigureLibraryOnce();
    sqlite3* db = nullptr;
    if (sqlite3_open16(path16.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw database_error("unable to open database");
    }
    db_ = db;
    after_open();
}

void sqlite3_connection::close() {
    if (db_ == nullptr) {
        return;
    }
    sqlite3* db = db_;
    db_ = nullptr;
    if (sqlite3_close(db) != SQLITE_OK) {
        throw database_error(*this);
    }
}

void sqlite3_connection::require_open() const {
    if (db_ == nullptr) {
        throw database_error("database is not open");
    }
}

namespace {

void PrepareNarrow(sqlite3_command& command, const std::string& sql) {
    command.prepare(sql.data(), static_cast<int>(sql.size()));
}

}  // namespace

void sqlite3_connection::run(const std::string& sql) {
    require_open();
    sqlite3_command command(*this);
    PrepareNarrow(command, sql);
    command.run();
}

void sqlite3_connection::run(const std::wstring& sql) {
    require_open();
    sqlite3_command(*this, sql).run();
}

int sqlite3_connection::scalar_int(const std::string& sql) {
    require_open();
    sqlite3_command command(*this);
    PrepareNarrow(command, sql);
    return command.scalar_int();
}

std::wstring sqlite3_connection::scalar_wstring(const std::string& sql) {
    require_open();
    sqlite3_command command(*this);
    PrepareNarrow(command, sql);
    return command.scalar_wstring();
}

std::int64_t sqlite3_connection::last_insert_rowid() {
    require_open();
    return sqlite3_last_insert_rowid(db_);
}

text_encoding sqlite3_connection::encoding() {
    const std::wstring name = scalar_wstring("PRAGMA encoding;");
    if (name == L"UTF-8") {
        return text_encoding::utf8;
    }
    return name == L"UTF-16be" ? text_encoding::utf16be : text_encoding::utf16le;
}

void sqlite3_connection::busy_timeout(int milliseconds) {
    require_open();
    if (sqlite3_busy_timeout(db_, milliseconds) != SQLITE_OK) {
        throw database_error(*this);
    }
}

sqlite3_command::sqlite3_command(sqlite3_connection& connection) : connection_(connection) {}

sqlite3_command::sqlite3_command(sqlite3_connection& connection, const std::wstring& sql)
    : connection_(connection) {
    connection_.require_open();
    const std::u16string sql16 = ToUtf16(sql);
    // The _v2 forms report the real reason of a failed step (the legacy ones only say
    // "SQL logic error") and prepare again after a schema change.
    if (sqlite3_prepare16_v2(connection_.db_, sql16.data(), static_cast<int>(sql16.size() * 2),
                             &stmt_, nullptr) != SQLITE_OK) {
        throw database_error(connection_);
    }
    columns_ = sqlite3_column_count(stmt_);
}

sqlite3_command::~sqlite3_command() {
    try {
        finalize();
    } catch (...) {
    }
}

void sqlite3_command::prepare(const char* sql, int length) {
    finalize();
    connection_.require_open();
    if (sqlite3_prepare_v2(connection_.db_, sql, length, &stmt_, nullptr) != SQLITE_OK) {
        const std::string text = length < 0 ? std::string(sql) : std::string(sql, length);
        database_error error("sqlite3_command::prepare([%s]) failed. Reason=[%s]", text.c_str(),
                             sqlite3_errmsg(connection_.db_));
        error.damaged_ = IsDamageCode(sqlite3_errcode(connection_.db_));
        throw error;
    }
    columns_ = sqlite3_column_count(stmt_);
}

void sqlite3_command::finalize() {
    if (stmt_ == nullptr) {
        return;
    }
    const int rc = sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    columns_ = 0;
    if (rc != SQLITE_OK) {
        throw database_error(connection_);
    }
}

void sqlite3_command::bind(int index, std::int64_t value) {
    if (stmt_ == nullptr) {
        throw database_error("sqlite3_command::bind(%d): no statement", index);
    }
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK) {
        throw database_error("sqlite3_command::bind(%d) failed. Reason=[%s]", index,
                             sqlite3_errstr(rc));
    }
}

void sqlite3_command::bind(int index, std::wstring_view value) {
    if (stmt_ == nullptr) {
        throw database_error("sqlite3_command::bind(%d): no statement", index);
    }
    const std::u16string text = WholeToUtf16(value);
    // The 64-bit length cannot wrap; SQLite itself refuses what is past its limit. The data
    // pointer of an empty string is not null, so empty text binds as text, not as NULL.
    int rc = SQLITE_OK;
    if (!text.empty() && (text.front() == u'\uFEFF' || text.front() == u'\uFFFE')) {
        // SQLite takes these two at the start of UTF-16 text for a byte-order mark: dropped,
        // or the rest read in the other byte order. Given as UTF-8 the first stays (SQLite's
        // UTF-8 reader makes the non-character U+FFFE a U+FFFD, as the conversions here do).
        const std::string utf8 = WholeToUtf8(value);
        rc = sqlite3_bind_text64(stmt_, index, utf8.data(), utf8.size(), SQLITE_TRANSIENT,
                                 SQLITE_UTF8);
    } else {
        rc = sqlite3_bind_text64(stmt_, index, reinterpret_cast<const char*>(text.data()),
                                 text.size() * sizeof(char16_t), SQLITE_TRANSIENT, SQLITE_UTF16);
    }
    if (rc != SQLITE_OK) {
        throw database_error("sqlite3_command::bind(%d) failed. Reason=[%s]", index,
                             sqlite3_errstr(rc));
    }
}

bool sqlite3_command::step() {
    if (stmt_ == nullptr) {
        return false;  // empty or comment-only SQL prepares to no statement
    }
    switch (sqlite3_step(stmt_)) {
        case SQLITE_ROW:
            return true;
        case SQLITE_DONE:
            return false;
        default: {
            // Read the reason before the reset, which may replace it.
            database_error error(connection_);
            sqlite3_reset(stmt_);
            throw error;
        }
    }
}

void sqlite3_command::reset() {
    if (stmt_ != nullptr) {
        // Its result repeats the last step's error, which the step has already reported.
        sqlite3_reset(stmt_);
    }
}

sqlite3_cursor sqlite3_command::open_cursor() {
    return sqlite3_cursor(*this);
}

void sqlite3_command::run() {
    sqlite3_cursor cursor(*this);
    cursor.step();
}

int sqlite3_command::scalar_int() {
    sqlite3_cursor cursor(*this);
    if (!cursor.step()) {
        throw database_error("nothing to read");
    }
    return cursor.getint(0);
}

std::wstring sqlite3_command::scalar_wstring() {
    sqlite3_cursor cursor(*this);
    if (!cursor.step()) {
        throw database_error("nothing to read");
    }
    return cursor.getwstring(0);
}

sqlite3_cursor::sqlite3_cursor(sqlite3_command& command) : command_(&command) {
    ++command_->readers_;
}

sqlite3_cursor::sqlite3_cursor(sqlite3_cursor&& other) noexcept : command_(other.command_) {
    other.command_ = nullptr;
}

sqlite3_cursor& sqlite3_cursor::operator=(sqlite3_cursor&& other) noexcept {
    if (this != &other) {
        close();
        command_ = other.command_;
        other.command_ = nullptr;
    }
    return *this;
}

sqlite3_cursor::~sqlite3_cursor() {
    close();
}

bool sqlite3_cursor::step() {
    if (command_ == nullptr) {
        throw database_error("sqlite3_cursor::step(): reader is closed");
    }
    return command_->step();
}

void sqlite3_cursor::check(const char* getter, int index) const {
    if (command_ == nullptr) {
        throw database_error("sqlite3_cursor::%s(%d): reader is closed", getter, index);
    }
    if (index < 0 || index > command_->columns_ - 1) {
        throw database_error("sqlite3_cursor::%s(%d): index out of range", getter, index);
    }
}

int sqlite3_cursor::getint(int index) {
    check("getint", index);
    return sqlite3_column_int(command_->stmt_, index);
}

std::wstring sqlite3_cursor::getwstring(int index) {
    check("wstring", index);
    const void* text = sqlite3_column_text16(command_->stmt_, index);
    if (text == nullptr) {
        return {};
    }
    const int bytes = sqlite3_column_bytes16(command_->stmt_, index);
    return WholeFromUtf16(std::u16string_view(static_cast<const char16_t*>(text),
                                              static_cast<std::size_t>(bytes) / 2));
}

// A value read from the file holds its text in the file's encoding until asked for another;
// a blob read of it converts nothing.
std::string_view sqlite3_cursor::getbytes(int index) {
    check("bytes", index);
    const void* bytes = sqlite3_column_blob(command_->stmt_, index);
    if (bytes == nullptr) {
        return {};
    }
    return {static_cast<const char*>(bytes),
            static_cast<std::size_t>(sqlite3_column_bytes(command_->stmt_, index))};
}

bool sqlite3_cursor::isnull(int index) {
    check("isnull", index);
    return sqlite3_column_type(command_->stmt_, index) == SQLITE_NULL;
}

void sqlite3_cursor::close() {
    if (command_ == nullptr) {
        return;
    }
    if (--command_->readers_ == 0) {
        command_->reset();
    }
    command_ = nullptr;
}

sqlite3_scoped_transaction::sqlite3_scoped_transaction(sqlite3_connection& connection)
    : connection_(connection) {
    connection_.run("begin immediate");
    active_ = true;
}

sqlite3_scoped_transaction::~sqlite3_scoped_transaction() {
    if (!active_) {
        return;
    }
    try {
        connection_.run("rollback");
    } catch (...) {
    }
}

void sqlite3_scoped_transaction::commit() {
    connection_.run("commit");
    active_ = false;
}

}  // namespace sqlite3x
