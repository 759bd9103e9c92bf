#pragma once
// Growable list with positions from 1. Owns its elements; appending stores a copy.
// ListAt checks the position: below 1 is fatal error 4, above the count fatal error 1.

#include <cstdint>
#include <vector>

#include "FatalError.h"

namespace qivara {

template <typename T>
class List {
public:
    std::int32_t ListCount() const { return static_cast<std::int32_t>(m_items.size()); }

    T& ListAt(std::int64_t position) { return m_items[Checked(position)]; }
    const T& ListAt(std::int64_t position) const { return m_items[Checked(position)]; }

    void ListAppend(T item) { m_items.push_back(std::move(item)); }
    void Empty() { m_items.clear(); }

    // Read-only access for range-for and algorithms; positions there are 0-based.
    const std::vector<T>& Items() const { return m_items; }
    std::vector<T>& Items() { return m_items; }

    bool operator==(const List&) const = default;

private:
    std::size_t Checked(std::int64_t position) const {
        if (position < 1) RaiseFatalError(kErrorListBelowOne, "数组成员引用下标必须大于等于1");
        if (position > ListCount()) RaiseFatalError(kErrorListAboveCount, "数组成员引用下标超出定义范围");
        return static_cast<std::size_t>(position - 1);
    }

    std::vector<T> m_items;
};

}  // namespace qivara
