# Tests of the packages providers: target_sources(live_tests PRIVATE ...)
