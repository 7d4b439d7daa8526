#pragma once
// Element access by an int index. The program's arrays are indexed from 1
// (parameters 1..8, points 1..N, wells and reads counted as ints); At takes
// that int and does the one conversion to the container's index type, so
// the indexing code reads like the formulas it implements.

#include <concepts>
#include <cstddef>

namespace movra {

template <typename Container, std::integral Index>
constexpr decltype(auto) At(Container& container, Index index)
{
    return container[static_cast<std::size_t>(index)];
}

} // namespace movra
