#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

// SQLite stays behind this layer: callers see neither its handles nor its result codes.
struct sqlite3;
struct sqlite3_stmt;

namespace sqlite3x {

class sqlite3_connection;

// The one exception of the store; every SQLite failure ends up as one.
class database_error : public std::exception {
  public:
    // printf rules; a text longer than its buffer (2048 bytes, or twice the format's length)
    // is cut and ends in "...".
    explicit database_error(const char* format, ...)
#if defined(__clang__)
        __attribute__((format(printf, 2, 3)))
#elif defined(__GNUC__)
        __attribute__((format(gnu_printf, 2, 3)))
#endif
        ;
    // "sqlite3_connection[<name>]: <SQLite's last error message>".
    explicit database_error(const sqlite3_connection& connection);

    const char* what() const noexcept override {
        return message_.c_str();
    }
    // SQLite found the file not to be a database, or damaged: retrying cannot help.
    bool file_damaged() const noexcept {
        return damaged_;
    }

  private:
    friend class sqlite3_command;

    std::string message_;
    bool damaged_ = false;
};

// How a file keeps its text, fixed when it was made: a file made through the wide open keeps
// UTF-16 in the machine's byte order.
enum class text_encoding { utf8, utf16le, utf16be };

class sqlite3_connection {
  public:
    sqlite3_connection() = default;
    sqlite3_connection(const sqlite3_connection&) = delete;
    sqlite3_connection& operator=(const sqlite3_connection&) = delete;
    // Closes, swallowing any failure.
    virtual ~sqlite3_connection();

    // Closes any open handle first, then opens (creating) the file; the name shows up in
    // error messages.
    virtual void open(const char* path);
    // The store's open; the connection stays unnamed.
    void open(const std::wstring& path);
    void close();
    bool is_open() const { return db_ != nullptr; }

    // Runs one statement that returns nothing (a returned row is accepted and ignored).
    void run(const std::string& sql);
    void run(const std::wstring& sql);
    // Column 0 of the first row; "nothing to read" when there is no row.
    int scalar_int(const std::string& sql);
    std::wstring scalar_wstring(const std::string& sql);

    std::int64_t last_insert_rowid();
    text_encoding encoding();
    // How long a statement waits for another connection's lock before failing with
    // "database is locked"; 0 fails at once (SQLite's default).
    void busy_timeout(int milliseconds);

  protected:
    // Called after every successful open, e.g. to set connection options.
    virtual void after_open() {}

  private:
    friend class database_error;
    friend class sqlite3_command;

    void require_open() const;

    sqlite3* db_ = nullptr;
    std::string name_;
};

class sqlite3_cursor;

// One prepared statement, finalised on destruction. Its cursors point at it, so it stays put.
// Bound values stay bound when the statement is reset, so a command prepared once can be
// bound and run again for every row.
class sqlite3_command {
  public:
    // Prepare later with `prepare`.
    explicit sqlite3_command(sqlite3_connection& connection);
    sqlite3_command(sqlite3_connection& connection, const std::wstring& sql);
    sqlite3_command(const sqlite3_command&) = delete;
    sqlite3_command& operator=(const sqlite3_command&) = delete;
    ~sqlite3_command();

    // Replaces any statement held; `length` is in bytes.
    void prepare(const char* sql, int length);
    void finalize();

    // Parameters count from 1, as ?1, ?2... in the SQL. Text is bound whole, NULs included,
    // and copied: the argument need not outlive the call.
    void bind(int index, std::int64_t value);
    void bind(int index, std::wstring_view value);

    // One step without a cursor: true when it gave a row. A failed step resets the
    // statement before throwing, so the command stays usable.
    bool step();
    // Ready to run again from the start, bindings kept.
    void reset();

    sqlite3_cursor open_cursor();
    void run();
    int scalar_int();
    std::wstring scalar_wstring();

  private:
    friend class sqlite3_cursor;

    sqlite3_connection& connection_;
    sqlite3_stmt* stmt_ = nullptr;
    int readers_ = 0;
    int columns_ = 0;
};

// Walks the rows of a command. The statement is reset when its last cursor closes, so the
// command can run again.
class sqlite3_cursor {
  public:
    sqlite3_cursor() = default;
    explicit sqlite3_cursor(sqlite3_command& command);
    sqlite3_cursor(sqlite3_cursor&& other) noexcept;
    sqlite3_cursor& operator=(sqlite3_cursor&& other) noexcept;
    ~sqlite3_cursor();

    // True while there is a row to read.
    bool step();
    int getint(int index);
    // NULL reads as empty text; NULs inside the text are kept.
    std::wstring getwstring(int index);
    // The text in the file's encoding, as SQL compares it by default (byte by byte), valid
    // until the next step or another getter on the column; NULL reads as empty.
    std::string_view getbytes(int index);
    bool isnull(int index);
    void close();

  private:
    void check(const char* getter, int index) const;

    sqlite3_command* command_ = nullptr;
};

// The wide text getwstring gives for a column whose getbytes is `stored`.
std::wstring wide_text(std::string_view stored, text_encoding encoding);

// Rolls back on scope exit unless committed. It takes the write lock at its start, where a
// busy timeout waits for another connection's lock; asked for after a read inside the
// transaction, SQLite would refuse it at once to rule out a deadlock.
class sqlite3_scoped_transaction {
  public:
    explicit sqlite3_scoped_transaction(sqlite3_connection& connection);
    sqlite3_scoped_transaction(const sqlite3_scoped_transaction&) = delete;
    sqlite3_scoped_transaction& operator=(const sqlite3_scoped_transaction&) = delete;
    ~sqlite3_scoped_transaction();

    void commit();

  private:
    sqlite3_connection& connection_;
    bool active_ = false;
};

}  // namespace sqlite3x
