// Another program holding the file's lock for a moment: the run waits for it instead of
// failing with "database is locked".
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "store_fixture.h"

namespace storetest {
namespace {

const std::vector<StoredRow> kRows = {
    {L"BIOS", {{L"Name", L"Firmware"}, {L"Version", L"1"}}},
    {L"Services", {{L"DisplayName", L"Alpha"}, {L"ServiceName", L"a"}}},
};

// Another connection writing: it takes the lock on construction and commits after `hold` on
// a thread of its own. The destructor waits for the commit, so no test leaves the lock behind.
class LockHolder {
  public:
    LockHolder(const std::wstring& path, const char* begin, std::chrono::milliseconds hold) {
        db_.open(path);
        // Its commit waits in turn for a read of the store's that may be under way.
        db_.busy_timeout(5000);
        db_.run(begin);
        db_.run("INSERT INTO pre_process (query, sequence) VALUES ('SELECT 1', 1)");
        release_ = std::thread([this, hold] {
            std::this_thread::sleep_for(hold);
            try {
                db_.run("commit");
            } catch (const sqlite3x::database_error& e) {
                error_ = e.what();
            }
        });
    }
    ~LockHolder() {
        release_.join();
        EXPECT_EQ(error_, "");
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

  private:
    sqlite3x::sqlite3_connection db_;
    std::string error_;
    std::thread release_;
};

class LockingTest : public StoreTest {};

TEST_F(LockingTest, RunWaitsForAnExclusiveLockTakenBeforeItStarts) {
    Open();
    RunOutcome outcome;
    {
        LockHolder lock(DbPath(), "begin exclusive", std::chrono::milliseconds(200));
        EXPECT_NO_THROW(outcome = Run(kRows, true));
    }
    EXPECT_EQ(outcome.session.at(L"Services").size(), 1u);
    EXPECT_EQ(Scalar(DbPath(), "SELECT count(*) FROM pre_process"), 1);
}

TEST_F(LockingTest, RowsWaitForAWriteLockTakenBetweenQueries) {
    for (const bool grouped : {true, false}) {
        SCOPED_TRACE(grouped ? "grouped" : "single");
        auto store = Open();
        StoreAll(*store, {kRows[0]}, grouped);
        {
            LockHolder lock(DbPath(), "begin immediate", std::chrono::milliseconds(200));
            EXPECT_NO_THROW(StoreAll(*store, {kRows[1]}, grouped));
        }
        EXPECT_NO_THROW(store->KeepSession());
        EXPECT_EQ(Scalar(DbPath(), "SELECT count(*) FROM session_item WHERE session_id = " +
                                       std::to_string(store->GetSessionId())),
                  2);
    }
}

// While the collector looks for a query's rows, other programs may still write.
TEST_F(LockingTest, GroupHoldsTheWriteLockFromItsFirstRowToItsEnd) {
    auto store = Open();
    const std::wstring write = L"INSERT INTO pre_process (query, sequence) VALUES ('SELECT 1', 1)";
    auto writeElsewhere = [&]() -> std::string {
        try {
            Execute(DbPath(), write);  // a connection that does not wait
        } catch (const sqlite3x::database_error& e) {
            return e.what();
        }
        return "written";
    };
    CRowGroup group(*store);
    EXPECT_EQ(writeElsewhere(), "written");
    store->StoreRow(Find(*store, L"BIOS"), {{L"Name", L"n"}});
    EXPECT_THAT(writeElsewhere(), ::testing::HasSubstr("database is locked"));
    group.Commit();
    EXPECT_EQ(writeElsewhere(), "written");
}

}  // namespace
}  // namespace storetest
