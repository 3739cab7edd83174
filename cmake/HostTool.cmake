# Generators that run on the build machine while the Windows programs are cross-compiled.
# add_host_tool(<name> <sources>...) builds <name> with the host's C++ compiler and sets
# <name>_EXECUTABLE to its path, for use in add_custom_command.
find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED)

function(add_host_tool name)
    set(sources)
    foreach(src ${ARGN})
        list(APPEND sources ${CMAKE_CURRENT_SOURCE_DIR}/${src})
    endforeach()
    set(exe ${CMAKE_BINARY_DIR}/host/${name})
    add_custom_command(
        OUTPUT ${exe}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
        COMMAND ${HOST_CXX} -std=c++17 -O2 -Wall -Wextra -o ${exe} ${sources}
        DEPENDS ${sources}
        COMMENT "Building host tool ${name}")
    add_custom_target(${name}_host DEPENDS ${exe})
    set(${name}_EXECUTABLE ${exe} PARENT_SCOPE)
endfunction()

# Windows form of a build path, as the programs and Wine tests see it (Z: maps /).
function(to_wine_path out path)
    string(REPLACE "/" "\\\\" p "${path}")
    set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()
