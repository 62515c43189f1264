#pragma once
// A fixed-size array indexed from 1, as the record and the method's formulas count
// (stretches 1..8, trains 1..6, tracks 1..4, break points 1..33, bands 1..7).

#include <cassert>
#include <cstddef>

template <class T, int N>
struct Array1 {
    T v[N]{};

    static constexpr int size() { return N; }
    constexpr T& operator[](int i)
    {
        assert(i >= 1 && i <= N);
        return v[i - 1];
    }
    constexpr const T& operator[](int i) const
    {
        assert(i >= 1 && i <= N);
        return v[i - 1];
    }
    constexpr T* begin() { return v; }
    constexpr T* end() { return v + N; }
    constexpr const T* begin() const { return v; }
    constexpr const T* end() const { return v + N; }
    void fill(const T& x)
    {
        for (auto& e : v) e = x;
    }
    friend bool operator==(const Array1&, const Array1&) = default;
};
