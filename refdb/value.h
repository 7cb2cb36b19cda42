// One field value of a reference-database row: empty (NULL), a whole number, a real number or
// a text. Reading a value as text never fails: an empty cell is "", a number is written in general
// number format.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace voltaro::refdb {

class Value {
public:
    Value() = default;  // empty
    Value(std::int64_t integer) : data_(integer) {}
    Value(int integer) : data_(static_cast<std::int64_t>(integer)) {}
    Value(double real) : data_(real) {}
    Value(std::string text) : data_(std::move(text)) {}
    Value(const char* text) : data_(std::string(text)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(data_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(data_); }
    bool isReal() const { return std::holds_alternative<double>(data_); }
    bool isText() const { return std::holds_alternative<std::string>(data_); }

    // "" for an empty cell; numbers in general number format ("0.8", "150").
    std::string text() const;
    // 0 for an empty cell; a text is read as its leading-number value.
    double number() const;

    bool operator==(const Value&) const = default;

    const auto& data() const { return data_; }

private:
    std::variant<std::monostate, std::int64_t, double, std::string> data_;
};

}  // namespace voltaro::refdb
