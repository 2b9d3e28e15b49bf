# The Windows build, cross-built with cmake/MinGW.cmake and tested under
# Wine. It has what builds for Windows so far: the model, filter design,
# protocol and platform libraries and their unit tests. Qt, hidapi,
# libserialport and libxlsxwriter have no Windows build here, so nothing that
# needs them is part of it.

set(ORVANE_UI OFF CACHE BOOL "" FORCE)
# Windows 10 and later: the headers then declare what the sockets use
# (inet_pton, WSAPoll). The rest of windows.h is left out, and its min and
# max macros, which would break std::min and std::max. MinGW-w64 declares
# the thread-safe time functions (localtime_r) when asked.
add_compile_definitions(_WIN32_WINNT=0x0A00 WIN32_LEAN_AND_MEAN NOMINMAX _POSIX_THREAD_SAFE_FUNCTIONS=200112L)
set(ORVANE_BENCH OFF CACHE BOOL "" FORCE)

# Boost and nlohmann-json are header-only: the build machine's headers serve
# the Windows build too, through a folder that holds only them, so that no
# other header of the build machine is ever found in its place.
set(orvane_host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${orvane_host_headers})
foreach(library boost nlohmann)
  file(CREATE_LINK /usr/include/${library} ${orvane_host_headers}/${library} SYMBOLIC)
endforeach()
add_library(orvane_host_headers INTERFACE)
target_include_directories(orvane_host_headers SYSTEM INTERFACE ${orvane_host_headers})
add_library(Boost::headers ALIAS orvane_host_headers)
# Boost.Asio on Windows: Winsock and its extensions, for Windows 10 and later.
add_compile_definitions(_WIN32_WINNT=0x0A00)
target_link_libraries(orvane_host_headers INTERFACE ws2_32 mswsock)

# GoogleTest from its sources, built with the same compiler; it names its
# libraries GTest::gtest and so on, as the build machine's package does.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
