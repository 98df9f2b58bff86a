# Tests of the system providers: processes, the operating system, accounts, startup commands.
target_sources(live_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/system_operating_system_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_processes_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_startup_commands_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_user_accounts_test.cpp
)
