# Warnings are errors for the project's own code only; third-party sources keep their defaults.
add_library(fennock_warnings INTERFACE)
target_compile_options(fennock_warnings INTERFACE -Wall -Wextra -Werror)
