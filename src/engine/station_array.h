// Values along the pile indexed by station number, as the difference equations write them:
// a[m] is the value at station m, whether m is a node (1 .. N) or a fictitious station
// beyond the head (0, -1) or the tip (N + 1). Builds with assertions check every index.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>

namespace zarno {

template <typename T, int First, int Last> class StationArray {
    static_assert(First <= Last, "a station array holds at least one station");

  public:
    static constexpr int first_station = First;
    static constexpr int last_station = Last;

    T& operator[](int station) {
        assert(station >= First && station <= Last && "station outside the array");
        return values_[static_cast<std::size_t>(station - First)];
    }
    const T& operator[](int station) const {
        assert(station >= First && station <= Last && "station outside the array");
        return values_[static_cast<std::size_t>(station - First)];
    }

    void fill(const T& value) { values_.fill(value); }

  private:
    // Like std::array: cleared by value-initialisation (`StationArray a{};` or a member
    // initialised with `{}`), left as it is by default-initialisation, so working arrays
    // that are written before they are read cost no clearing.
    std::array<T, static_cast<std::size_t>(Last - First + 1)> values_;
};

// A table the method numbers from 1 (the equations of the head system, the entries of its
// matrix), with the same index check.
template <typename T, int Size> using OneBasedArray = StationArray<T, 1, Size>;

} // namespace zarno
