# Checks the project's include lines against its layers, from the bottom up:
#   platform       plain C++, below everything
#   toolkit, run   plain C++ on the platform layer
#   platform/qt    the Qt side of the platform layer
#   settings, about  the dialogs, on all of the above
#   app            the program and its main window, on top
# A folder includes only from itself and the layers below it, so the core stays free of
# Qt and nothing below app/ needs the main window. No file reaches itself again
# through what it includes, so each one can be understood, and replaced in a test,
# without the ones that use it.
#   cmake -DSOURCE_DIR=<source tree> -P IncludeLayers.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "Pass -DSOURCE_DIR=<source tree>")
endif()

set(below_platform "")
set(below_toolkit platform)
set(below_run platform toolkit)
set(below_platform_qt platform)
set(below_settings platform toolkit run platform/qt)
set(below_about platform toolkit run platform/qt)
set(below_app platform toolkit run platform/qt settings about)
set(layers platform toolkit run platform/qt settings about app)

set(faults "")
set(units "")
foreach(layer IN LISTS layers)
    string(MAKE_C_IDENTIFIER "${layer}" layerKey)
    set(allowed ${layer} ${below_${layerKey}})
    file(GLOB files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
    foreach(file IN LISTS files)
        # A header and its source file are one unit.
        string(REGEX REPLACE "\\.[^./]+$" "" unit "${file}")
        string(MAKE_C_IDENTIFIER "${unit}" unitKey)
        if(NOT unit IN_LIST units)
            list(APPEND units "${unit}")
        endif()
        file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" included "${line}")
            get_filename_component(folder "${included}" DIRECTORY)
            if(NOT folder IN_LIST allowed)
                list(APPEND faults "${file} includes ${included}, which is not below ${layer}/")
            endif()
            string(REGEX REPLACE "\\.[^./]+$" "" target "${included}")
            if(folder IN_LIST layers AND NOT target STREQUAL unit)
                list(APPEND uses_${unitKey} "${target}")
            endif()
        endforeach()
    endforeach()
endforeach()

# Walks what each unit includes, and what that includes, looking for the unit itself.
foreach(unit IN LISTS units)
    string(MAKE_C_IDENTIFIER "${unit}" unitKey)
    set(queue ${uses_${unitKey}})
    set(seen "")
    while(queue)
        list(POP_FRONT queue next)
        if(next STREQUAL unit)
            list(APPEND faults "${unit} is included again by what it includes")
            break()
        endif()
        if(next IN_LIST seen)
            continue()
        endif()
        list(APPEND seen "${next}")
        string(MAKE_C_IDENTIFIER "${next}" nextKey)
        list(APPEND queue ${uses_${nextKey}})
    endwhile()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
list(LENGTH units count)
message(STATUS "Includes follow the layers; ${count} units without a circle")
