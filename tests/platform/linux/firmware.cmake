# Tests of the firmware providers: target_sources(live_tests PRIVATE ...)
