# The tests of the portable core, built natively and for Windows.
set(QM_RULE_TESTS
    ${CMAKE_SOURCE_DIR}/tests/core/line_rules_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/randomized_rules_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/text_stream_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/spaces_number_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/path_text_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/own_file_names_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/error_text_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/setting_forms_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/twips_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/display_width_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/unicode_stream_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/core/converter_modes_test.cpp
)
