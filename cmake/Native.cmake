# Host build of the platform-free code, under AddressSanitizer and UBSan.
find_package(GTest REQUIRED)

set(LUMI_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_library(lumi_pure STATIC ${LUMI_PURE})
target_include_directories(lumi_pure PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(lumi_pure PUBLIC ${LUMI_SANITIZE})
target_link_options(lumi_pure PUBLIC ${LUMI_SANITIZE})
lumi_strict(lumi_pure)

add_executable(native_tests ${LUMI_NATIVE_TESTS})
target_link_libraries(native_tests PRIVATE lumi_pure GTest::gtest GTest::gtest_main)
lumi_strict(native_tests)
add_test(NAME native_tests COMMAND native_tests)
