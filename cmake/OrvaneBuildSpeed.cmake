# What keeps a build from a fresh clone short on a two-core machine: a
# compiler cache when there is one, the fastest linker at hand, and the
# headers that every file of a kind includes (the standard library, JSON,
# Boost.Beast, Qt, GoogleTest) parsed once per tree instead of once per file.

# ccache, unless a launcher was chosen already. Depend mode takes the headers
# from the compiler's dependency file instead of running the preprocessor
# again, which is what a miss costs on a cold cache; the precompiled headers
# need the sloppiness ccache documents for them.
find_program(ORVANE_CCACHE ccache)
if(ORVANE_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(orvane_launcher env CCACHE_DEPEND=1
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ${ORVANE_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${orvane_launcher})
  set(CMAKE_C_COMPILER_LAUNCHER ${orvane_launcher})
endif()

# lld links the tests and programs several times faster than the default
# linker; scripts/setup installs it.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld ORVANE_HAS_LLD)
if(ORVANE_HAS_LLD)
  add_link_options(-fuse-ld=lld)
endif()

# orvane_build_level(<target> <header set>)
# The tests' own code (the GoogleTest header sets) builds without the
# optimiser on Linux: what they test is built as it ships, and they build in
# little more than half the time. The sanitized trees compile the core (the
# targets of orvane_core_headers, which the fuzz targets run) at -O1 and also
# the server and orvanectl's HTTP side (the Beast header set) at -O0: the
# sanitizers check that code as well at -O0, while fuzzing keeps its pace.
# A target takes the level of its header set, so that both match.
function(orvane_build_level target set)
  if((set MATCHES "^orvane_gtest" AND NOT WIN32)
     OR ((ORVANE_TSAN OR ORVANE_FUZZ) AND set STREQUAL "orvane_web_headers"))
    target_compile_options(${target} PRIVATE -O0)
  endif()
endfunction()

# orvane_header_set(<name> HEADERS <header>... LIBS <library>...)
# Compiles HEADERS once into a precompiled header that orvane_use_headers
# hands to other targets. LIBS are linked for their compile flags only, so
# the header is compiled as the targets that use it are: with the same
# definitions and position independence (Qt's targets add -fPIC).
function(orvane_header_set name)
  cmake_parse_arguments(H "" "" "HEADERS;LIBS" ${ARGN})
  set(anchor ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  file(CONFIGURE OUTPUT ${anchor} CONTENT "// Compiles the precompiled header of ${name}.\n")
  add_library(${name} OBJECT ${anchor})
  target_link_libraries(${name} PRIVATE ${H_LIBS})
  target_precompile_headers(${name} PRIVATE ${H_HEADERS})
  orvane_build_level(${name} ${name})
endfunction()

# orvane_use_headers(<header set> <target>...)
# g++ 12 forgets the `#pragma GCC diagnostic` of headers it reads from a
# precompiled header (g++ 13 keeps them), so the false positives libstdc++
# silences around its own string copies come back; they are silenced here
# the same way for those targets.
function(orvane_use_headers set)
  foreach(target ${ARGN})
    target_precompile_headers(${target} REUSE_FROM ${set})
    orvane_build_level(${target} ${set})
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-stringop-overflow -Wno-stringop-overread -Wno-array-bounds)
    endif()
  endforeach()
endfunction()

# The header sets, each for the targets that include most of it.
set(orvane_std_headers <algorithm> <array> <atomic> <chrono> <cstdint> <functional> <map> <memory> <mutex>
    <optional> <span> <string> <string_view> <thread> <vector>)
set(orvane_web_headers <nlohmann/json.hpp> <boost/asio/io_context.hpp> <boost/asio/ip/tcp.hpp>
    <boost/asio/steady_timer.hpp> <boost/beast/core/flat_buffer.hpp> <boost/beast/core/tcp_stream.hpp>
    <boost/beast/http/message.hpp> <boost/beast/http/string_body.hpp>)
orvane_header_set(orvane_core_headers HEADERS ${orvane_std_headers})
orvane_header_set(orvane_web_headers HEADERS ${orvane_std_headers} ${orvane_web_headers} LIBS orvane_beast)
orvane_header_set(orvane_gtest_headers HEADERS ${orvane_std_headers} <gtest/gtest.h> <gmock/gmock.h>
                  LIBS GTest::gtest GTest::gmock)
orvane_header_set(orvane_gtest_web_headers HEADERS ${orvane_std_headers} ${orvane_web_headers} <gtest/gtest.h>
                  LIBS GTest::gtest orvane_beast)
if(ORVANE_UI)
  set(orvane_qt_headers <QApplication> <QColor> <QComboBox> <QDialog> <QDir> <QFrame> <QGridLayout> <QGroupBox>
      <QHBoxLayout> <QKeyEvent> <QLabel> <QLineEdit> <QObject> <QPainter> <QPointer> <QPushButton> <QString>
      <QTimer> <QVBoxLayout> <QWidget>)
  # Also the tests' set: QtTest stays out, since its macros read a definition
  # that names each test's own folder.
  orvane_header_set(orvane_qt_headers HEADERS ${orvane_std_headers} ${orvane_qt_headers} LIBS Qt6::Widgets)
endif()
