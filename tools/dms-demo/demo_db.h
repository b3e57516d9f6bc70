#pragma once

#include <sqlite3.h>

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "demo_calendar.h"
#include "demo_money.h"

namespace zentrail::dms_demo {

// An amount for the database: paise written as rupees with two decimals.
struct Money {
    Paise paise;
};

// A percentage for the database (hundredths of a per cent written as a per cent).
struct Percent {
    Rate rate;
};

// A new SQLite file, written in one transaction.
class DemoDb {
public:
    // Replaces any file at `path`.
    explicit DemoDb(const std::string& path);
    ~DemoDb();
    DemoDb(const DemoDb&) = delete;
    DemoDb& operator=(const DemoDb&) = delete;

    void Exec(const std::string& sql);
    sqlite3* Handle() const { return db_; }
    [[noreturn]] void Fail(std::string_view what) const;

private:
    sqlite3* db_ = nullptr;
};

// One prepared statement, run once per row of values.
class DemoStatement {
public:
    DemoStatement(DemoDb& db, const std::string& sql);
    ~DemoStatement();
    DemoStatement(const DemoStatement&) = delete;
    DemoStatement& operator=(const DemoStatement&) = delete;

    template <typename... Values>
    void Row(const Values&... values) {
        int index = 0;
        (Bind(++index, values), ...);
        Step();
    }

private:
    void Bind(int index, std::integral auto value) { BindInt(index, static_cast<int64_t>(value)); }
    void Bind(int index, Money value);
    void Bind(int index, Percent value);
    void Bind(int index, std::string_view value);
    void Bind(int index, const std::string& value) { Bind(index, std::string_view(value)); }
    void Bind(int index, const char* value) { Bind(index, std::string_view(value)); }
    void Bind(int index, const DemoDateTime& value) { Bind(index, value.Text()); }
    void Bind(int index, std::nullopt_t);
    template <typename T>
    void Bind(int index, const std::optional<T>& value) {
        if (value)
            Bind(index, *value);
        else
            Bind(index, std::nullopt);
    }
    void BindInt(int index, int64_t value);
    void Step();

    DemoDb& db_;
    sqlite3_stmt* statement_ = nullptr;
};

// An INSERT of the given columns into a table.
class TableInserter : public DemoStatement {
public:
    TableInserter(DemoDb& db, std::string_view table,
                  std::initializer_list<std::string_view> columns);
};

}  // namespace zentrail::dms_demo
