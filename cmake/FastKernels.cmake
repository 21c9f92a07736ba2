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

# The instruction sets whose kernels this build compiles: the baseline, and
# each wider set of plugins.txt (isa lines) meant for this processor.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|x64)$")
  set(_arch x86_64)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64|ARM64)$")
  set(_arch aarch64)
else()
  set(_arch ${CMAKE_SYSTEM_PROCESSOR})
endif()
if(NOT PLUGINS_FAST_KERNELS)
  set(FAST_ISAS "")
  add_compile_definitions(PLUGINS_FAST_KERNELS=0)
  message(STATUS "Fast kernels: off, the reference cores only")
else()
  set(FAST_ISAS baseline)
  foreach(isa IN LISTS REGISTRY_ISAS)
    if(REGISTRY_ISA_ARCH_${isa} STREQUAL _arch)
      list(APPEND FAST_ISAS ${isa})
    endif()
  endforeach()
endif()

# A source for one instruction set gets that set's flag, and nothing else does.
function(set_isa_flag source isa)
  if(isa STREQUAL "baseline")
    return()
  endif()
  if(MSVC)
    set(flag ${REGISTRY_ISA_MSVC_${isa}})
  else()
    set(flag ${REGISTRY_ISA_GNU_${isa}})
  endif()
  set_source_files_properties(${source} PROPERTIES COMPILE_OPTIONS "${flag}")
endfunction()

set(_kernel_families "")
foreach(plugin IN LISTS PLUGINS)
  list(APPEND _kernel_families ${PLUGIN_KERNELS_${plugin}})
endforeach()
list(REMOVE_DUPLICATES _kernel_families)
foreach(kind IN LISTS _kernel_families)
  set(fast_${kind}_sources ${PROJECT_SOURCE_DIR}/core/fast/isa.cpp)
  foreach(isa IN LISTS FAST_ISAS)
    set(source ${PROJECT_SOURCE_DIR}/core/fast/${kind}_${isa}.cpp)
    list(APPEND fast_${kind}_sources ${source})
    set_isa_flag(${source} ${isa})
  endforeach()
endforeach()
