#include "store/sqlite3x.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using namespace sqlite3x;
using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const database_error& e) {
        return e.what();
    }
    return "(no database_error)";
}

class Sqlite3xTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.open(std::wstring(L":memory:"));
        db.run("create table t(id integer primary key, value integer, name text not null)");
        db.run(L"insert into t(value, name) values (1, 'one'), (2, 'two'), (3, 'three')");
    }

    sqlite3_connection db;
};

TEST_F(Sqlite3xTest, ScalarsNeedARowButRunDoesNot) {
    EXPECT_EQ(db.scalar_int("select count(*) from t"), 3);
    EXPECT_EQ(db.scalar_wstring("select name from t order by value desc"), L"three");
    EXPECT_EQ(db.scalar_wstring("select null"), L"");
    EXPECT_EQ(db.scalar_wstring("pragma encoding"), L"UTF-16le");  // made by the wide open
    for (const std::string sql : {"select value from t where 0", "", "-- only a comment"}) {
        EXPECT_EQ(ErrorOf([&] { db.scalar_int(sql); }), "nothing to read") << sql;
        EXPECT_EQ(ErrorOf([&] { db.scalar_wstring(sql); }), "nothing to read") << sql;
        EXPECT_NO_THROW(db.run(sql)) << sql;
    }
}

TEST_F(Sqlite3xTest, WideTextSurvivesTheRoundTrip) {
    db.run(L"insert into t(value, name) values (4, 'Gr\u00FC\u00DFe \U0001F600 O''Brien')");
    EXPECT_EQ(db.last_insert_rowid(), 4);
    sqlite3_command command(db, L"select name, length(name) from t where value = 4");
    sqlite3_cursor cursor = command.open_cursor();
    ASSERT_TRUE(cursor.step());
    EXPECT_EQ(cursor.getwstring(0), L"Gr\u00FC\u00DFe \U0001F600 O'Brien");
    EXPECT_EQ(cursor.getint(1), 15);  // SQLite counts the surrogate pair as one character
    EXPECT_FALSE(cursor.step());
}

TEST_F(Sqlite3xTest, TextWithNulsIsReadWhole) {
    using namespace std::string_literals;
    EXPECT_EQ(db.scalar_wstring("select 'a' || char(0) || 'b' || char(0)"), L"a\0b\0"s);
    EXPECT_EQ(db.scalar_wstring("select char(0)"), L"\0"s);
}

// The stored bytes read as wide text without a statement give what the statement gives, in
// both encodings a file can have, for text no program of ours would store but a damaged or
// foreign file may hold: bad sequences, overlong forms, surrogates, non-characters, code
// points past U+10FFFF, odd lengths, NULs.
TEST(StoredText, ReadsAsTheStatementReadsIt) {
    const char* const hex[] = {"",         "41",       "C3A9",     "EFBFBE",   "EFBFBF",
                               "EDA080",   "C0AF",     "80",       "E080",     "F09F9880",
                               "F4908080", "F7BFBFBF", "FF41",     "C3",       "41004200",
                               "00D8",     "00DC4100", "3DD800DE", "FEFF4100", "410000"};
    for (const bool utf8 : {true, false}) {
        sqlite3_connection db;
        if (utf8)
            db.open(":memory:");
        else
            db.open(std::wstring(L":memory:"));
        const text_encoding encoding = db.encoding();
        EXPECT_EQ(encoding, utf8 ? text_encoding::utf8 : text_encoding::utf16le);
        for (const char* bytes : hex) {
            sqlite3_command command(db, L"SELECT CAST(X'" +
                                            std::wstring(bytes, bytes + std::strlen(bytes)) +
                                            L"' AS TEXT)");
            sqlite3_cursor row = command.open_cursor();
            ASSERT_TRUE(row.step());
            const std::string stored(row.getbytes(0));
            EXPECT_EQ(wide_text(stored, encoding), row.getwstring(0))
                << bytes << (utf8 ? " in UTF-8" : " in UTF-16");
        }
    }
}

TEST_F(Sqlite3xTest, BoundCommandRunsAgainWithNewValues) {
    using namespace std::string_literals;
    sqlite3_command insert(db, L"insert into t(value, name) values (?1, ?2)");
    const std::wstring names[] = {L"x\0y"s, L"", L"O'Brien \U0001F600", std::wstring(100000, L'z')};
    const int bytes[] = {6, 0, 20, 200000};  // in UTF-16
    std::int64_t value = 10;
    for (const std::wstring& name : names) {
        insert.bind(1, value++);
        insert.bind(2, name);
        EXPECT_FALSE(insert.step());
        insert.reset();
    }
    // Bindings outlive the reset: the same values once more.
    insert.run();
    sqlite3_command select(
        db,
        L"select value, name, typeof(name), length(cast(name as blob)) from t where value >= 10 "
        L"order by id");
    sqlite3_cursor row = select.open_cursor();
    for (std::int64_t expected : {10, 11, 12, 13, 13}) {
        ASSERT_TRUE(row.step());
        const std::int64_t n = expected - 10;
        EXPECT_EQ(row.getint(0), expected);
        EXPECT_TRUE(row.getwstring(1) == names[n]) << expected;
        EXPECT_EQ(row.getwstring(2), L"text");  // empty text is bound as text, not NULL
        EXPECT_EQ(row.getint(3), bytes[n]);
    }
    EXPECT_FALSE(row.step());
}

// SQLite reads a leading U+FEFF or U+FFFE of bound UTF-16 as a byte-order mark.
TEST_F(Sqlite3xTest, TextStartingLikeAByteOrderMarkKeepsItsFirstCharacter) {
    struct Case {
        std::wstring bound;
        std::wstring read;
    };
    const Case cases[] = {
        {L"\uFEFFtext", L"\uFEFFtext"},
        {L"\uFEFF", L"\uFEFF"},
        {L"\uFEFF\uFEFFx", L"\uFEFF\uFEFFx"},
        {L"\uFFFEtext", L"\uFFFDtext"},  // a non-character, as the conversions treat it
        {L"\uFFFFtext", L"\uFFFFtext"},
        {L"a\uFEFF\uFFFE", L"a\uFEFF\uFFFE"},
    };
    sqlite3_command insert(db, L"insert into t(value, name) values (?1, ?2)");
    std::int64_t value = 100;
    for (const Case& c : cases) {
        insert.bind(1, value++);
        insert.bind(2, c.bound);
        insert.step();
        insert.reset();
    }
    sqlite3_command select(db, L"select name from t where value >= 100 order by value");
    sqlite3_cursor row = select.open_cursor();
    for (const Case& c : cases) {
        ASSERT_TRUE(row.step());
        EXPECT_TRUE(row.getwstring(0) == c.read) << static_cast<int>(c.bound[0]);
    }
}

TEST_F(Sqlite3xTest, BindAndStepFailuresAreThrownAndLeaveTheCommandUsable) {
    sqlite3_command unprepared(db);
    EXPECT_EQ(ErrorOf([&] { unprepared.bind(1, std::int64_t{1}); }),
              "sqlite3_command::bind(1): no statement");
    EXPECT_FALSE(unprepared.step());

    sqlite3_command insert(db, L"insert into t(value, name) values (?1, ?2)");
    EXPECT_EQ(ErrorOf([&] { insert.bind(3, L"x"); }),
              "sqlite3_command::bind(3) failed. Reason=[column index out of range]");
    insert.bind(1, std::int64_t{7});
    // ?2 unbound is NULL, refused by the column.
    EXPECT_EQ(ErrorOf([&] { insert.step(); }),
              "sqlite3_connection[]: NOT NULL constraint failed: t.name");
    insert.bind(2, L"seven");
    EXPECT_FALSE(insert.step());
    insert.reset();
    EXPECT_EQ(db.scalar_wstring("select name from t where value = 7"), L"seven");
}

TEST_F(Sqlite3xTest, GettersCheckIndexAndState) {
    sqlite3_command command(db, L"select id, value, name from t");
    sqlite3_cursor cursor = command.open_cursor();
    ASSERT_TRUE(cursor.step());
    EXPECT_EQ(ErrorOf([&] { cursor.getint(3); }), "sqlite3_cursor::getint(3): index out of range");
    EXPECT_EQ(ErrorOf([&] { cursor.getwstring(-1); }),
              "sqlite3_cursor::wstring(-1): index out of range");
    cursor.close();
    cursor.close();
    EXPECT_EQ(ErrorOf([&] { cursor.getwstring(0); }),
              "sqlite3_cursor::wstring(0): reader is closed");
    EXPECT_EQ(ErrorOf([&] { cursor.step(); }), "sqlite3_cursor::step(): reader is closed");
}

TEST_F(Sqlite3xTest, StatementIsResetWhenTheLastCursorCloses) {
    sqlite3_command command(db, L"select value from t order by value");
    sqlite3_cursor first = command.open_cursor();
    sqlite3_cursor second = command.open_cursor();
    ASSERT_TRUE(first.step());
    ASSERT_TRUE(second.step());
    EXPECT_EQ(second.getint(0), 2);
    first.close();
    sqlite3_cursor moved = std::move(second);  // still one reader, not two or none
    ASSERT_TRUE(moved.step());
    EXPECT_EQ(moved.getint(0), 3);
    moved.close();
    EXPECT_EQ(command.scalar_int(), 1);
    EXPECT_EQ(command.scalar_int(), 1);
}

TEST_F(Sqlite3xTest, FailuresNameTheStatementOrTheConnection) {
    EXPECT_THAT(ErrorOf([&] { db.run("selec 1"); }),
                AllOf(StartsWith("sqlite3_command::prepare([selec 1]) failed. Reason=["),
                      HasSubstr("syntax error"), EndsWith("]")));
    EXPECT_THAT(ErrorOf([&] { db.run(L"selec 1"); }),
                AllOf(StartsWith("sqlite3_connection[]: "), HasSubstr("syntax error")));
    // A failing step reports SQLite's real reason, not a generic one.
    EXPECT_EQ(ErrorOf([&] { db.run(L"insert into t(value) values (1)"); }),
              "sqlite3_connection[]: NOT NULL constraint failed: t.name");
    const std::string message = ErrorOf([&] { db.run("selec " + std::string(3000, 'x')); });
    EXPECT_EQ(message.size(), 2047u);
    EXPECT_THAT(message, AllOf(StartsWith("sqlite3_command::prepare([selec xx"), EndsWith("x...")));
}

TEST(DatabaseError, CutsLongTextsToTheBuffer) {
    const std::string fits(2047, 'a');
    EXPECT_EQ(database_error("%s", fits.c_str()).what(), fits);
    EXPECT_EQ(database_error("%s", (fits + "a").c_str()).what(), std::string(2044, 'a') + "...");
    // A format longer than half the default buffer doubles the buffer instead.
    const std::string format = std::string(1500, 'f') + "%s";
    EXPECT_EQ(std::string(database_error(format.c_str(), fits.c_str()).what()).size(), 3003u);
}

TEST(Connection, RefusesWorkWhileClosed) {
    sqlite3_connection db;
    const std::function<void()> actions[] = {
        [&] { db.run("select 1"); },
        [&] { db.run(L"select 1"); },
        [&] { db.scalar_int("select 1"); },
        [&] { db.scalar_wstring("select 1"); },
        [&] { sqlite3_command(db, L"select 1"); },
    };
    for (const auto& action : actions) {
        EXPECT_EQ(ErrorOf(action), "database is not open");
    }
    db.open(std::wstring(L":memory:"));
    db.close();
    EXPECT_EQ(ErrorOf([&] { db.run("select 1"); }), "database is not open");
}

class CountingConnection : public sqlite3_connection {
  public:
    int opened = 0;

  protected:
    void after_open() override { ++opened; }
};

TEST(Connection, OpensFilesAndCallsTheHookOnSuccessOnly) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::filesystem::path file = folder / "fennock-sqlite3x-test.db";
    const std::filesystem::path missing = folder / "fennock-no-such-folder" / "x.db";
    std::filesystem::remove(file);

    CountingConnection db;
    db.open(file.wstring());
    db.run("create table kept(v integer)");
    db.run("insert into kept values (42)");
    // The narrow open replaces the handle and names the connection in its messages.
    db.open(file.string().c_str());
    EXPECT_EQ(db.scalar_int("select v from kept"), 42);
    EXPECT_EQ(ErrorOf([&] { db.run(L"insert into nowhere values (1)"); }),
              "sqlite3_connection[" + file.string() + "]: no such table: nowhere");

    EXPECT_EQ(ErrorOf([&] { db.open(missing.string().c_str()); }),
              "unable to open database " + missing.string());
    EXPECT_EQ(ErrorOf([&] { db.open(missing.wstring()); }), "unable to open database");
    EXPECT_EQ(db.opened, 2);
    db.close();
    std::filesystem::remove(file);
}

TEST_F(Sqlite3xTest, TransactionRollsBackUnlessCommitted) {
    {
        sqlite3_scoped_transaction transaction(db);
        db.run("delete from t");
    }
    EXPECT_EQ(db.scalar_int("select count(*) from t"), 3);
    {
        sqlite3_scoped_transaction transaction(db);
        db.run("delete from t where value = 1");
        transaction.commit();
    }
    EXPECT_EQ(db.scalar_int("select count(*) from t"), 2);
}

}  // namespace
