# Writes a C++ source holding files as a null-ended array of name/text pairs, exported under
# SYMBOL: how the module carries its resource script, as a resource compiler would link it in.
# Usage: cmake -DOUTPUT=... -DSYMBOL=... -DFILES="a|b" -P EmbedFiles.cmake
string(REPLACE "|" ";" FILES "${FILES}")
set(body "")
set(entries "")
set(index 0)
foreach(file IN LISTS FILES)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  get_filename_component(name "${file}" NAME)
  string(APPEND body "static const unsigned char file${index}[] = {${bytes}0x00};\n")
  string(APPEND entries "    \"${name}\", reinterpret_cast<const char*>(file${index}),\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from the module's resource files; do not edit.\n${body}\nextern \"C\" __attribute__((visibility(\"default\"))) const char* const ${SYMBOL}[] = {\n${entries}    nullptr, nullptr};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
