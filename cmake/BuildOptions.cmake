# Build hygiene for every Chromint target, in one place.
#
# Every target links the INTERFACE target `chromint_build_options` privately:
#     target_link_libraries(<target> PRIVATE chromint_build_options)
#
# Options:
#   CHROMINT_WERROR      treat warnings as errors (OFF)
#   CHROMINT_SANITIZE    AddressSanitizer + UndefinedBehaviorSanitizer (OFF)
#   CHROMINT_CLANG_TIDY  run clang-tidy on every compiled file (OFF)
#   CHROMINT_FUZZ        build the libFuzzer targets in fuzz/ (OFF; clang only): every target
#                        is then instrumented for them and built with AddressSanitizer and
#                        UndefinedBehaviorSanitizer

include_guard(GLOBAL)

option(CHROMINT_WERROR "Treat compiler warnings as errors" OFF)
option(CHROMINT_SANITIZE "Build with -fsanitize=address,undefined" OFF)
option(CHROMINT_CLANG_TIDY "Run clang-tidy while compiling" OFF)
option(CHROMINT_FUZZ "Build the libFuzzer targets (clang, with address and undefined sanitizers)"
       OFF)

if(CHROMINT_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "CHROMINT_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

add_library(chromint_build_options INTERFACE)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(chromint_build_options INTERFACE
        -Wall
        -Wextra
        -Wpedantic)

    if(CHROMINT_WERROR)
        target_compile_options(chromint_build_options INTERFACE -Werror)
    endif()

    if(CHROMINT_SANITIZE)
        set(_chromint_sanitize_flags
            -fsanitize=address,undefined
            -fno-sanitize-recover=all
            -fno-omit-frame-pointer)
        target_compile_options(chromint_build_options INTERFACE ${_chromint_sanitize_flags})
        target_link_options(chromint_build_options INTERFACE ${_chromint_sanitize_flags})
        unset(_chromint_sanitize_flags)
    endif()

    if(CHROMINT_FUZZ)
        # Coverage for libFuzzer in every library; only the fuzz targets link its main.
        set(_chromint_fuzz_flags
            -fsanitize=fuzzer-no-link,address,undefined
            -fno-sanitize-recover=all
            -fno-omit-frame-pointer)
        target_compile_options(chromint_build_options INTERFACE ${_chromint_fuzz_flags})
        target_link_options(chromint_build_options INTERFACE ${_chromint_fuzz_flags})
        unset(_chromint_fuzz_flags)
    endif()
else()
    message(WARNING "Unknown compiler ${CMAKE_CXX_COMPILER_ID}: no warning flags set")
endif()

if(CHROMINT_CLANG_TIDY)
    find_program(CHROMINT_CLANG_TIDY_EXE NAMES clang-tidy clang-tidy-14)
    if(CHROMINT_CLANG_TIDY_EXE)
        # Picks up a .clang-tidy file at the source root when there is one.
        set(CMAKE_CXX_CLANG_TIDY "${CHROMINT_CLANG_TIDY_EXE}")
        message(STATUS "clang-tidy: ${CHROMINT_CLANG_TIDY_EXE}")
    else()
        message(WARNING "CHROMINT_CLANG_TIDY is ON but clang-tidy was not found")
    endif()
endif()
