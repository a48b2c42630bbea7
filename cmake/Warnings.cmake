# One place for the flags every own target gets: the warnings, warnings as errors
# when QD3_WERROR is on, and the optional sanitizer build (QD3_SANITIZE=address;undefined
# or thread). Warnings are not errors by default: a packager's newer compiler may warn
# where ours does not, and that must not stop the build. scripts/test.sh turns it on.
option(QD3_WERROR "Treat compiler warnings as errors" OFF)
set(QD3_SANITIZE "" CACHE STRING "Sanitizers for the whole build, e.g. address;undefined or thread")

function(qd3_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor)
  if(QD3_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # GCC 12's optimiser reports overlapping or out-of-bounds copies inside libstdc++'s own
  # string and vector code for ordinary test code (strings built from literals, vectors
  # grown by insert) at -O2 and above. Tests are built optimised only to prove that they
  # compile; they run under the sanitizers, which see real overflows. The program's own
  # code keeps these warnings.
  # (Only there: clang-tidy reads the debug build's commands and knows no such options.)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13
     AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$"
     AND CMAKE_CURRENT_SOURCE_DIR MATCHES "^${PROJECT_SOURCE_DIR}/tests(/|$)")
    target_compile_options(${target} PRIVATE -Wno-restrict -Wno-array-bounds
                                             -Wno-stringop-overflow -Wno-stringop-overread)
  endif()
endfunction()

if(QD3_SANITIZE)
  list(JOIN QD3_SANITIZE "," _qd3_san)
  add_compile_options(-fsanitize=${_qd3_san} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${_qd3_san})
endif()
