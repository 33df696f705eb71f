# The compiler and linker flags Debian builds its own packages with, from dpkg-buildflags:
# fortified C library calls, a strong stack protector, and relocations made read-only and
# bound at start (the package preset sets DEB_BUILD_MAINT_OPTIONS=hardening=+all for the
# last). Run from the source folder, so that its file-prefix map names the sources.
find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        OUTPUT_VARIABLE dpkg_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# Before the build type's flags on the command line: the release -O3 stays.
string(APPEND CMAKE_CXX_FLAGS " ${dpkg_CPPFLAGS} ${dpkg_CXXFLAGS}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${dpkg_LDFLAGS}")
message(STATUS "dpkg-buildflags: ${dpkg_CPPFLAGS} ${dpkg_CXXFLAGS} ${dpkg_LDFLAGS}")
