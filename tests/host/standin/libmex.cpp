// The plug-in library of the stand-in host when it is built as two shared
// libraries, libmx (arrays and the call in progress) and libmex: the error
// operation hands the message to libmx, which jumps back into the call.
#include "standin.h"

extern "C" {

#if defined(_WIN32)
__declspec(dllexport)
#else
__attribute__((visibility("default")))
#endif
void mexErrMsgTxt(const char* message) {
    standinRaiseError(message);
}

}  // extern "C"
