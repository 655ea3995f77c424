# The portable core: rules and text forms that include no Windows header. Built by the
# host compiler for the native tests and benchmarks, and into the Windows program.
set(QM_CORE_SOURCES
    src/core/display_width.cpp
    src/core/display_width_table.cpp
    src/core/text_encoding.cpp
    src/core/unicode_stream.cpp
    src/errors/app_error.cpp
    src/errors/error_message.cpp
    src/errors/error_log.cpp
    src/engine/line_rules.cpp
    src/engine/spaces_number.cpp
    src/engine/text_stream.cpp
    src/engine/whole_text.cpp
    src/run/path_text.cpp
    src/run/trim_spaces.cpp
    src/settings/setting_forms.cpp
)
