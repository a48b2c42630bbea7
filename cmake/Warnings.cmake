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
endfunction()

if(QD3_SANITIZE)
  list(JOIN QD3_SANITIZE "," _qd3_san)
  add_compile_options(-fsanitize=${_qd3_san} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${_qd3_san})
endif()
