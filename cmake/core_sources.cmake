# The portable core: rules and text forms that include no Windows header. Built by the
# host compiler for the native tests and benchmarks, and into the Windows program.
set(QM_CORE_SOURCES
    src/errors/app_error.cpp
    src/errors/error_message.cpp
    src/run/path_text.cpp
)
