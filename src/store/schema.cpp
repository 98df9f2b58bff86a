#include "store/schema.h"

#include <span>

#include "store/seed_catalogue.h"

namespace {

// A SQL string literal: quotes doubled.
std::string Quoted(const char* text) {
    std::string out = "'";
    for (const char* p = text; *p; ++p) {
        if (*p == '\'')
            out += '\'';
        out += *p;
    }
    return out + "'";
}

std::vector<std::string> SeedNames(const char* table, std::span<const SeedName> rows) {
    std::vector<std::string> statements;
    for (const auto& row : rows)
        statements.push_back(std::string("INSERT INTO [") + table + "] (id,name) VALUES (" +
                             std::to_string(row.id) + "," + Quoted(row.name) + ");");
    return statements;
}

std::string QueryTypeRow(const SeedName& row) {
    return "INSERT INTO [query_type] (id,name) VALUES (" + std::to_string(row.id) + "," +
           Quoted(row.name) + ");";
}

std::string QueryRow(const SeedQuery& q) {
    return "INSERT INTO [query] (id,query_type_id,query,name,max_rows,key_field) VALUES (" +
           std::to_string(q.id) + "," + std::to_string(q.typeId) + "," + Quoted(q.query) + "," +
           Quoted(q.name) + "," + std::to_string(q.maxRows) + "," + Quoted(q.keyField) + ");";
}

std::string QueryFieldRow(std::size_t id, const std::pair<int, std::string>& field) {
    const std::string name = Quoted(field.second.c_str());
    return "INSERT INTO [query_field] (id,query_id,name,export_name) VALUES (" +
           std::to_string(id) + "," + std::to_string(field.first) + "," + name + "," + name + ");";
}

// The steps a file of build `from` lacks, up to this build's.
std::vector<const CatalogueStep*> StepsAfter(int from) {
    std::vector<const CatalogueStep*> steps;
    for (const auto& step : CatalogueSteps())
        if (step.build > from && step.build <= kDataFormatBuild)
            steps.push_back(&step);
    return steps;
}

// A table's rows of the first catalogue and of every step up to this build.
template <typename Row>
std::vector<std::string> CatalogueRows(std::span<const Row> first,
                                       std::span<const Row> CatalogueStep::*added,
                                       std::string (*make)(const Row&)) {
    std::vector<std::string> statements;
    for (const auto& row : first)
        statements.push_back(make(row));
    for (const auto* step : StepsAfter(0))
        for (const auto& row : step->*added)
            statements.push_back(make(row));
    return statements;
}

std::vector<std::string> SeedQueryTypeRows() {
    return CatalogueRows(SeedQueryTypes(), &CatalogueStep::queryTypes, QueryTypeRow);
}
std::vector<std::string> SeedStatusTypeRows() {
    return SeedNames("status_type", SeedStatusTypes());
}
std::vector<std::string> SeedQueryRows() {
    return CatalogueRows(SeedQueries(), &CatalogueStep::queries, QueryRow);
}

std::vector<std::string> SeedQueryFieldRows() {
    std::vector<std::string> statements;
    const auto fields = CatalogueFields(kDataFormatBuild);
    for (std::size_t i = 0; i < fields.size(); ++i)
        statements.push_back(QueryFieldRow(i + 1, fields[i]));
    return statements;
}

std::vector<std::string> SeedPostProcessRows() {
    std::vector<std::string> statements;
    for (const auto& s : SeedPostProcess())
        statements.push_back("INSERT INTO [post_process] (id,query,sequence) VALUES (" +
                             std::to_string(s.id) + "," + Quoted(s.text) + "," +
                             std::to_string(s.sequence) + ");");
    return statements;
}

std::vector<std::string> NoSeed() {
    return {};
}

}  // namespace

std::vector<UpgradeStatement> CatalogueUpgrade(int fromBuild) {
    std::vector<UpgradeStatement> statements;
    const std::size_t firstField = CatalogueFields(fromBuild).size();
    const auto fields = CatalogueFields(kDataFormatBuild);
    for (std::size_t i = firstField; i < fields.size(); ++i)
        statements.push_back({"query_field", QueryFieldRow(i + 1, fields[i])});
    for (const auto* step : StepsAfter(fromBuild)) {
        for (const auto& row : step->queryTypes)
            statements.push_back({"query_type", QueryTypeRow(row)});
        for (const auto& q : step->queries) {
            statements.push_back({"query", QueryRow(q)});
            statements.push_back({"session", "INSERT INTO [" + std::string(kQueryFirstSession) +
                                                 "] (query_id,session_id) SELECT " +
                                                 std::to_string(q.id) +
                                                 ", COALESCE(MAX(id),0)+1 FROM [session];"});
        }
    }
    return statements;
}

const char* QueryFirstSessionCreate() {
    return "CREATE TABLE [query_first_session] ([query_id] INTEGER NOT NULL PRIMARY KEY, "
           "[session_id] INTEGER NOT NULL);";
}

const char* VersionTableCreate() {
    return "CREATE TABLE [version] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, [major] "
           "INTEGER NOT NULL, [minor] INTEGER NOT NULL, [build] INTEGER NOT NULL, [created] "
           "DATETIME NOT NULL);";
}

const char* SessionViewCreate() {
    return "CREATE VIEW [v_session_item_field] AS SELECT si.session_id AS session_id, "
           "sif.session_item_id AS session_item_id, si.query_id AS query_id, q.name AS "
           "query_name, sif.query_field_id AS query_field_id, qf.name AS query_field_name, "
           "sif.id AS session_item_field_id, sif.field AS session_item_field_value, q.query AS "
           "query FROM session_item si INNER JOIN session_item_field sif ON si.id = "
           "sif.session_item_id INNER JOIN query q ON q.id = si.query_id INNER JOIN query_field "
           "qf ON q.id = qf.query_id AND qf.id = sif.query_field_id;";
}

const std::vector<TableDefinition>& SchemaTables() {
    static const std::vector<TableDefinition> tables = {
        {"history",
         "CREATE TABLE [history] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, [created] "
         "DATETIME NOT NULL);",
         {},
         NoSeed},
        {"history_item",
         "CREATE TABLE [history_item] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, "
         "[history_id] INTEGER NOT NULL, [query_id] INTEGER NOT NULL, [deleted] INTEGER NOT NULL "
         "DEFAULT 0);",
         {},
         NoSeed},
        {"history_item_field",
         "CREATE TABLE [history_item_field] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, "
         "[history_item_id] INTEGER NOT NULL, [query_field_id] INTEGER NOT NULL, [field] TEXT NOT "
         "NULL);",
         {},
         NoSeed},
        {"post_process",
         "CREATE TABLE [post_process] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, [query] "
         "TEXT NOT NULL, [sequence] INTEGER NOT NULL DEFAULT 0);",
         {},
         SeedPostProcessRows},
        {"pre_process",
         "CREATE TABLE [pre_process] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, [query] "
         "TEXT NOT NULL, [sequence] INTEGER NOT NULL DEFAULT 0);",
         {},
         NoSeed},
        {"query",
         "CREATE TABLE [query] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, [query_type_id] "
         "INTEGER NOT NULL, [query] TEXT NOT NULL, [name] TEXT NOT NULL, [max_rows] INTEGER NOT "
         "NULL DEFAULT 0, [key_field] TEXT NOT NULL);",
         {},
         SeedQueryRows},
        {"query_field",
         "CREATE TABLE [query_field] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, "
         "[query_id] INTEGER NOT NULL, [name] TEXT NOT NULL, [export_name] TEXT NOT NULL);",
         {},
         SeedQueryFieldRows},
        {"query_type",
         "CREATE TABLE [query_type] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, [name] "
         "TEXT NOT NULL);",
         {},
         SeedQueryTypeRows},
        {"session",
         "CREATE TABLE [session] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, "
         "[status_type_id] INTEGER NOT NULL, [created] DATETIME NOT NULL);",
         {},
         NoSeed},
        {"session_item",
         "CREATE TABLE [session_item] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, "
         "[session_id] INTEGER NOT NULL, [query_id] INTEGER NOT NULL, [key_value] TEXT NOT NULL "
         "DEFAULT '');",
         {"CREATE INDEX [session_item_key_value] ON [session_item] ([key_value]);",
          "CREATE INDEX [session_item_query_id] ON [session_item] ([query_id]);",
          "CREATE INDEX [session_item_session_id] ON [session_item] ([session_id]);"},
         NoSeed},
        {"session_item_field",
         "CREATE TABLE [session_item_field] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, "
         "[session_item_id] INTEGER NOT NULL, [query_field_id] INTEGER NOT NULL, [field] TEXT NOT "
         "NULL);",
         {"CREATE INDEX [session_item_field_field] ON [session_item_field] ([field]);",
          "CREATE INDEX [session_item_field_query_field_id] ON [session_item_field] "
          "([query_field_id]);",
          "CREATE INDEX [session_item_field_session_item_id] ON [session_item_field] "
          "([session_item_id]);"},
         NoSeed},
        {"status_type",
         "CREATE TABLE [status_type] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, [name] "
         "TEXT NOT NULL);",
         {},
         SeedStatusTypeRows},
        {kQueryFirstSession, QueryFirstSessionCreate(), {}, NoSeed},
    };
    return tables;
}
