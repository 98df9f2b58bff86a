# The system group: processes, the operating system, user accounts, startup commands.
target_sources(fennock_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/crontab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/desktop_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/kernel_identity.cpp
  ${CMAKE_CURRENT_LIST_DIR}/operating_system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/processes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/service_unit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_assignments.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_accounts.cpp
)
