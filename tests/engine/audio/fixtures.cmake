# Sound fixtures, written with the game's own sound writers, and the game's
# sample sounds as the data build makes them. Included by tests/engine.
file(GLOB audio_fixture_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/Audio/*)
varnholt_write_fixtures(engine_audio_fixtures engine_tests ${CMAKE_CURRENT_SOURCE_DIR}/audio/make_audio_fixtures.py
    ${CMAKE_CURRENT_BINARY_DIR}/fixtures ${CMAKE_CURRENT_BINARY_DIR}/fixtures/audio.stamp
    SOURCES ${audio_fixture_sources})
