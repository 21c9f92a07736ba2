#include "standin.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <utility>

struct mxArray_tag {
    standin::Kind kind = standin::Kind::Double;
    bool complex = false;
    bool sparse = false;
    std::size_t rows = 0;
    std::size_t cols = 0;
    std::vector<double> data;
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

Array make(Kind kind, std::size_t r, std::size_t c, bool withData) {
    Array a(new mxArray);
    a->kind = kind;
    a->rows = r;
    a->cols = c;
    if (withData) a->data.assign(r * c, 0.0);
    return a;
}

}  // namespace

void ArrayDeleter::operator()(mxArray* array) const { delete array; }

Array matrix(std::size_t r, std::size_t c, std::vector<double> v) {
    Array a = make(Kind::Double, r, c, true);
    if (!v.empty()) {
        if (v.size() != r * c) {
            std::fprintf(stderr, "standin::matrix: %zu values for %zu x %zu\n", v.size(), r, c);
            std::abort();
        }
        a->data = std::move(v);
    }
    return a;
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
std::size_t rows(const mxArray* a) { return a->rows; }
std::size_t cols(const mxArray* a) { return a->cols; }

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
std::size_t mxGetM(const mxArray* a) { return a->rows; }
std::size_t mxGetN(const mxArray* a) { return a->cols; }
std::size_t mxGetNumberOfElements(const mxArray* a) { return a->rows * a->cols; }
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
// which forwards to standinRaiseError (host/standin/libmex.cpp).
#if !defined(STANDIN_SPLIT_LIBMEX)
void mexErrMsgTxt(const char* message) { standinRaiseError(message); }
#endif

}  // extern "C"
