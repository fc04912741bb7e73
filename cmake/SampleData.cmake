# The sample data: "Data.DCP" and the loose files, in the folder the game runs in.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

file(GLOB_RECURSE data_sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/data/*
    ${PROJECT_SOURCE_DIR}/tools/databuild/*.py)
set(VARNHOLT_DATA_DIR ${CMAKE_BINARY_DIR}/data CACHE INTERNAL "The folder the game runs in")

add_custom_command(
    OUTPUT ${VARNHOLT_DATA_DIR}/Data.DCP
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/build-data
            --source ${PROJECT_SOURCE_DIR}/data --out ${VARNHOLT_DATA_DIR}
    DEPENDS ${data_sources} ${PROJECT_SOURCE_DIR}/tools/build-data
    COMMENT "Building the sample data")
add_custom_target(sample_data ALL DEPENDS ${VARNHOLT_DATA_DIR}/Data.DCP)
