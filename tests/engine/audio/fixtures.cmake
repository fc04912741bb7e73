# Sound fixtures, written with the game's own sound writers, and the game's
# sample sounds as the data build makes them. Included by tests/engine.
set(audio_fixture_script ${CMAKE_CURRENT_SOURCE_DIR}/audio/make_audio_fixtures.py)
file(GLOB audio_fixture_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/Audio/*)
add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/fixtures/audio.stamp
    COMMAND ${Python3_EXECUTABLE} ${audio_fixture_script} ${CMAKE_CURRENT_BINARY_DIR}/fixtures
    DEPENDS ${audio_fixture_script} ${data_writers} ${audio_fixture_sources}
    COMMENT "Writing the sound test fixtures")
add_custom_target(engine_audio_fixtures DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/fixtures/audio.stamp)
add_dependencies(engine_tests engine_audio_fixtures)
