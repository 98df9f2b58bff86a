# Tests of the firmware providers: the SMBIOS table built from bytes, DMI, device tree and CPU
# topology trees, and the live machine's shape.
target_sources(live_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/firmware_processors_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firmware_smbios_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firmware_system_test.cpp
)
