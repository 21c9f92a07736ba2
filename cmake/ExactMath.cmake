# The flags of every source (plugins.txt, flags lines): no contraction into
# fused multiply-add, so that every product is rounded before it is added,
# and hidden symbols, on every compiler the builds use.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(${REGISTRY_FLAGS_GNU})
elseif(MSVC)
  add_compile_options(${REGISTRY_FLAGS_MSVC})
endif()
