# The tests of the portable core, built natively and for Windows.
set(QM_RULE_TESTS
    ${CMAKE_SOURCE_DIR}/tests/native/line_rules_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/randomized_rules_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/text_stream_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/spaces_number_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/path_text_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/error_text_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/setting_forms_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/display_width_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/native/unicode_stream_test.cpp
)
