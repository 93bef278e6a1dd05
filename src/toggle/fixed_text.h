// Texts built at compile time: a string of known length that can be joined
// with others in constant expressions, so that every composed box text is
// measured by the compiler.
#pragma once

template <unsigned N>
struct FixedText {
  static constexpr unsigned length = N;
  char chars[N + 1];
  constexpr const char *c_str() const { return chars; }
};

template <unsigned N>
consteval FixedText<N - 1> Lit(const char (&s)[N]) {
  FixedText<N - 1> t{};
  for (unsigned i = 0; i < N; ++i) t.chars[i] = s[i];
  return t;
}

template <unsigned A, unsigned B>
consteval FixedText<A + B> operator+(const FixedText<A> &a, const FixedText<B> &b) {
  FixedText<A + B> t{};
  for (unsigned i = 0; i < A; ++i) t.chars[i] = a.chars[i];
  for (unsigned i = 0; i <= B; ++i) t.chars[A + i] = b.chars[i];
  return t;
}
