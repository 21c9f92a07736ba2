# The fast kernels of each core, one translation unit per instruction set:
# the baseline everywhere (SSE2 on x86-64, NEON on arm64), plus AVX2 and
# AVX-512 on x86-64, chosen at run time.  Only these files get the wider
# instruction sets; everything else stays baseline so it runs anywhere.
#
# The kernels need GCC/Clang vector extensions.  A compiler without them
# (MSVC) gets -DPLUGINS_FAST_KERNELS=OFF by default: only the reference cores
# are compiled, which give the same bits, only slower.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles([=[
typedef double pair __attribute__((vector_size(2 * sizeof(double))));
int main() {
  pair a = {1.0, 2.0};
  pair b = a * a;
  double first;
  __builtin_memcpy(&first, &b, sizeof first);
  return first == 1.0 ? 0 : 1;
}]=] PLUGINS_HAVE_VECTOR_EXTENSIONS)
option(PLUGINS_FAST_KERNELS "Build the SIMD kernels (off: the reference cores only)"
       ${PLUGINS_HAVE_VECTOR_EXTENSIONS})
if(PLUGINS_FAST_KERNELS AND NOT PLUGINS_HAVE_VECTOR_EXTENSIONS)
  message(FATAL_ERROR "PLUGINS_FAST_KERNELS=ON needs GCC/Clang vector extensions, "
                      "which this compiler (${CMAKE_CXX_COMPILER_ID}) lacks")
endif()

if(NOT PLUGINS_FAST_KERNELS)
  set(FAST_ISAS "")
  add_compile_definitions(PLUGINS_FAST_KERNELS=0)
  message(STATUS "Fast kernels: off, the reference cores only")
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|x64)$")
  set(FAST_ISAS baseline avx2 avx512)
else()
  set(FAST_ISAS baseline)
endif()

foreach(kind analysis synthesis circular)
  set(fast_${kind}_sources ${PROJECT_SOURCE_DIR}/core/fast/isa.cpp)
  foreach(isa IN LISTS FAST_ISAS)
    list(APPEND fast_${kind}_sources ${PROJECT_SOURCE_DIR}/core/fast/${kind}_${isa}.cpp)
  endforeach()
  if("avx2" IN_LIST FAST_ISAS)
    set_source_files_properties(${PROJECT_SOURCE_DIR}/core/fast/${kind}_avx2.cpp
      PROPERTIES COMPILE_OPTIONS "-mavx2")
    set_source_files_properties(${PROJECT_SOURCE_DIR}/core/fast/${kind}_avx512.cpp
      PROPERTIES COMPILE_OPTIONS "-mavx512f")
  endif()
endforeach()
