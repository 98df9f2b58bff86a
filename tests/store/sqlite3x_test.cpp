#include "store/sqlite3x.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
