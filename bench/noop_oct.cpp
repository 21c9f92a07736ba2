// Y = noop_oct(X, ...): the floor of an Octave-native (.oct) call.  Takes the
// arguments like the plug-ins, computes nothing and returns a new array of X's
// size, left uninitialised: the least a .oct plug-in that writes every sample
// of its result can cost, before its own writes.  NDArray(dims) would fill
// the array with zeros, so the memory comes from the allocator Octave's
// arrays use and is handed to the array, as the plug-ins' results are.
#include <octave/oct.h>

#include <memory>

DEFUN_DLD(noop_oct, args, ,
          "Y = noop_oct (X, ...): an uninitialised array of X's size (benchmark floor)")
{
    if (args.length() < 1) error("noop_oct needs at least one argument");
    const dim_vector shape = args(0).dims();
    std::allocator<double> allocator;
    double* memory = allocator.allocate(shape.numel());
    return octave_value(NDArray(Array<double>(memory, shape)));
}
