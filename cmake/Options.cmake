# Project-wide options and compiler settings.
option(RIZER_BUILD_TESTS "Build the tests" ON)
option(RIZER_BUILD_BENCH "Build the benchmarks (native only)" OFF)
option(RIZER_SANITIZE "Native build: AddressSanitizer and UBSan" OFF)
option(RIZER_FUZZ "Native build with clang: libFuzzer targets" OFF)

add_compile_options(-Wall -Wextra)

if(WIN32)
  # 8-bit texts with the A functions everywhere: never define UNICODE.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # The module may import only DLLs that Windows ships: link the C and C++
  # runtimes (and winpthread) statically.
  set(RIZER_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
  add_link_options(${RIZER_STATIC_RUNTIME})
elseif(RIZER_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzz build: every library is compiled with libFuzzer's coverage
# instrumentation, so the fuzzers see the code they explore; only the fuzz
# targets link libFuzzer itself (-fsanitize=fuzzer, tests/CMakeLists.txt).
if(RIZER_FUZZ AND NOT WIN32)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# rizer_add_library(name SOURCES ... [WIN_SOURCES ...] [POSIX_SOURCES ...] [DEPS ...] [WIN_LIBS ...])
# A static library of one src/ folder; per-platform seam files are picked here.
function(rizer_add_library name)
  cmake_parse_arguments(A "" "" "SOURCES;WIN_SOURCES;POSIX_SOURCES;DEPS;WIN_LIBS" ${ARGN})
  set(srcs ${A_SOURCES})
  if(WIN32)
    list(APPEND srcs ${A_WIN_SOURCES})
  else()
    list(APPEND srcs ${A_POSIX_SOURCES})
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
  if(WIN32 AND A_WIN_LIBS)
    target_link_libraries(${name} PUBLIC ${A_WIN_LIBS})
  endif()
endfunction()

# Adds every folder directly below the current one that has a CMakeLists.txt.
function(rizer_add_subfolders)
  file(GLOB dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${dirs})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
