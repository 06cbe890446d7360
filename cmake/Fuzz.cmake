# libFuzzer targets for every parser of outside input (clang only). Each
# target compiles the few sources it exercises, so the fuzz build stays small;
# `make fuzz` builds them in their own build folder and runs each in turn.
set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
add_custom_target(fuzzers)

function(tolvane_fuzzer name)
  cmake_parse_arguments(FUZZ "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name}_fuzz tests/fuzz/${name}_fuzz.cpp ${FUZZ_SOURCES})
  target_include_directories(${name}_fuzz PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${name}_fuzz PRIVATE ${FUZZ_FLAGS})
  target_link_options(${name}_fuzz PRIVATE ${FUZZ_FLAGS})
  target_link_libraries(${name}_fuzz PRIVATE ${FUZZ_LIBS})
  add_dependencies(fuzzers ${name}_fuzz)
endfunction()

tolvane_fuzzer(text_codec SOURCES storage/text_codec.cpp LIBS PkgConfig::GLIB)
tolvane_fuzzer(address SOURCES browser/address_resolution.cpp platform/uri.cpp platform/gtk/uri.cpp LIBS PkgConfig::GLIB)
tolvane_fuzzer(launch_address SOURCES app/launch_address.cpp platform/uri.cpp platform/gtk/uri.cpp LIBS PkgConfig::GLIB)
tolvane_fuzzer(download_names SOURCES downloads/download_names.cpp)
tolvane_fuzzer(toast_markup SOURCES downloads/toast_notifications.cpp LIBS PkgConfig::PUGIXML)
tolvane_fuzzer(markup SOURCES ${TOLVANE_UI_SOURCES} LIBS PkgConfig::PUGIXML)
tolvane_fuzzer(desktop_entry SOURCES platform/gtk/secondary_tiles_gtk.cpp platform/gtk/bundle_gtk.cpp
  platform/po_resources.cpp
  LIBS tolvane_bundle PkgConfig::GLIB)
tolvane_fuzzer(bridge_message SOURCES platform/gtk/bridge_channel.cpp LIBS PkgConfig::WEBKIT PkgConfig::GTK4 PkgConfig::GLIB)
