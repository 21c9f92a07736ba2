// An in-process stand-in for the host: arrays of every class the gateways tell
// apart, and an error operation that never returns (it jumps back into call()).
// Lets the gateways run in plain C++ tests, without Octave or MATLAB.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "host/mex_decl.h"

namespace standin {

enum class Kind { Double, Single, Int8, Uint8, Int16, Uint16, Int32, Uint32, Int64, Uint64,
                  Logical, Char, Cell, Struct };

struct ArrayDeleter {
    void operator()(mxArray* array) const;
};
using Array = std::unique_ptr<mxArray, ArrayDeleter>;

// A real double matrix; values in column-major order (zero-filled when empty).
Array matrix(std::size_t rows, std::size_t cols, std::vector<double> values = {});
// A real double array of any number of dimensions (fewer than two are
// padded with 1), kept exactly as given: trailing 1s are not dropped.
Array array(std::vector<std::size_t> dims, std::vector<double> values = {});
Array row(std::vector<double> values);
Array column(std::vector<double> values);
Array scalar(double value);
// Arrays that a gateway must refuse: another class, complex, or sparse.
Array ofKind(Kind kind, std::size_t rows, std::size_t cols);
Array complexMatrix(std::size_t rows, std::size_t cols);
Array sparseMatrix(std::size_t rows, std::size_t cols);
// A double matrix of any declared size that holds only its first `held`
// values (none by default): reading further is a fault, so a gateway may
// examine its sizes but must never take it for a valid argument whose data
// it reads in full.
Array declaredOnly(std::size_t rows, std::size_t cols, std::size_t held = 0);

std::vector<double> values(const mxArray* array);
std::size_t rows(const mxArray* array);
std::size_t cols(const mxArray* array);

using Entry = void (*)(int, mxArray*[], int, const mxArray*[]);

struct Outcome {
    bool raised = false;
    std::string message;  // what the error operation received
    Array result;         // the first result slot, when the call succeeded
    int created = 0;      // matrices created during the call
};

// Calls an entry point the way the host does, with `nlhs` result slots.
Outcome call(Entry entry, const std::vector<const mxArray*>& args, int nlhs = 1);

}  // namespace standin

// Ends the call in progress with `message` and never returns: the body of the
// error operation, which a host split into libmx and libmex reaches across
// the library boundary.
extern "C" [[noreturn]] void standinRaiseError(const char* message);
