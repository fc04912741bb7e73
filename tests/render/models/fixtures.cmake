# Model fixtures, written with the game's own model writers, and the game's
# sample models as the data build makes them. Included by tests/render.
set(model_fixture_script ${CMAKE_CURRENT_SOURCE_DIR}/models/make_fixtures.py)
file(GLOB model_data_writers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/databuild/*.py)
file(GLOB model_fixture_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/Models/* ${PROJECT_SOURCE_DIR}/data/Shaders/*
     ${PROJECT_SOURCE_DIR}/data/Textures/*)
add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/fixtures/models.stamp
    COMMAND ${Python3_EXECUTABLE} ${model_fixture_script} ${CMAKE_CURRENT_BINARY_DIR}/fixtures
    DEPENDS ${model_fixture_script} ${model_data_writers} ${model_fixture_sources}
    COMMENT "Writing the model test fixtures")
add_custom_target(render_model_fixtures DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/fixtures/models.stamp)
add_dependencies(render_tests render_model_fixtures)
