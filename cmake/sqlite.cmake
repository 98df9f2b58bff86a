# Linux links the distribution's SQLite; the Windows build compiles the pinned amalgamation
# (brought by scripts/fetch-sqlite.sh) into the executable so it needs no DLL.
if(FENNOCK_PLATFORM STREQUAL "windows")
  set(FENNOCK_SQLITE_DIR ${CMAKE_SOURCE_DIR}/third_party/sqlite)
  if(NOT EXISTS ${FENNOCK_SQLITE_DIR}/sqlite3.c)
    message(FATAL_ERROR "SQLite amalgamation missing: run scripts/fetch-sqlite.sh")
  endif()
  add_library(fennock_sqlite STATIC ${FENNOCK_SQLITE_DIR}/sqlite3.c)
  target_include_directories(fennock_sqlite SYSTEM PUBLIC ${FENNOCK_SQLITE_DIR})
  target_compile_definitions(fennock_sqlite PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION
                                                    SQLITE_WIN32_GETVERSIONEX=0)
  target_compile_options(fennock_sqlite PRIVATE -w)
else()
  find_package(SQLite3 REQUIRED)
  add_library(fennock_sqlite INTERFACE)
  target_link_libraries(fennock_sqlite INTERFACE SQLite::SQLite3)
endif()
