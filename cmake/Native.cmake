# Host build of the platform-free code, under AddressSanitizer and UBSan.
find_package(GTest REQUIRED)

set(LUMI_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_compile_options(${LUMI_SANITIZE})
add_link_options(${LUMI_SANITIZE})

lumi_subsystem_libraries(_pure PURE)
add_executable(native_tests ${LUMI_NATIVE_TESTS})
target_link_libraries(native_tests PRIVATE ${LUMI_LIBRARIES} GTest::gtest GTest::gtest_main)
lumi_strict(native_tests)
add_test(NAME native_tests COMMAND native_tests)
set_tests_properties(native_tests PROPERTIES TIMEOUT 120)

# Every include follows the arrows the libraries are linked along.
add_test(NAME layering COMMAND ${CMAKE_COMMAND} -DLUMI_ROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake)
set_tests_properties(layering PROPERTIES TIMEOUT 60)
