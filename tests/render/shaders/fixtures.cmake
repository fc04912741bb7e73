# The shader tests read the game's sample data as the game does: the built
# "Data.DCP", copied beside the test executable.
set(shader_sample_pack ${CMAKE_CURRENT_BINARY_DIR}/fixtures/sampledata/Data.DCP)
add_custom_command(
    OUTPUT ${shader_sample_pack}
    COMMAND ${CMAKE_COMMAND} -E copy ${VARNHOLT_DATA_DIR}/Data.DCP ${shader_sample_pack}
    DEPENDS ${VARNHOLT_DATA_DIR}/Data.DCP
    COMMENT "Copying the sample data for the shader tests")
add_custom_target(render_shader_fixtures DEPENDS ${shader_sample_pack})
add_dependencies(render_shader_fixtures sample_data)
add_dependencies(render_tests render_shader_fixtures)
