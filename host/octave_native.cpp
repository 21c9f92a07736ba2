// The Octave-native adapter: arguments and results as PluginArray, the
// gateway's errors raised as Octave errors.  Compiled once per build flavour
// and linked into every <name>.oct beside that plug-in's gateway.
#define OCTAVE_NATIVE_ADAPTER 1

#include "octave_native.h"

#include <octave/oct.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "octave_native_call.h"

namespace octave_native {

class PluginArray {
public:
    // An argument.  Only a real, full double array has values; the gateways
    // read nothing but class and shape from any other.
    explicit PluginArray(const octave_value& argument)
        : m_isDouble(argument.is_double_type()),
          m_isComplex(argument.iscomplex()),
          m_isSparse(argument.issparse()) {
        if (m_isDouble && !m_isComplex && !m_isSparse) {
            // Shares the argument's data (ranges and scalars become arrays).
            m_values = argument.array_value();
            setDimensions(m_values.dims());
        } else {
            setDimensions(argument.dims());
        }
    }

    // A result of rows x cols doubles, not initialised: every core writes
    // every sample of its output.  NDArray(dim_vector) would zero it (Octave's
    // array storage value-initialises each element), so the memory comes from
    // the allocator Octave's arrays use and is handed to the array, which
    // frees it.
    PluginArray(std::size_t rows, std::size_t cols)
        : m_isDouble(true), m_isComplex(false), m_isSparse(false) {
        const dim_vector shape(static_cast<octave_idx_type>(rows),
                               static_cast<octave_idx_type>(cols));
        std::allocator<double> allocator;
        double* memory = allocator.allocate(rows * cols);
#if defined(PLUGIN_POISON_RESULTS)
        // Test builds: a signalling NaN with a payload no core computes, so
        // that a sample the core leaves unwritten shows in the result.
        const std::uint64_t poison = 0x7FF00000DEADBEEFull;
        for (std::size_t i = 0; i < rows * cols; ++i) std::memcpy(memory + i, &poison, 8);
#endif
        try {
            m_values = NDArray(Array<double>(memory, shape));
        } catch (...) {
            allocator.deallocate(memory, rows * cols);
            throw;
        }
        setDimensions(shape);
    }

    // Never through fortran_vec(): that would copy an argument's shared data.
    double* values() {
        return m_isDouble && !m_isComplex && !m_isSparse ? const_cast<double*>(m_values.data())
                                                         : nullptr;
    }
    const NDArray& array() const { return m_values; }
    const std::vector<std::size_t>& dimensions() const { return m_dimensions; }
    bool isDouble() const { return m_isDouble; }
    bool isComplex() const { return m_isComplex; }
    bool isSparse() const { return m_isSparse; }

private:
    void setDimensions(const dim_vector& shape) {
        m_dimensions.resize(static_cast<std::size_t>(shape.ndims()));
        for (std::size_t i = 0; i < m_dimensions.size(); ++i)
            m_dimensions[i] = static_cast<std::size_t>(shape.xelem(static_cast<int>(i)));
    }

    NDArray m_values;
    std::vector<std::size_t> m_dimensions;
    bool m_isDouble;
    bool m_isComplex;
    bool m_isSparse;
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

}  // namespace

octave_value_list call(const char* plugin, const octave_value_list& args, int nargout) {
    const int nrhs = args.length();
    std::vector<PluginArray> inputs;
    inputs.reserve(static_cast<std::size_t>(nrhs));
    std::vector<const PluginArray*> prhs(static_cast<std::size_t>(nrhs));
    for (int i = 0; i < nrhs; ++i) {
        inputs.emplace_back(args(i));
        prhs[static_cast<std::size_t>(i)] = &inputs.back();
    }
    Results results;
    try {
        mexFunction(nargout, results.plhs, nrhs, prhs.data());
    } catch (const GatewayError& failure) {
        error("%s: %s", plugin, failure.message);
    }
    if (!results.plhs[0]) return octave_value_list();
    return octave_value(results.plhs[0]->array());
}

}  // namespace octave_native

using octave_native::PluginArray;

double* mxGetPr(const PluginArray* array) {
    // The MEX interface hands out writable pointers to arguments too; the
    // gateways only read through them.
    return const_cast<PluginArray*>(array)->values();
}

std::size_t mxGetM(const PluginArray* array) { return array->dimensions()[0]; }

std::size_t mxGetN(const PluginArray* array) {
    std::size_t columns = 1;
    const std::vector<std::size_t>& dimensions = array->dimensions();
    for (std::size_t i = 1; i < dimensions.size(); ++i) columns *= dimensions[i];
    return columns;
}

std::size_t mxGetNumberOfElements(const PluginArray* array) {
    return mxGetM(array) * mxGetN(array);
}

std::size_t mxGetNumberOfDimensions(const PluginArray* array) {
    return array->dimensions().size();
}

const std::size_t* mxGetDimensions(const PluginArray* array) {
    return array->dimensions().data();
}

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
