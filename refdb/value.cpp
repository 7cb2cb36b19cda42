#include "refdb/value.h"

#include "numbers/numbers.h"

namespace voltaro::refdb {

std::string Value::text() const {
    if (isInteger()) return std::to_string(std::get<std::int64_t>(data_));
    if (isReal()) return numbers::general(std::get<double>(data_));
    if (isText()) return std::get<std::string>(data_);
    return {};
}

double Value::number() const {
    if (isInteger()) return static_cast<double>(std::get<std::int64_t>(data_));
    if (isReal()) return std::get<double>(data_);
    if (isText()) return numbers::readLeading(std::get<std::string>(data_)).value;
    return 0.0;
}

}  // namespace voltaro::refdb
