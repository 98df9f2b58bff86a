# The firmware providers: BIOS, computer system, motherboard, memory and processors, from
# sysfs's DMI attributes, the SMBIOS table, the CPU topology and /proc. The resolver is asked
# on a thread of its own.
find_package(Threads REQUIRED)
target_sources(fennock_platform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bios.cpp
  ${CMAKE_CURRENT_LIST_DIR}/computer_system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cpuinfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dmi_facts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firmware_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/host_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hypervisor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/memory_modules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/motherboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/processors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smbios.cpp
)
target_link_libraries(fennock_platform PRIVATE Threads::Threads)
