# The shader tests read the game's sample data as the game does: the built
# "Data.DCP", copied beside the test executable.
varnholt_copy_sample_pack(render_shader_fixtures render_tests
    ${CMAKE_CURRENT_BINARY_DIR}/fixtures/sampledata/Data.DCP)
