# Every product is rounded before it is added: forbid contraction into fused
# multiply-add on every compiler the builds use.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffp-contract=off)
elseif(MSVC)
  add_compile_options(/fp:precise)
endif()
