# Tests of the system providers: target_sources(live_tests PRIVATE ...)
