# Model fixtures, written with the game's own model writers, and the game's
# sample models as the data build makes them. Included by tests/render.
file(GLOB model_fixture_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/Models/* ${PROJECT_SOURCE_DIR}/data/Shaders/*
     ${PROJECT_SOURCE_DIR}/data/Textures/*)
varnholt_write_fixtures(render_model_fixtures render_tests ${CMAKE_CURRENT_SOURCE_DIR}/models/make_fixtures.py
    ${CMAKE_CURRENT_BINARY_DIR}/fixtures ${CMAKE_CURRENT_BINARY_DIR}/fixtures/models.stamp
    SOURCES ${model_fixture_sources})
