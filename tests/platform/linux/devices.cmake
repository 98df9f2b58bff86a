# Tests of the devices providers: target_sources(live_tests PRIVATE ...)
