// Seconds a call takes. Only for catching work that grows with the square of
// an input of about a megabyte: the bounds checked are far above the linear
// time, even on a loaded machine under the sanitizers.
#ifndef INKLINE_TESTS_SUPPORT_ELAPSED_H
#define INKLINE_TESTS_SUPPORT_ELAPSED_H

#include <chrono>

// Generous enough for a linear pass over a megabyte under any build; a
// quadratic one takes minutes.
constexpr double kLinearBoundSeconds = 5.0;

template <typename Call>
double SecondsFor(Call&& call) {
  const auto start = std::chrono::steady_clock::now();
  call();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

#endif  // INKLINE_TESTS_SUPPORT_ELAPSED_H
