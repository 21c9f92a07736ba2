# The fast kernels of each core, one translation unit per instruction set:
# the baseline everywhere (SSE2 on x86-64, NEON on arm64), plus AVX2 and
# AVX-512 on x86-64, chosen at run time.  Only these files get the wider
# instruction sets; everything else stays baseline so it runs anywhere.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|x64)$")
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
