#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

#include "core/platform/Bytes.h"
#include "core/platform/Date.h"
#include "core/platform/EnumText.h"
#include "core/platform/Uuid.h"

// How record values become column values and back: UUIDs as upper-case text, dates as
// REAL seconds since 1970, enumerations as raw values, Booleans as 0/1, absent values
// as NULL. Readers never fail on unparsable stored text; each caller names the
// replacement the store's rules give for that column.
namespace tallowmere::sql {

inline void bind(SQLite::Statement& statement, int index, const Uuid& value) {
    statement.bind(index, value.toString());
}
inline void bind(SQLite::Statement& statement, int index, Date value) {
    statement.bind(index, value.secondsSince1970());
}
inline void bind(SQLite::Statement& statement, int index, const std::string& value) {
    statement.bind(index, value);
}
inline void bind(SQLite::Statement& statement, int index, std::int64_t value) {
    statement.bind(index, static_cast<int64_t>(value));
}
inline void bind(SQLite::Statement& statement, int index, double value) {
    statement.bind(index, value);
}
inline void bind(SQLite::Statement& statement, int index, bool value) {
    statement.bind(index, value ? 1 : 0);
}
inline void bind(SQLite::Statement& statement, int index, const Bytes& value) {
    // SQLite stores NULL for a blob without a data pointer, which an empty vector may
    // hand over; point at something so that empty data stays empty data.
    static constexpr std::uint8_t kNothing = 0;
    statement.bind(index, value.empty() ? &kNothing : value.data(), static_cast<int>(value.size()));
}
template <TabledEnum E>
void bind(SQLite::Statement& statement, int index, E value) {
    statement.bind(index, std::string(rawValue(value)));
}
template <typename T>
void bind(SQLite::Statement& statement, int index, const std::optional<T>& value) {
    if (value) {
        bind(statement, index, *value);
    } else {
        statement.bind(index);
    }
}

// Binds the values to parameters 1, 2, 3... in order.
template <typename... Values>
void bindAll(SQLite::Statement& statement, const Values&... values) {
    int index = 0;
    (bind(statement, ++index, values), ...);
}

inline std::string text(const SQLite::Column& column) {
    return column.getString();
}
inline std::int64_t integer(const SQLite::Column& column) {
    return column.getInt64();
}
inline double real(const SQLite::Column& column) {
    return column.getDouble();
}
inline bool flag(const SQLite::Column& column) {
    return column.getInt64() != 0;
}
inline Date date(const SQLite::Column& column) {
    return Date(column.getDouble());
}

// A required identifier: unparsable text becomes a new random UUID.
inline Uuid uuidOrRandom(const SQLite::Column& column) {
    return Uuid::fromStringOrRandom(column.getString());
}

// An optional identifier: NULL or unparsable text is absent.
inline std::optional<Uuid> optionalUuid(const SQLite::Column& column) {
    if (column.isNull())
        return std::nullopt;
    return Uuid::fromString(column.getString());
}

template <TabledEnum E>
E enumOr(const SQLite::Column& column, E fallback) {
    return fromRaw<E>(column.getString()).value_or(fallback);
}

inline std::optional<std::string> optionalText(const SQLite::Column& column) {
    if (column.isNull())
        return std::nullopt;
    return column.getString();
}
inline std::optional<std::int64_t> optionalInteger(const SQLite::Column& column) {
    if (column.isNull())
        return std::nullopt;
    return column.getInt64();
}
inline std::optional<Date> optionalDate(const SQLite::Column& column) {
    if (column.isNull())
        return std::nullopt;
    return Date(column.getDouble());
}
inline std::optional<Bytes> optionalBytes(const SQLite::Column& column) {
    if (column.isNull())
        return std::nullopt;
    const auto* data = static_cast<const std::uint8_t*>(column.getBlob());
    return Bytes(data, data + column.getBytes());
}

}  // namespace tallowmere::sql
