#include "shell/db_error.h"

namespace zentrail::ado_error {

DbError InvalidArgument() {
    return DbError(kInvalidArgument,
                   "Arguments are of the wrong type, are out of acceptable range, or are in "
                   "conflict with one another.");
}

DbError NoCurrentRecord() {
    return DbError(kNoCurrentRecord,
                   "Either BOF or EOF is True, or the current record has been deleted. Requested "
                   "operation requires a current record.");
}

DbError ItemNotFound() {
    return DbError(kItemNotFound,
                   "Item cannot be found in the collection corresponding to the requested name or "
                   "ordinal.");
}

DbError ObjectClosed() {
    return DbError(kObjectClosed, "Operation is not allowed when the object is closed.");
}

DbError InvalidConnection() {
    return DbError(kInvalidConnection,
                   "The connection cannot be used to perform this operation. It is either closed "
                   "or invalid in this context.");
}

}  // namespace zentrail::ado_error
