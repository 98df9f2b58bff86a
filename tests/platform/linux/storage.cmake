# Tests of the storage providers: target_sources(live_tests PRIVATE ...)
