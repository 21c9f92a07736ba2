// The Octave-native adapter: arguments and results as PluginArray, the
// gateway's errors raised as Octave errors.  Compiled once per build flavour
// and linked into every <name>.oct beside that plug-in's gateway.
#define OCTAVE_NATIVE_ADAPTER 1

#include "octave_native.h"

#include <octave/oct.h>
#include <octave/ov-re-mat.h>
#include <octave/ov-scalar.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "octave_native_call.h"

namespace octave_native {
namespace {

// Asks the kernel to back the whole 2 MiB pages inside a fresh result with
// huge pages where it lets a process ask (transparent huge pages set to
// "madvise").  glibc maps every block of 32 MiB or more anew, and the core's
// first write then faults its pages in one by one; under a hypervisor each
// 4 KiB fault costs microseconds (2048^2 doubles: 95 ms of faults against 10
// with huge pages).  Only a hint: the values and the array's owner are
// untouched, and where it is refused nothing changes.
void preferHugePages(double* memory, std::size_t count) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHuge = std::uintptr_t{1} << 21;
    const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = (begin + count * sizeof(double)) & ~(kHuge - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)memory;
    (void)count;
#endif
}

}  // namespace

// An argument or a result as the gateways see it: class, shape and, for a
// real full double array, its values.  Built per call, so it avoids what
// costs on small calls: copies of Octave's arrays and shapes (each copy of a
// dim_vector allocates) and a heap vector for the shape of a matrix.
class PluginArray {
public:
    PluginArray() = default;

    // An argument.  Octave's own real matrices and scalars are read in place:
    // the argument list outlives the call.  Only a real, full double array has
    // values; the gateways read nothing but class and shape from any other.
    void bind(const octave_value& argument) {
        const octave_base_value* rep = argument.internal_rep();
        const int type = argument.type_id();
        if (type == octave_matrix::static_type_id()) {
            const NDArray& matrix = static_cast<const octave_matrix*>(rep)->matrix_ref();
            setRealDouble(matrix.data(), matrix.dims());
        } else if (type == octave_scalar::static_type_id()) {
            m_values = static_cast<const double*>(rep->mex_get_data());
            m_isDouble = true;
            setDimensions(1, 1);
        } else {
            bindConverted(argument);
        }
    }

    // A result of rows x cols doubles, not initialised: every core writes
    // every sample of its output.  NDArray(dim_vector) would zero it (Octave's
    // array storage value-initialises each element), so the memory comes from
    // the allocator Octave's arrays use and is handed to the array, which
    // frees it.
    PluginArray(std::size_t rows, std::size_t cols) {
        const dim_vector shape(static_cast<octave_idx_type>(rows),
                               static_cast<octave_idx_type>(cols));
        std::allocator<double> allocator;
        double* memory = allocator.allocate(rows * cols);
        preferHugePages(memory, rows * cols);
#if defined(PLUGIN_POISON_RESULTS)
        // Test builds: a signalling NaN with a payload no core computes, so
        // that a sample the core leaves unwritten shows in the result.
        const std::uint64_t poison = 0x7FF00000DEADBEEFull;
        for (std::size_t i = 0; i < rows * cols; ++i) std::memcpy(memory + i, &poison, 8);
#endif
        try {
            m_owned.reset(new octave_matrix(NDArray(Array<double>(memory, shape))));
        } catch (...) {
            allocator.deallocate(memory, rows * cols);
            throw;
        }
        setRealDouble(memory, shape);
    }

    PluginArray(const PluginArray&) = delete;
    PluginArray& operator=(const PluginArray&) = delete;

    // The result as Octave's value; a 1 x 1 result becomes a scalar, as
    // octave_value(NDArray) would make it.
    octave_value release() {
        octave_value result(m_owned.release());
        result.maybe_mutate();
        return result;
    }

    double* values() const { return const_cast<double*>(m_values); }
    const std::size_t* dimensions() const { return m_dimensions; }
    std::size_t dimensionCount() const { return m_dimensionCount; }
    bool isDouble() const { return m_isDouble; }
    bool isComplex() const { return m_isComplex; }
    bool isSparse() const { return m_isSparse; }

private:
    // What Octave stores otherwise (ranges, diagonal matrices, other classes):
    // a real full double value becomes an array of its own, held here.
    void bindConverted(const octave_value& argument) {
        m_isDouble = argument.is_double_type();
        m_isComplex = argument.iscomplex();
        m_isSparse = argument.issparse();
        if (m_isDouble && !m_isComplex && !m_isSparse) {
            m_owned.reset(new octave_matrix(argument.array_value()));
            const NDArray& matrix = m_owned->matrix_ref();
            m_values = matrix.data();
            setDimensions(matrix.dims());
        } else {
            setDimensions(argument.dims());
        }
    }

    void setRealDouble(const double* values, const dim_vector& shape) {
        m_values = values;
        m_isDouble = true;
        setDimensions(shape);
    }

    void setDimensions(std::size_t rows, std::size_t cols) {
        m_fewDimensions[0] = rows;
        m_fewDimensions[1] = cols;
        m_dimensions = m_fewDimensions;
        m_dimensionCount = 2;
    }

    void setDimensions(const dim_vector& shape) {
        const std::size_t count = static_cast<std::size_t>(shape.ndims());
        std::size_t* target = m_fewDimensions;
        if (count > kFewDimensions) {
            m_manyDimensions.resize(count);
            target = m_manyDimensions.data();
        }
        for (std::size_t i = 0; i < count; ++i)
            target[i] = static_cast<std::size_t>(shape.xelem(static_cast<int>(i)));
        m_dimensions = target;
        m_dimensionCount = count;
    }

    static constexpr std::size_t kFewDimensions = 4;

    const double* m_values = nullptr;
    std::unique_ptr<octave_matrix> m_owned;
    std::size_t m_fewDimensions[kFewDimensions] = {};
    std::vector<std::size_t> m_manyDimensions;
    const std::size_t* m_dimensions = m_fewDimensions;
    std::size_t m_dimensionCount = 0;
    bool m_isDouble = false;
    bool m_isComplex = false;
    bool m_isSparse = false;
};

namespace {

// Thrown by mexErrMsgTxt and caught by call(): the gateways and cores hold
// nothing that needs a destructor, so unwinding through them is safe.
struct GatewayError {
    char message[256];
};

// The result the gateway stores in plhs, freed however the call ends.
struct Results {
    PluginArray* plhs[1] = {nullptr};
    ~Results() { delete plhs[0]; }
};

// Every plug-in takes a few arguments: those live on the stack, more (which
// the gateways reject, after looking at them) in a vector.
constexpr int kFewArguments = 8;

}  // namespace

octave_value_list call(const char* plugin, const octave_value_list& args, int nargout) {
    const int nrhs = args.length();
    PluginArray fewInputs[kFewArguments];
    const PluginArray* fewPointers[kFewArguments];
    std::vector<PluginArray> manyInputs;
    std::vector<const PluginArray*> manyPointers;
    PluginArray* inputs = fewInputs;
    const PluginArray** prhs = fewPointers;
    if (nrhs > kFewArguments) {
        manyInputs = std::vector<PluginArray>(static_cast<std::size_t>(nrhs));
        manyPointers.resize(static_cast<std::size_t>(nrhs));
        inputs = manyInputs.data();
        prhs = manyPointers.data();
    }
    for (int i = 0; i < nrhs; ++i) {
        inputs[i].bind(args(i));
        prhs[i] = &inputs[i];
    }
    Results results;
    try {
        mexFunction(nargout, results.plhs, nrhs, prhs);
    } catch (const GatewayError& failure) {
        error("%s: %s", plugin, failure.message);
    }
    if (!results.plhs[0]) return octave_value_list();
    return results.plhs[0]->release();
}

}  // namespace octave_native

using octave_native::PluginArray;

double* mxGetPr(const PluginArray* array) {
    // The MEX interface hands out writable pointers to arguments too; the
    // gateways only read through them.
    return array->values();
}

std::size_t mxGetM(const PluginArray* array) { return array->dimensions()[0]; }

std::size_t mxGetN(const PluginArray* array) {
    std::size_t columns = 1;
    const std::size_t* dimensions = array->dimensions();
    for (std::size_t i = 1; i < array->dimensionCount(); ++i) columns *= dimensions[i];
    return columns;
}

std::size_t mxGetNumberOfElements(const PluginArray* array) {
    return mxGetM(array) * mxGetN(array);
}

std::size_t mxGetNumberOfDimensions(const PluginArray* array) {
    return array->dimensionCount();
}

const std::size_t* mxGetDimensions(const PluginArray* array) { return array->dimensions(); }

bool mxIsDouble(const PluginArray* array) { return array->isDouble(); }
bool mxIsComplex(const PluginArray* array) { return array->isComplex(); }
bool mxIsSparse(const PluginArray* array) { return array->isSparse(); }

PluginArray* mxCreateDoubleMatrix(std::size_t rows, std::size_t cols, octave_native::Complexity) {
    return new PluginArray(rows, cols);
}

void mexErrMsgTxt(const char* message) {
    octave_native::GatewayError failure;
    std::snprintf(failure.message, sizeof failure.message, "%s", message);
    throw failure;
}
