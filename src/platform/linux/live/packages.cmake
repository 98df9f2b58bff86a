# Installed packages as the registry's uninstall keys, and the service list. The systemd
# client library is optional: without it the unit files are read even where systemd runs.
target_sources(fennock_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dpkg_status.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linux_services.cpp
  ${CMAKE_CURRENT_LIST_DIR}/machine_bits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/package_registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/service_states.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sysv_scripts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uninstall_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/unit_files.cpp
)
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(FENNOCK_LIBSYSTEMD QUIET IMPORTED_TARGET GLOBAL libsystemd)
endif()
if(FENNOCK_LIBSYSTEMD_FOUND)
  target_sources(fennock_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/systemd_units.cpp)
  target_link_libraries(fennock_platform PRIVATE PkgConfig::FENNOCK_LIBSYSTEMD)
else()
  target_sources(fennock_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/systemd_units_absent.cpp)
endif()
