# Tests of the packages providers: the dpkg database, the uninstall keys, the service list,
# and the host's answer about the machine's width.
target_sources(live_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/packages_dpkg_status_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packages_host_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packages_services_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packages_uninstall_keys_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/packages_unit_files_test.cpp
)
