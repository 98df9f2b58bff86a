# The devices providers: network adapters, video controllers, monitors, printers. udev's
# hardware database (libudev) and CUPS (libcups) are used when present at build time; without
# them, names come from the pci.ids and usb.ids files alone and there are no printers.
target_sources(fennock_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/sysfs_values.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hardware_ids.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hardware_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/interface_addresses.cpp
  ${CMAKE_CURRENT_LIST_DIR}/default_gateways.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dhcp_evidence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/network_adapters.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drm_outputs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/video_controllers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/desktop_monitors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printers.cpp
)

find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(FENNOCK_LIBUDEV QUIET IMPORTED_TARGET libudev)
endif()
if(FENNOCK_LIBUDEV_FOUND)
  target_sources(fennock_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/hwdb_names.cpp)
  target_link_libraries(fennock_platform PRIVATE PkgConfig::FENNOCK_LIBUDEV)
else()
  target_sources(fennock_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/hwdb_names_none.cpp)
endif()

# Debian's libcups2-dev has no pkg-config file: CMake's own module finds it.
find_package(Cups QUIET)
if(Cups_FOUND)
  target_sources(fennock_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/print_destinations_cups.cpp)
  target_link_libraries(fennock_platform PRIVATE Cups::Cups)
else()
  target_sources(fennock_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/print_destinations_none.cpp)
endif()
