#pragma once

#include <stdexcept>
#include <string>

namespace tallowmere {

// A failure of the local store: the file could not be opened, a statement failed or a
// migration could not be applied. `code` is SQLite's result code (0 when the failure
// did not come from SQLite).
class DatabaseError : public std::runtime_error {
public:
    DatabaseError(const std::string& what, int code) : std::runtime_error(what), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};

}  // namespace tallowmere
