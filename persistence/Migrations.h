#pragma once

#include <string_view>
#include <vector>

namespace tallowmere {

// One named step of the schema's history; its statements run in order in one
// transaction. Steps are never changed once released: a new need is a new step.
struct Migration {
    std::string_view identifier;
    std::vector<std::string_view> statements;
};

// Every migration, in the order they are applied.
const std::vector<Migration>& registeredMigrations();

}  // namespace tallowmere
