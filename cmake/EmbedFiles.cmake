# Writes a C++ source that holds files as byte arrays, for the control page
# the server ships inside its program.
#   cmake -DOUTPUT=<file.cpp> -DBASE=<dir> -DFILES=<a,b,c> -P EmbedFiles.cmake
string(REPLACE "," ";" FILES "${FILES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS FILES)
  file(READ "${BASE}/${name}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char file${index}[] = {${bytes}};\n")
  if(name MATCHES "\\.html$")
    set(type "text/html; charset=utf-8")
  elseif(name MATCHES "\\.js$")
    set(type "text/javascript; charset=utf-8")
  elseif(name MATCHES "\\.css$")
    set(type "text/css; charset=utf-8")
  elseif(name MATCHES "\\.svg$")
    set(type "image/svg+xml")
  else()
    set(type "application/octet-stream")
  endif()
  string(APPEND entries "      {\"/${name}\", \"${type}\", {file${index}, ${size}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Made by cmake/EmbedFiles.cmake from resources/server; do not edit.
#include \"server/ControlPage.h\"

namespace orvane::server {

namespace {
${arrays}}  // namespace

std::span<const ControlPage::File> ControlPage::files() {
  static const File files[] = {
${entries}  };
  return files;
}

}  // namespace orvane::server
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
