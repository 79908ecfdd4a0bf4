# What every fuzz project under fuzz/ shares: libFuzzer needs clang; the
# repository's warnings-as-errors flags; coverage instrumentation with the
# address and undefined-behaviour sanitizers; and the repository's libraries
# built again here with them. A fuzz project includes this file after
# project() and names the libraries its targets link:
#   include(${CMAKE_CURRENT_SOURCE_DIR}/../../cmake/d72506_fuzz.cmake)
#   d72506_fuzz_libraries(platform/com engine/formula engine/model ...)
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "libFuzzer needs clang: configure with -DCMAKE_CXX_COMPILER=clang++-16")
endif()

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH repo_root)
list(APPEND CMAKE_MODULE_PATH ${repo_root}/cmake)
include(d72506)

set(fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
add_compile_options(-fsanitize=fuzzer-no-link ${fuzz_sanitizers})
# The sources silence GCC-only warnings by name (-Wrestrict); clang knows no
# such group, which is no fault of the code.
add_compile_options(-Wno-unknown-warning-option)
add_link_options(-fsanitize=address,undefined)

find_package(PkgConfig REQUIRED)

macro(d72506_fuzz_libraries)
  foreach(dir IN ITEMS ${ARGN})
    add_subdirectory(${repo_root}/${dir} ${dir})
    # d72506_library takes the project's folder as include root; here that
    # is the fuzz project's folder, not the repository's.
    string(REPLACE "/" "_" target ${dir})
    target_include_directories(${target} PUBLIC ${repo_root})
  endforeach()
endmacro()
