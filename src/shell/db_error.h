#pragma once

#include <stdexcept>
#include <string>

namespace zentrail {

// A connection, query or result-set failure: a number and the database's own description.
class DbError : public std::runtime_error {
public:
    DbError(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    long Number() const { return number_; }
    std::string Description() const { return what(); }

private:
    long number_;
};

// The result-set failures. Screens and tests tell them apart by these numbers, so they stay
// fixed.
namespace ado_error {
inline constexpr long kInvalidArgument = 3001;
inline constexpr long kNoCurrentRecord = 3021;
inline constexpr long kItemNotFound = 3265;
inline constexpr long kObjectClosed = 3704;
inline constexpr long kInvalidConnection = 3709;

DbError InvalidArgument();
DbError NoCurrentRecord();
DbError ItemNotFound();
DbError ObjectClosed();
DbError InvalidConnection();
}  // namespace ado_error

}  // namespace zentrail
