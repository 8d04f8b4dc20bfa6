# kavrel_layer(<target> [PORTABLE <sources>...] [WINDOWS <sources>...]
#              [LINKS <layer targets>...] [SYSTEM_LIBS <Windows libraries>...])
#
# One folder of the add-on as one library. Layers only point down:
#   base -> ui -> gis -> frame -> settings -> editor, import -> addon
#                     gis -> undo -> editor, import
# and the build holds them to it. A folder's headers are reachable through its
# own target only: the folder is staged under the build tree
# (layers/<folder>/<folder> links to it) and that stage is the one include
# directory that names it. A target sees the headers of the layers it links and
# of nothing else, so an include the wrong way fails to compile.
#
# PORTABLE sources need no Windows header and are built in every tree (the
# native one tests them with sanitizers); WINDOWS sources only in the cross
# trees. A layer with no sources in a tree is a header-only interface there.
function(kavrel_layer target)
    cmake_parse_arguments(L "" "" "PORTABLE;WINDOWS;LINKS;SYSTEM_LIBS" ${ARGN})
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    kavrel_stage_folder(${folder} stage)
    set(sources ${L_PORTABLE})
    if(KAVREL_WINDOWS)
        list(APPEND sources ${L_WINDOWS})
    endif()
    if(sources)
        add_library(${target} STATIC ${sources})
        target_include_directories(${target} PUBLIC ${stage})
        target_link_libraries(${target} PUBLIC ${L_LINKS})
        if(KAVREL_WINDOWS)
            target_link_libraries(${target} PUBLIC ${L_SYSTEM_LIBS})
        endif()
    else()
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${stage})
        target_link_libraries(${target} INTERFACE ${L_LINKS})
    endif()
endfunction()

# Stages a source folder, or some of its files, under layers/<stage name> and
# answers the include directory in <out>.
#   kavrel_stage_folder(<folder> <out> [STAGE <name>] [FILES <file>...])
function(kavrel_stage_folder folder out)
    cmake_parse_arguments(S "" "STAGE" "FILES" ${ARGN})
    if(NOT S_STAGE)
        set(S_STAGE ${folder})
    endif()
    set(stage ${CMAKE_BINARY_DIR}/layers/${S_STAGE})
    if(S_FILES)
        file(MAKE_DIRECTORY ${stage}/${folder})
        foreach(file ${S_FILES})
            if(NOT EXISTS ${stage}/${folder}/${file})
                file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder}/${file} ${stage}/${folder}/${file}
                     SYMBOLIC)
            endif()
        endforeach()
    elseif(NOT EXISTS ${stage}/${folder})
        file(MAKE_DIRECTORY ${stage})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${stage}/${folder} SYMBOLIC)
    endif()
    set(${out} ${stage} PARENT_SCOPE)
endfunction()
