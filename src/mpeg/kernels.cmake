# SPDX-License-Identifier: GPL-3.0-or-later
# Per-file flags of the kernels built once per instruction set: the scalar
# reference without auto-vectorisation, the AVX2 one for x86-64 processors
# that have it (chosen at run time). Shared with the fuzz build.
function(lexoria_mpeg_kernel_flags dir)
  set_source_files_properties(${dir}/synthesis_scalar.cpp ${dir}/layer3kernels_scalar.cpp
    PROPERTIES COMPILE_OPTIONS "-fno-tree-vectorize;-fno-tree-slp-vectorize")
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|i.86")
    set_source_files_properties(${dir}/synthesis_avx2.cpp ${dir}/layer3kernels_avx2.cpp
      PROPERTIES COMPILE_OPTIONS "-mavx2;-mfma;-ffp-contract=off")
  endif()
endfunction()
