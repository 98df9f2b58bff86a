#pragma once
// The rows a new (or upgraded) file is seeded with: the query catalogue that drives
// collection and the statements that post-process each session.
#include <span>

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

struct SeedName {
    int id;
    const char* name;
};

std::span<const SeedName> SeedQueryTypes();
std::span<const SeedName> SeedStatusTypes();
std::span<const SeedQuery> SeedQueries();
std::span<const SeedStatement> SeedPostProcess();
