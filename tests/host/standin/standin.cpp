#include "standin.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <utility>

struct mxArray_tag {
    standin::Kind kind = standin::Kind::Double;
    bool complex = false;
    bool sparse = false;
    // Every dimension, at least two, kept as given: hosts drop trailing
    // dimensions of 1, and the gateways must not depend on it.
    std::vector<std::size_t> dims{0, 0};
    std::vector<int> dims700;  // the same, as the 32-bit interface reports them
    std::vector<double> data;

    std::size_t rows() const { return dims[0]; }
    // The host's column count: the product of every dimension after the first.
    std::size_t cols() const {
        std::size_t n = 1;
        for (std::size_t k = 1; k < dims.size(); ++k) n *= dims[k];
        return n;
    }
};

namespace standin {
namespace {

// The call in progress on this thread: where the error operation jumps to and
// what it leaves behind.  Only the stand-in host has such state; the plug-ins
// keep none.
struct CallContext {
    std::jmp_buf returnPoint;
    std::string message;
    std::vector<mxArray*> created;
};
thread_local CallContext* current = nullptr;

Array make(Kind kind, std::vector<std::size_t> dims, bool withData) {
    while (dims.size() < 2) dims.push_back(1);
    Array a(new mxArray);
    a->kind = kind;
    a->dims = std::move(dims);
    for (std::size_t d : a->dims) a->dims700.push_back(static_cast<int>(d));
    if (withData) a->data.assign(a->rows() * a->cols(), 0.0);
    return a;
}

Array make(Kind kind, std::size_t r, std::size_t c, bool withData) {
    return make(kind, std::vector<std::size_t>{r, c}, withData);
}

}  // namespace

void ArrayDeleter::operator()(mxArray* array) const { delete array; }

Array array(std::vector<std::size_t> dims, std::vector<double> v) {
    Array a = make(Kind::Double, std::move(dims), true);
    if (!v.empty()) {
        if (v.size() != a->data.size()) {
            std::fprintf(stderr, "standin::array: %zu values for %zu\n", v.size(), a->data.size());
            std::abort();
        }
        a->data = std::move(v);
    }
    return a;
}

Array matrix(std::size_t r, std::size_t c, std::vector<double> v) {
    return array({r, c}, std::move(v));
}

Array row(std::vector<double> v) { const std::size_t n = v.size(); return matrix(1, n, std::move(v)); }
Array column(std::vector<double> v) { const std::size_t n = v.size(); return matrix(n, 1, std::move(v)); }
Array scalar(double value) { return matrix(1, 1, {value}); }

Array ofKind(Kind kind, std::size_t r, std::size_t c) { return make(kind, r, c, true); }

Array complexMatrix(std::size_t r, std::size_t c) {
    Array a = make(Kind::Double, r, c, true);
    a->complex = true;
    return a;
}

Array sparseMatrix(std::size_t r, std::size_t c) {
    Array a = make(Kind::Double, r, c, true);
    a->sparse = true;
    return a;
}

Array declaredOnly(std::size_t r, std::size_t c, std::size_t held) {
    Array a = make(Kind::Double, r, c, false);
    a->data.assign(held, 0.0);
    return a;
}

std::vector<double> values(const mxArray* a) { return a->data; }
std::size_t rows(const mxArray* a) { return a->rows(); }
std::size_t cols(const mxArray* a) { return a->cols(); }

Outcome call(Entry entry, const std::vector<const mxArray*>& args, int nlhs) {
    CallContext context;
    std::vector<mxArray*> slots(static_cast<std::size_t>(nlhs > 1 ? nlhs : 1), nullptr);
    Outcome outcome;
    CallContext* const outer = current;
    current = &context;
    // The gateway keeps no object with a destructor alive across a host call,
    // so jumping out of it skips nothing.
    if (setjmp(context.returnPoint) == 0) {
        entry(nlhs, slots.data(), static_cast<int>(args.size()),
              const_cast<const mxArray**>(args.data()));
    } else {
        outcome.raised = true;
        outcome.message = context.message;
    }
    current = outer;
    outcome.created = static_cast<int>(context.created.size());
    for (mxArray* a : context.created) {
        if (!outcome.raised && a == slots[0])
            outcome.result.reset(a);
        else
            delete a;
    }
    return outcome;
}

}  // namespace standin

using standin::current;

extern "C" {

double* mxGetPr(const mxArray* a) {
    return a->data.empty() ? nullptr : const_cast<double*>(a->data.data());
}
std::size_t mxGetM(const mxArray* a) { return a->rows(); }
std::size_t mxGetN(const mxArray* a) { return a->cols(); }
std::size_t mxGetNumberOfElements(const mxArray* a) { return a->rows() * a->cols(); }
int mxGetNumberOfDimensions_700(const mxArray* a) { return static_cast<int>(a->dims.size()); }
const int* mxGetDimensions_700(const mxArray* a) { return a->dims700.data(); }
bool mxIsDouble(const mxArray* a) { return a->kind == standin::Kind::Double; }
bool mxIsComplex(const mxArray* a) { return a->complex; }
bool mxIsSparse(const mxArray* a) { return a->sparse; }

mxArray* mxCreateDoubleMatrix_700(int r, int c, mxComplexity flag) {
    if (current == nullptr || r < 0 || c < 0 || flag != mxREAL) {
        std::fprintf(stderr, "stand-in host: bad mxCreateDoubleMatrix_700(%d, %d, %d)\n", r, c,
                     static_cast<int>(flag));
        std::abort();
    }
    mxArray* a = standin::matrix(static_cast<std::size_t>(r), static_cast<std::size_t>(c)).release();
    current->created.push_back(a);
    return a;
}

void standinRaiseError(const char* message) {
    if (current == nullptr) {
        std::fprintf(stderr, "stand-in host: error outside a call: %s\n", message);
        std::abort();
    }
    current->message = message;
    std::longjmp(current->returnPoint, 1);
}

// Split into libmx and libmex, the host keeps the error operation in libmex,
// which forwards to standinRaiseError (tests/host/standin/libmex.cpp).
#if !defined(STANDIN_SPLIT_LIBMEX)
void mexErrMsgTxt(const char* message) { standinRaiseError(message); }
#endif

}  // extern "C"
