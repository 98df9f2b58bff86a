target_sources(fennock_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/stub_system.cpp)
