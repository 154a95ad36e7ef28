# Fails when a source file includes from a layer above its own.
#   cmake -DSOURCE_DIR=<repo>/src -P IncludeLayers.cmake
# The layers, lowest first: "name: folder prefixes". A file belongs to the layer of its longest
# matching prefix and may include from its own layer and the layers below it.
set(LAYERS
    "core: link/codec. link/text."
    "link/config: link/ config/"
    "models/fields: models/ fields/"
    "context: context/"
    "ui: link/ui/ models/ui/ fields/ui/ config/ui/"
    "app: app/")

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

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
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
        if(EXISTS "${SOURCE_DIR}/${target}")
            set(included "${target}")
        elseif(dir AND EXISTS "${SOURCE_DIR}/${dir}/${target}")
            set(included "${dir}/${target}")
        else()
            continue()  # generated or outside the sources
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
