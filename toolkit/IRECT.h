#pragma once

#include <algorithm>
#include <cmath>

namespace qd3 {

// A rectangle (left, top, right, bottom) in design units, y downwards. A point
// is inside when L <= x < R and T <= y < B.
struct IRECT {
  float L = 0.f;
  float T = 0.f;
  float R = 0.f;
  float B = 0.f;

  constexpr IRECT() = default;
  constexpr IRECT(float l, float t, float r, float b) : L(l), T(t), R(r), B(b) {}

  static constexpr IRECT MakeXYWH(float x, float y, float w, float h) {
    return {x, y, x + w, y + h};
  }
  static constexpr IRECT MakeMidXYWH(float cx, float cy, float w, float h) {
    return {cx - w / 2.f, cy - h / 2.f, cx + w / 2.f, cy + h / 2.f};
  }

  constexpr float W() const { return R - L; }
  constexpr float H() const { return B - T; }
  constexpr float MW() const { return (L + R) / 2.f; }
  constexpr float MH() const { return (T + B) / 2.f; }
  constexpr bool Empty() const { return W() <= 0.f || H() <= 0.f; }

  constexpr bool Contains(float x, float y) const { return x >= L && x < R && y >= T && y < B; }
  constexpr bool Intersects(const IRECT& o) const {
    return !Empty() && !o.Empty() && L < o.R && o.L < R && T < o.B && o.T < B;
  }
  IRECT Union(const IRECT& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B)};
  }
  IRECT Intersect(const IRECT& o) const {
    IRECT r{std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B)};
    return r.Empty() ? IRECT{} : r;
  }
  constexpr IRECT GetPadded(float p) const { return {L - p, T - p, R + p, B + p}; }
  constexpr IRECT GetPadded(float l, float t, float r, float b) const {
    return {L - l, T - t, R + r, B + b};
  }
  constexpr IRECT GetScaled(float s) const { return {L * s, T * s, R * s, B * s}; }
  constexpr IRECT GetTranslated(float dx, float dy) const {
    return {L + dx, T + dy, R + dx, B + dy};
  }
  // The smallest rectangle of whole units that holds this one.
  IRECT GetPixelAligned() const {
    return {std::floor(L), std::floor(T), std::ceil(R), std::ceil(B)};
  }
  constexpr IRECT GetFromTop(float h) const { return {L, T, R, T + h}; }
  constexpr IRECT GetFromBottom(float h) const { return {L, B - h, R, B}; }
  constexpr IRECT GetReducedFromTop(float h) const { return {L, T + h, R, B}; }
  constexpr IRECT GetCentredInside(float w, float h) const {
    return {MW() - w / 2.f, MH() - h / 2.f, MW() + w / 2.f, MH() + h / 2.f};
  }

  friend constexpr bool operator==(const IRECT&, const IRECT&) = default;
};

}  // namespace qd3
