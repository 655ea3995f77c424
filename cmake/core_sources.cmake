# The portable core: rules and text forms that include no Windows header. Built by the
# host compiler for the native tests and benchmarks, and into the Windows program.
set(QM_CORE_SOURCES
    src/core/app_error.cpp
    src/core/error_message.cpp
    src/core/line_rules.cpp
    src/core/spaces_number.cpp
    src/core/whole_text.cpp
    src/core/path_text.cpp
    src/core/own_file_names.cpp
    src/core/setting_forms.cpp
    src/core/display_width.cpp
    src/core/display_width_table.cpp
    src/core/text_encoding.cpp
    src/core/ansi_chunks.cpp
    src/core/utf8_chunks.cpp
    src/core/wildcard.cpp
    src/core/tab_stops.cpp
    src/core/text_units.cpp
    src/core/converter.cpp
)
