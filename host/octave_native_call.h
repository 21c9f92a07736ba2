// The one entry of the Octave-native adapter: runs the gateway linked into
// this .oct on Octave's arguments and returns its result.
#pragma once

class octave_value_list;

namespace octave_native {

// Raises the gateway's errors as "<plugin>: <message>".
octave_value_list call(const char* plugin, const octave_value_list& args, int nargout);

}  // namespace octave_native
