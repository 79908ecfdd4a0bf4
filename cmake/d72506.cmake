# Shared build settings: warnings as errors everywhere, optional sanitizers,
# and two helpers so that each folder's CMakeLists stays a few lines long.

add_compile_options(-Wall -Wextra -Wpedantic -Werror)

# GCC 12's optimiser reports -Wrestrict and -Wmaybe-uninitialized inside
# libstdc++'s own std::string code when it inlines it (GCC bug 105329 and
# its kin); they point at no fault of ours. In optimised builds they stay
# warnings, printed but not fatal; the unoptimised sanitizer build, which
# does not raise them falsely, keeps them as errors.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-Wno-error=restrict>
                      $<$<NOT:$<CONFIG:Debug>>:-Wno-error=maybe-uninitialized>)
endif()
if(D72506_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# d72506_library(NAME DEPS...): a static library of every .cpp in the
# calling folder, with the repository root as include root. Position
# independent, as the shared library libd72506 (api/) is linked from them.
function(d72506_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARGN)
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# d72506_test(NAME DEPS...): one GoogleTest executable of every .cpp in the
# calling folder, registered with CTest test by test.
function(d72506_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
