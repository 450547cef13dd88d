// SPDX-License-Identifier: MIT
// The list of globals with their start values; see start_values.h.
#include "common/start_values.h"

namespace {
// Built on first use: the files that register run before main, in any order.
std::vector<std::function<void()>> &restorers() {
  static std::vector<std::function<void()>> list;
  return list;
}
} // namespace

void addStartValue(std::function<void()> restore) { restorers().push_back(std::move(restore)); }

void restoreStartValues() {
  for (const std::function<void()> &restore : restorers()) {
    restore();
  }
}
