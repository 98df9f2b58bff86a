#pragma once
// A session's items and fields as stored, read in one pass: loading the session and
// comparing it with the previous one work on these instead of a statement per item, and
// compare the stored bytes as SQL compares text.
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/sqlite3x.h"

struct StoredField {
    std::int64_t queryFieldId = 0;
    std::string text;  // in the file's encoding
};

struct StoredItem {
    int id = 0;
    std::int64_t queryId = 0;
    std::string key;  // in the file's encoding
    std::size_t firstField = 0;
    std::size_t fieldCount = 0;
};

struct StoredSession {
    sqlite3x::text_encoding encoding = sqlite3x::text_encoding::utf16le;
    std::vector<StoredItem> items;    // by id
    std::vector<StoredField> fields;  // by item, then by field id

    std::wstring Wide(const std::string& stored) const {
        return sqlite3x::wide_text(stored, encoding);
    }
    std::span<const StoredField> FieldsOf(const StoredItem& item) const {
        return std::span(fields).subspan(item.firstField, item.fieldCount);
    }
};

StoredSession ReadStoredSession(sqlite3x::sqlite3_connection& connection, std::int64_t sessionId);

// The names the joins with `query` and `query_field` give, by id.
struct StoredCatalogue {
    struct Field {
        std::int64_t queryId = 0;
        std::wstring exportName;
    };
    std::unordered_map<std::int64_t, std::wstring> queryNames;
    std::unordered_map<std::int64_t, Field> fields;

    // The export name of a field of the item's own query; null for any other field, which
    // the join on both ids leaves out.
    const std::wstring* ExportName(const StoredItem& item, const StoredField& field) const {
        const auto found = fields.find(field.queryFieldId);
        return found != fields.end() && found->second.queryId == item.queryId
                   ? &found->second.exportName
                   : nullptr;
    }
};

StoredCatalogue ReadStoredCatalogue(sqlite3x::sqlite3_connection& connection);
