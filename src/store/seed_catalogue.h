#pragma once
// The rows a new (or upgraded) file is seeded with: the query catalogue that drives
// collection and the statements that post-process each session.
#include <span>
#include <string>
#include <utility>
#include <vector>

struct SeedQuery {
    int id;
    int typeId;
    const char* query;
    const char* name;
    int maxRows;
    const char* keyField;
    const char* fields;  // comma-separated, in field-id order
};

struct SeedStatement {
    int id;
    int sequence;
    const char* text;
};

// A seeded statement and one of the same effect that visits fewer rows.
struct SeedEquivalent {
    const char* seeded;
    const char* scoped;
};

struct SeedName {
    int id;
    const char* name;
};

// Rows a later data build added after the first catalogue, which stays as it was: query and
// field ids go on from where the previous build's ended, so an upgraded file and a new one
// hold the same catalogue.
struct SeedFields {
    int queryId;
    const char* fields;  // comma-separated, in field-id order
};

struct CatalogueStep {
    int build;  // the data build that brought these rows
    std::span<const SeedName> queryTypes;
    std::span<const SeedQuery> queries;
    // Fields this step gives queries of earlier builds; its own queries' fields follow them.
    std::span<const SeedFields> fields;
};

std::span<const SeedName> SeedQueryTypes();
std::span<const SeedName> SeedStatusTypes();
std::span<const SeedQuery> SeedQueries();
std::span<const SeedStatement> SeedPostProcess();
// What the program runs for a post-processing statement stored exactly as seeded; a statement
// somebody changed runs as stored.
std::span<const SeedEquivalent> SeedScopedEquivalents();
// In build order.
std::span<const CatalogueStep> CatalogueSteps();

// Every field of the first catalogue and of the steps up to `build`, in id order, each as
// its query id and name.
std::vector<std::pair<int, std::string>> CatalogueFields(int build);
