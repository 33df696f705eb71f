# The version a release is made of, as the package's files name it: the project's
# version, the newest release of the AppStream metainfo (with the date of the changelog's
# top entry), the changelog's top entry and the manual pages' headers must all agree,
# or software centres, apt and man would each tell a different release.
#   cmake -DSOURCE_DIR=<source tree> -DVERSION=<project version> -P PackagingVersions.cmake
cmake_minimum_required(VERSION 3.25)

set(faults "")
file(READ "${SOURCE_DIR}/packaging/io.github.quorvane.Quorvane.metainfo.xml" metainfo)
file(STRINGS "${SOURCE_DIR}/packaging/changelog" changelog)
file(STRINGS "${SOURCE_DIR}/packaging/quorvane.1" manual LIMIT_COUNT 1)
file(STRINGS "${SOURCE_DIR}/packaging/quorvane.ja.1" japaneseManual LIMIT_COUNT 1 ENCODING UTF-8)

# Releases are listed newest first.
if(NOT metainfo MATCHES "<release version=\"([^\"]+)\" date=\"([0-9-]+)\"")
    list(APPEND faults "the metainfo lists no release with a version and a date")
endif()
set(metainfoVersion "${CMAKE_MATCH_1}")
set(metainfoDate "${CMAKE_MATCH_2}")

list(GET changelog 0 top)
string(REGEX MATCH "^quorvane \\(([^)]+)\\)" _ "${top}")
set(changelogVersion "${CMAKE_MATCH_1}")
set(changelogDate "")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
foreach(line IN LISTS changelog)
    if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        list(FIND months "${CMAKE_MATCH_2}" month)
        math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
        string(LENGTH "${month}" digits)
        if(digits EQUAL 1)
            set(month "0${month}")
        endif()
        set(changelogDate "${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1}")
        break()
    endif()
endforeach()

string(REGEX MATCH "\"Quorvane ([^\"]+)\"" _ "${manual}")
set(manualVersion "${CMAKE_MATCH_1}")
string(REGEX MATCH "\"Quorvane ([^\"]+)\"" _ "${japaneseManual}")
set(japaneseManualVersion "${CMAKE_MATCH_1}")
# The Japanese page is a translation of the English one, of the same day.
string(REGEX MATCH "^\\.TH [^\"]*\"([0-9-]+)\"" _ "${manual}")
set(manualDate "${CMAKE_MATCH_1}")
string(REGEX MATCH "^\\.TH [^\"]*\"([0-9-]+)\"" _ "${japaneseManual}")
if(NOT CMAKE_MATCH_1 STREQUAL manualDate)
    list(APPEND faults "the Japanese manual page is dated '${CMAKE_MATCH_1}', the English one '${manualDate}'")
endif()

foreach(pair "metainfo;${metainfoVersion}" "changelog;${changelogVersion}" "manual page;${manualVersion}"
                 "Japanese manual page;${japaneseManualVersion}")
    list(GET pair 0 where)
    list(LENGTH pair fields)
    set(found "")
    if(fields GREATER 1)
        list(GET pair 1 found)
    endif()
    if(NOT found STREQUAL VERSION)
        list(APPEND faults "the ${where} names version '${found}', the project ${VERSION}")
    endif()
endforeach()
if(NOT metainfoDate STREQUAL changelogDate)
    list(APPEND faults "the metainfo dates the release ${metainfoDate}, the changelog ${changelogDate}")
endif()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Release versions disagree:\n  ${text}")
endif()
message(STATUS "version ${VERSION} of ${changelogDate} everywhere")
