// The failure a calculator reports when the reference database cannot answer a query it must
// answer (the file is damaged, a table is missing or holds no usable row). The code tables are
// expected to be complete; when they are not, the user is told so plainly instead of being shown
// a calculation message that would put the blame on the inputs.
#pragma once

#include <string>
#include <string_view>

#include "calc/common/outcome.h"
#include "refdb/database.h"

namespace voltaro::calc {

// "Reference Database Error:", CR LF, then what went wrong; the cause is the reference data.
inline Failure dataFailure(std::string_view detail) {
    return Failure{"Reference Database Error:\r\n" + std::string(detail), Cause::ReferenceData};
}

inline Failure dataFailure(const refdb::DbError& error) { return dataFailure(error.description); }

}  // namespace voltaro::calc
