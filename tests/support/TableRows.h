#pragma once
// The one idiom of the test tables: a row is a struct whose first member is `const char* name`,
// a word naming the case. Rows print as their name in failure messages (PrintTo, found by
// argument-dependent lookup for every row type of this namespace), and RowName() names each
// instance of a parameterised suite after its row.

#include <gtest/gtest.h>

#include <concepts>
#include <ostream>
#include <string>

namespace qivara::test {

template <typename Row>
concept NamedRow = requires(const Row& row) {
    { row.name } -> std::convertible_to<const char*>;
};

template <NamedRow Row>
void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

struct RowName {
    template <NamedRow Row>
    std::string operator()(const testing::TestParamInfo<Row>& info) const {
        return info.param.name;
    }
};

}  // namespace qivara::test
