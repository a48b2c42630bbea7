# One place for the flags every own target gets: warnings as errors and the
# optional sanitizer build (QD3_SANITIZE=address;undefined or thread).
set(QD3_SANITIZE "" CACHE STRING "Sanitizers for the whole build, e.g. address;undefined or thread")

function(qd3_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wshadow -Wnon-virtual-dtor)
endfunction()

if(QD3_SANITIZE)
  list(JOIN QD3_SANITIZE "," _qd3_san)
  add_compile_options(-fsanitize=${_qd3_san} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${_qd3_san})
endif()
