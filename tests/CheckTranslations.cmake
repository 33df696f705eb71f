# Runs lupdate over the code into a copy of each .ts and fails on any entry it leaves
# unfinished (a text without its translation, or one new to the file) or vanished (a
# translation whose text the code no longer has).
#   cmake -DLUPDATE=<lupdate> -DARGUMENTS=<its arguments> -DTS_FILES=<.ts files>
#         -DWORK_DIR=<scratch folder> -P CheckTranslations.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(faults "")
foreach(ts IN LISTS TS_FILES)
    get_filename_component(name "${ts}" NAME)
    set(copy "${WORK_DIR}/${name}")
    file(COPY_FILE "${ts}" "${copy}")
    execute_process(COMMAND "${LUPDATE}" ${ARGUMENTS} -ts "${copy}" RESULT_VARIABLE result
                    OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${name}:\n${output}")
    endif()
    file(STRINGS "${copy}" lines ENCODING UTF-8)
    set(context "")
    set(source "")
    foreach(line IN LISTS lines)
        if(line MATCHES "<name>(.*)</name>")
            set(context "${CMAKE_MATCH_1}")
        elseif(line MATCHES "<source>(.*)</source>")
            set(source "${CMAKE_MATCH_1}")
        elseif(line MATCHES "type=\"(unfinished|vanished|obsolete)\"")
            list(APPEND faults "${name}: ${context}: ${CMAKE_MATCH_1}: ${source}")
        endif()
    endforeach()
endforeach()
if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Translations out of step with the code (run the update_translations "
                        "target and translate what it adds):\n  ${text}")
endif()
message(STATUS "Every text has its translation.")
