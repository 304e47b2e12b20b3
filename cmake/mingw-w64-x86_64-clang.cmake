# Cross-compiling for 64-bit Windows with clang, against the same MinGW-w64
# headers, runtime and posix-thread libstdc++ as the GCC build. Its purpose is a
# second opinion on the code: what only GCC accepts fails here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CLANG_TARGET x86_64-w64-windows-gnu)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${CLANG_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${CLANG_TARGET})
# The resource script goes through LLVM's resource compiler too, closer to MSVC's than GNU windres.
find_program(VANTREL_LLVM_WINDRES NAMES llvm-windres-14 llvm-windres REQUIRED)
set(CMAKE_RC_COMPILER ${VANTREL_LLVM_WINDRES})
set(CMAKE_SYSROOT /usr/${TOOLCHAIN_PREFIX})

# clang looks for libstdc++ under a GCC version directory it can parse; Debian's
# is called "12-posix", which it cannot, so its folders are named here.
file(GLOB MINGW_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${TOOLCHAIN_PREFIX}/*-posix)
list(SORT MINGW_GCC_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET MINGW_GCC_DIRS 0 MINGW_GCC_DIR)
set(MINGW_CXX_INCLUDE ${MINGW_GCC_DIR}/include/c++)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
  ${MINGW_CXX_INCLUDE} ${MINGW_CXX_INCLUDE}/${TOOLCHAIN_PREFIX} ${MINGW_CXX_INCLUDE}/backward)

# lld finds symbols in archives whatever their order, so the thread library the
# posix libstdc++ needs can be named up front. Static runtime, as with GCC.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -static -L${MINGW_GCC_DIR} -lpthread")

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
