// SPDX-License-Identifier: MIT
// Globals that remember the value a program start gives them, so that one
// call (resetGameState in state/) can put every one of them back.
#pragma once
#include <cstring>
#include <functional>
#include <type_traits>
#include <vector>

// Registers how to put one global back; KEEP_START_VALUE calls it.
void addStartValue(std::function<void()> restore);
// Puts every global kept with KEEP_START_VALUE back to its start value.
void restoreStartValues();

// Takes the global's value now, before main runs, as the one to go back to.
template <typename T> bool keepStartValue(T &global) {
  if constexpr (std::is_array_v<T>) {
    static_assert(std::is_trivially_copyable_v<T>, "an array global is kept as bytes");
    std::vector<unsigned char> start(sizeof(T));
    std::memcpy(start.data(), &global, sizeof(T));
    addStartValue([&global, start] { std::memcpy(&global, start.data(), sizeof(T)); });
  } else {
    addStartValue([&global, start = global] { global = start; });
  }
  return true;
}

// Every global named, each as a program start left it. Written once per file,
// after the globals' definitions: globals of one file are set up in the order
// they are written, so the values taken are the definitions' own.
template <typename... T> bool keepStartValues(T &...globals) {
  (keepStartValue(globals), ...);
  return true;
}
