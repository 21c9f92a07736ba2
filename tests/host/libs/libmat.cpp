// The MAT-file library of the macOS host: plug-ins link it, as the host's
// own build tools do, and call nothing in it.  This stand-in only gives the
// linker a libmat.dylib to record.
extern "C" {}
