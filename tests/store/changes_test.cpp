// The comparison of a run's session with the one kept from the run before.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "store_fixture.h"
#include "util/utf.h"

namespace storetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<int> Kinds(const std::vector<ChangeRecord>& records) {
    std::vector<int> kinds;
    for (const auto& record : records) {
        kinds.push_back(record.kind);
    }
    return kinds;
}

// Without ORDER BY in the statements only the grouping by kind is fixed; sort inside it.
std::vector<ChangeRecord> Sorted(std::vector<ChangeRecord> records) {
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) {
        return std::tie(a.kind, a.keyValue, a.exportName, a.itemId) <
               std::tie(b.kind, b.keyValue, b.exportName, b.itemId);
    });
    return records;
}

void ExpectRecord(const ChangeRecord& record, int kind, int itemId, const std::wstring& key,
                  const std::wstring& exportName = L"", const std::wstring& oldValue = L"",
                  const std::wstring& newValue = L"") {
    EXPECT_EQ(record.kind, kind);
    EXPECT_EQ(record.itemId, itemId);
    EXPECT_EQ(record.keyValue, key);
    EXPECT_EQ(record.exportName, exportName);
    EXPECT_EQ(record.oldValue, oldValue);
    EXPECT_EQ(record.newValue, newValue);
}

StoredRow Service(const std::wstring& name, const std::wstring& service) {
    return {L"Services", {{L"DisplayName", name}, {L"ServiceName", service}}};
}

class ChangesTest : public StoreTest {
  protected:
    int ItemId(const std::wstring& key, int session) {
        return Scalar(DbPath(),
                      "SELECT id FROM session_item WHERE session_id = " + std::to_string(session) +
                          " AND key_value = '" + WideToUtf8(key) + "'");
    }
};

TEST_F(ChangesTest, FirstRunHasNothingToCompareWith) {
    {
        auto store = Open();
        ChangeData changes;
        EXPECT_EQ(store->LoadChanges(changes), 1);
        EXPECT_TRUE(changes.empty());
    }
    const RunOutcome first = Run({Service(L"Alpha", L"a")});
    EXPECT_EQ(first.changesResult, 1);
    EXPECT_TRUE(first.changes.empty());

    const RunOutcome second = Run({Service(L"Alpha", L"a")});
    EXPECT_EQ(second.changesResult, 0);
    EXPECT_TRUE(second.changes.empty()) << Describe(second.changes);
}

TEST_F(ChangesTest, NewRemovedAndChangedItemsOfOneQuery) {
    const RunOutcome first = Run({Service(L"Alpha", L"a"), Service(L"Beta", L"b"),
                                  Service(L"Delta", L""), Service(L"Epsilon", L"e")});
    const int beta = ItemId(L"Beta", first.sessionId);

    const RunOutcome second = Run({Service(L"Alpha", L"A"), Service(L"Gamma", L"g"),
                                   Service(L"Delta", L"d"), Service(L"Epsilon", L"e")});
    ASSERT_EQ(second.changesResult, 0);
    ASSERT_EQ(second.changes.size(), 1u) << Describe(second.changes);
    const auto& services = second.changes.at(L"Services");
    ASSERT_THAT(Kinds(services), ElementsAre(1, 2, 3, 3)) << Describe(second.changes);
    const auto records = Sorted(services);
    ExpectRecord(records[0], 1, ItemId(L"Gamma", second.sessionId), L"Gamma");
    ExpectRecord(records[1], 2, beta, L"Beta");
    // Text comparison is case-sensitive; an empty old value is still a value.
    ExpectRecord(records[2], 3, ItemId(L"Alpha", second.sessionId), L"Alpha", L"ServiceName", L"a",
                 L"A");
    ExpectRecord(records[3], 3, ItemId(L"Delta", second.sessionId), L"Delta", L"ServiceName", L"",
                 L"d");
}

TEST_F(ChangesTest, BaseReadAheadGivesWhatLoadChangesReads) {
    const std::wstring other = (folder.path() / L"other.db").wstring();
    const std::vector<StoredRow> first = {Service(L"Alpha", L"a"), Service(L"Beta", L"b")};
    const std::vector<StoredRow> second = {Service(L"Alpha", L"A"), Service(L"Gamma", L"g")};
    Run(first);
    RunAt(other, first);
    const RunOutcome plain = RunAt(other, second);

    auto store = Open();
    StoreAll(*store, second);
    store->PostProcess();
    SessionData session;
    store->LoadSession(session);
    store->ReadComparisonBase();
    ChangeData changes;
    EXPECT_EQ(store->LoadChanges(changes), 0);
    EXPECT_EQ(Describe(changes), Describe(plain.changes));
    EXPECT_THAT(Kinds(changes.at(L"Services")), ElementsAre(1, 2, 3));

    // Read ahead of another run that replaced the base: that run's session is compared with.
    auto early = Open();
    early->ReadComparisonBase();
    store->KeepSession();
    store.reset();
    const RunOutcome replacing = Run({Service(L"Delta", L"d")});
    ChangeData late;
    EXPECT_EQ(early->LoadChanges(late), 0);
    ASSERT_EQ(late.at(L"Services").size(), 1u) << Describe(late);
    EXPECT_EQ(late.at(L"Services")[0].itemId, ItemId(L"Delta", replacing.sessionId));
}

TEST_F(ChangesTest, KeysMatchOnlyWhenExactlyEqual) {
    struct Case {
        const char* what;
        std::wstring before;
        std::wstring after;
    };
    for (const Case& c : {Case{"letter case", L"Firmware", L"FIRMWARE"},
                          Case{"trailing blank", L"Firmware", L"Firmware "}}) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(DbPath());
        const RunOutcome first = Run({{L"BIOS", {{L"Name", c.before}, {L"Version", L"1"}}}});
        const int old = ItemId(c.before, first.sessionId);
        const RunOutcome second = Run({{L"BIOS", {{L"Name", c.after}, {L"Version", L"2"}}}});
        ASSERT_EQ(second.changes.size(), 1u) << Describe(second.changes);
        const auto& bios = second.changes.at(L"BIOS");
        ASSERT_EQ(bios.size(), 2u) << Describe(second.changes);
        ExpectRecord(bios[0], 1, ItemId(c.after, second.sessionId), c.after);
        ExpectRecord(bios[1], 2, old, c.before);
    }
}

TEST_F(ChangesTest, FieldPresentOnOneSideOnlyGivesNothing) {
    Run({{L"BIOS", {{L"Name", L"X"}, {L"Version", L"1"}, {L"Manufacturer", L"M"}}},
         {L"ComputerSystem", {{L"Manufacturer", L"Acme"}}},
         {L"Processor", {{L"Name", L"CPU"}, {L"DeviceID", L"CPU0"}}}});
    const RunOutcome second =
        Run({{L"BIOS", {{L"Name", L"X"}, {L"Version", L"1"}}},
             {L"ComputerSystem", {{L"Manufacturer", L"Acme"}, {L"Model", L"Z"}}},
             {L"Processor", {{L"Name", L"CPU"}, {L"DeviceID", L"CPU0"}}}});
    EXPECT_EQ(second.changesResult, 0);
    // Unchanged queries and those with no items on either side are left out altogether.
    EXPECT_THAT(second.changes, IsEmpty()) << Describe(second.changes);
}

TEST_F(ChangesTest, SharedKeysAreNotFilteredAsInTheLoadedSession) {
    const auto process = [](const std::wstring& path) {
        return StoredRow{L"Process",
                         {{L"Name", L"a.exe"}, {L"CommandLine", L"a"}, {L"ExecutablePath", path}}};
    };
    const auto fresh = [](const std::wstring& path) {
        return StoredRow{L"Process",
                         {{L"Name", L"n.exe"}, {L"CommandLine", L"n"}, {L"ExecutablePath", path}}};
    };
    Run({process(L"C:\\old")});
    const RunOutcome second =
        Run({process(L"C:\\one"), process(L"C:\\two"), fresh(L"C:\\n1"), fresh(L"C:\\n2")});
    ASSERT_EQ(second.session.at(L"Process").size(), 2u);
    ASSERT_THAT(Kinds(second.changes.at(L"Process")), ElementsAre(1, 1, 3, 3))
        << Describe(second.changes);
    const auto records = Sorted(second.changes.at(L"Process"));
    EXPECT_EQ(records[0].keyValue, L"n.exe,n");
    EXPECT_EQ(records[1].keyValue, L"n.exe,n");
    EXPECT_NE(records[0].itemId, records[1].itemId);
    std::vector<std::wstring> newValues = {records[2].newValue, records[3].newValue};
    std::sort(newValues.begin(), newValues.end());
    EXPECT_THAT(newValues, ElementsAre(L"C:\\one", L"C:\\two"));
    EXPECT_EQ(records[2].oldValue, L"C:\\old");
    EXPECT_EQ(records[3].oldValue, L"C:\\old");
}

TEST_F(ChangesTest, UpdatesTurnedIntoHotFixesAreComparedAsHotFixes) {
    const auto update = [](const std::wstring& kb, const std::wstring& version) {
        return StoredRow{L"InstalledSoftware32",
                         {{L"DisplayName", L"Security Update for Windows XP (" + kb + L")"},
                          {L"DisplayVersion", version},
                          {L"Publisher", L"Microsoft Corporation"}}};
    };
    const auto fix = [](const std::wstring& by) {
        return StoredRow{L"QuickFixEngineering",
                         {{L"Description", L"Fix"}, {L"HotFixId", L"KB1"}, {L"InstalledBy", by}}};
    };
    const auto program = StoredRow{
        L"InstalledSoftware32",
        {{L"DisplayName", L"Notepad"}, {L"DisplayVersion", L"1"}, {L"Publisher", L"Contoso"}}};
    const RunOutcome first =
        Run({update(L"KB2393802", L"1"), update(L"KB2345678", L"1"), fix(L"a"), program});
    const RunOutcome second =
        Run({update(L"KB2393802", L"1"), update(L"KB2345678", L"2"), fix(L"b"), program});

    ASSERT_EQ(second.changes.size(), 1u) << Describe(second.changes);
    ASSERT_THAT(Kinds(second.changes.at(L"QuickFixEngineering")), ElementsAre(1, 2, 3))
        << Describe(second.changes);
    const auto records = Sorted(second.changes.at(L"QuickFixEngineering"));
    EXPECT_EQ(records[0].keyValue,
              L"Security Update for Windows XP (KB2345678),2,Microsoft Corporation");
    EXPECT_EQ(records[1].keyValue,
              L"Security Update for Windows XP (KB2345678),1,Microsoft Corporation");
    ExpectRecord(records[2], 3, ItemId(L"Fix,KB1", second.sessionId), L"Fix,KB1", L"InstalledBy",
                 L"a", L"b");
}

}  // namespace
}  // namespace storetest
