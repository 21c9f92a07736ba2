// Fixed-width vectors of doubles for the fast kernels, with the lane count W
// as a template parameter.  Every operation is lane-wise IEEE arithmetic, so a
// lane computes exactly what the scalar code computes for its own line.
//
// Everything here sits in an anonymous namespace on purpose: each instruction
// set's kernels are compiled in their own translation unit with their own
// flags, and none of them may share an inline function with another (the
// linker would keep one copy, possibly one the running processor lacks).
#pragma once

namespace {

template <int W>
struct VectorOf {
    typedef double type __attribute__((vector_size(W * sizeof(double))));
};

// One lane is a plain double: GCC keeps a one-lane vector in memory, and a
// sum through the stack waits on each store before the next term.
template <>
struct VectorOf<1> {
    typedef double type;
};

template <int W>
using Vec = typename VectorOf<W>::type;

template <int W>
inline Vec<W> load(const double* from) {
    Vec<W> v;
    __builtin_memcpy(&v, from, sizeof v);
    return v;
}

template <int W>
inline void store(double* to, Vec<W> v) {
    __builtin_memcpy(to, &v, sizeof v);
}

// x in every lane.  Subtracting +0.0 leaves every x as it is, -0.0 included,
// and lets the compiler emit one broadcast instruction (filling the lanes one
// by one goes through the stack).
template <int W>
inline Vec<W> splat(double x) {
    return x - Vec<W>{};
}

template <int W>
inline Vec<W> zero() {
    return splat<W>(0.0);
}

}  // namespace
