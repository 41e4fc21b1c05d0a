# Compiler warnings used for every target of the project.
function(planroad_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wmissing-declarations -Wimplicit-fallthrough)
  if(PLANROAD_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
