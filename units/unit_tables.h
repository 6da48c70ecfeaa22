// The catalogue rows, category by category, in display order.
#pragma once

#include <span>
#include <string_view>

namespace calvoro::unit_tables {

struct Row {
  std::string_view name;
  std::string_view factor;
};

// The rows of one of the thirteen categories (already lower-cased); empty for
// any other name.
std::span<const Row> RowsOf(std::string_view category);

}  // namespace calvoro::unit_tables
