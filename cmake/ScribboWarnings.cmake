# Our own targets build with every common warning as an error; targets from
# outside the project that link ours do not inherit these flags.
function(scribbo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
