// Y = noop_oct(X, ...): the floor of an Octave-native (.oct) call.  Takes the
// arguments like the plug-ins, computes nothing and returns a new array of X's
// size, left uninitialised: the least a .oct plug-in that writes every sample
// of its result can cost.
#include <octave/oct.h>

DEFUN_DLD(noop_oct, args, ,
          "Y = noop_oct (X, ...): an uninitialised array of X's size (benchmark floor)")
{
    if (args.length() < 1) error("noop_oct needs at least one argument");
    NDArray result(args(0).dims());
    return octave_value(result);
}
