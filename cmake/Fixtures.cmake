# Data that tests and benchmarks read, made at build time.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB VARNHOLT_DATA_WRITERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/databuild/*.py)

# varnholt_write_fixtures(<name> <consumer> <script> <folder> <output> [SOURCES files...])
# Runs the Python script with the folder as its argument (it writes through
# the game's own data writers) before <consumer> builds. <output> is a file
# the script writes; SOURCES are further inputs it reads (sample data).
function(varnholt_write_fixtures name consumer script folder output)
    cmake_parse_arguments(PARSE_ARGV 5 FIXTURES "" "" "SOURCES")
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${Python3_EXECUTABLE} ${script} ${folder}
        DEPENDS ${script} ${VARNHOLT_DATA_WRITERS} ${FIXTURES_SOURCES}
        COMMENT "Writing ${name}")
    add_custom_target(${name} DEPENDS ${output})
    add_dependencies(${consumer} ${name})
endfunction()

# varnholt_copy_sample_pack(<name> <consumer> <destination>)
# The built "Data.DCP" copied where <consumer> reads the sample data as the
# game does.
function(varnholt_copy_sample_pack name consumer destination)
    add_custom_command(
        OUTPUT ${destination}
        COMMAND ${CMAKE_COMMAND} -E copy ${VARNHOLT_DATA_DIR}/Data.DCP ${destination}
        DEPENDS ${VARNHOLT_DATA_DIR}/Data.DCP
        COMMENT "Copying the sample data for ${consumer}")
    add_custom_target(${name} DEPENDS ${destination})
    add_dependencies(${name} sample_data)
    add_dependencies(${consumer} ${name})
endfunction()
