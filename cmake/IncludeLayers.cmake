# Fails when a source file includes from a floor above its own.
#   cmake -DSOURCE_DIR=<repo> -P IncludeLayers.cmake
# The floors, lowest first: "name: path prefixes" (relative to the repository). A file belongs to
# the floor of its longest matching prefix and may include from its own floor and those below.
# The command line stands on the session with nothing of the windows: no window includes it.
# Every file under src/, tools/ and bench/ is checked; includes are looked up as the build finds
# them (src/, tools/, tests/, then the including file's folder).
set(LAYERS
    "core/codec: src/core/codec/"
    "core/config: src/core/config/"
    "core/models: src/core/models/"
    "core/fields: src/core/fields/"
    "session: src/session/"
    "cli: src/cli/"
    "gui: src/gui/"
    "app: src/app/"
    "tools: tools/"
    "tests: tests/"
    "bench: bench/")
set(CHECKED_FOLDERS src tools bench)
set(INCLUDE_ROOTS src tools tests)

if(NOT SOURCE_DIR OR NOT IS_DIRECTORY "${SOURCE_DIR}")
    message(FATAL_ERROR "SOURCE_DIR must name the source folder")
endif()

# Layer index and name of a path relative to SOURCE_DIR; index -1 when no layer claims it.
function(layer_of path out_index out_name)
    set(best_len 0)
    set(best_index -1)
    set(best_name "")
    set(index 0)
    foreach(layer IN LISTS LAYERS)
        string(REGEX REPLACE ":.*" "" name "${layer}")
        string(REGEX REPLACE "^[^:]*:" "" prefixes "${layer}")
        separate_arguments(prefixes UNIX_COMMAND "${prefixes}")
        foreach(prefix IN LISTS prefixes)
            string(LENGTH "${prefix}" len)
            string(FIND "${path}" "${prefix}" at)
            if(at EQUAL 0 AND len GREATER best_len)
                set(best_len ${len})
                set(best_index ${index})
                set(best_name "${name}")
            endif()
        endforeach()
        math(EXPR index "${index} + 1")
    endforeach()
    set(${out_index} ${best_index} PARENT_SCOPE)
    set(${out_name} "${best_name}" PARENT_SCOPE)
endfunction()

set(sources "")
foreach(folder IN LISTS CHECKED_FOLDERS)
    file(GLOB_RECURSE found RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${folder}/*.h"
         "${SOURCE_DIR}/${folder}/*.cpp")
    list(APPEND sources ${found})
endforeach()
list(SORT sources)
set(faults 0)
set(checked 0)
foreach(file IN LISTS sources)
    layer_of("${file}" own own_name)
    if(own EQUAL -1)
        message(SEND_ERROR "${file}: in no layer; add its folder to the layers")
        math(EXPR faults "${faults} + 1")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*" "\\1" target "${line}")
        get_filename_component(dir "${file}" DIRECTORY)
        set(included "")
        foreach(root IN LISTS INCLUDE_ROOTS)
            if(NOT included AND EXISTS "${SOURCE_DIR}/${root}/${target}")
                set(included "${root}/${target}")
            endif()
        endforeach()
        if(NOT included AND dir AND EXISTS "${SOURCE_DIR}/${dir}/${target}")
            set(included "${dir}/${target}")
        endif()
        if(NOT included)
            continue()  # a system header, or generated
        endif()
        math(EXPR checked "${checked} + 1")
        layer_of("${included}" theirs their_name)
        if(theirs GREATER own)
            message(SEND_ERROR
                    "${file} (${own_name}) includes ${included} (${their_name}), a layer above")
            math(EXPR faults "${faults} + 1")
        endif()
    endforeach()
endforeach()

list(LENGTH sources count)
if(faults GREATER 0)
    message(FATAL_ERROR "${faults} include(s) against the layers")
endif()
message(STATUS "Include layers: ${count} files, ${checked} includes, all downward or level")
